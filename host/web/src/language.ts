import type { Text } from '@codemirror/state';

import type { Engine } from './engine';

// The language service in the device's module, as the editor asks it. The service counts
// 0-based lines and byte columns of UTF-8; the editor counts UTF-16 offsets into its
// document. Both split lines at LF, CR LF and a lone CR, so only columns need converting.

export type BytePosition = [line: number, column: number];
interface Ranged {
  from: BytePosition;
  to: BytePosition;
}
export interface ServiceFix extends Ranged {
  title: string;
  text: string;
}
export interface ServiceDiagnostic extends Ranged {
  severity: 'error' | 'warning' | 'info';
  code: string;
  message: string;
  fix?: ServiceFix;
}
export interface ServiceHover extends Ranged {
  markdown: string;
}
export interface ServiceCompletion extends Ranged {
  label: string;
  kind: 'keyword' | 'file';
  detail: string;
  documentation: string;
  snippet: string; // with ${1:name} placeholders, or empty
  text: string;
}
export interface ServiceColour extends Ranged {
  rgb565: number;
  rgb: [number, number, number]; // 0..1, as the device shows the field
}
export interface ServiceSymbol extends Ranged {
  name: string;
  detail: string;
  nameFrom: BytePosition;
  nameTo: BytePosition;
}

// The UTF-8 length of the UTF-16 code unit at `i` of `text`, and how many units it takes.
// A lone surrogate is written as U+FFFD, three bytes, as TextEncoder writes it.
function unitAt(text: string, i: number): [bytes: number, units: number] {
  const code = text.charCodeAt(i);
  if (code < 0x80) return [1, 1];
  if (code < 0x800) return [2, 1];
  if (code >= 0xd800 && code <= 0xdbff) {
    const next = text.charCodeAt(i + 1);
    if (next >= 0xdc00 && next <= 0xdfff) return [4, 2];
  }
  return [3, 1];
}

// The UTF-16 index in `line` that byte column `column` names. A column inside a character
// goes to that character's start; one past the end goes to the end.
export function unitsOfBytes(line: string, column: number): number {
  let bytes = 0;
  let i = 0;
  while (i < line.length) {
    const [b, u] = unitAt(line, i);
    if (bytes + b > column) break;
    bytes += b;
    i += u;
  }
  return i;
}

// The byte column of UTF-16 index `index` in `line`.
export function bytesOfUnits(line: string, index: number): number {
  let bytes = 0;
  for (let i = 0; i < index && i < line.length; ) {
    const [b, u] = unitAt(line, i);
    bytes += b;
    i += u;
  }
  return bytes;
}

// The document offset of a service position; a line past the end clamps to the end.
export function offsetOf(doc: Text, [line, column]: BytePosition): number {
  if (line < 0) return 0;
  if (line >= doc.lines) return doc.length;
  const found = doc.line(line + 1);
  return found.from + unitsOfBytes(found.text, column);
}

export function positionOf(doc: Text, offset: number): BytePosition {
  const found = doc.lineAt(offset);
  return [found.number - 1, bytesOfUnits(found.text, offset - found.from)];
}

export class Language {
  private sent: { name: string; doc: Text | null; text: string } | null = null;
  // The line end the editor writes between lines, which the service sees as the file's.
  lineBreak = '\n';

  constructor(private readonly engine: Engine) {}

  // Hands the editor's text of `name` to the service, once per version of the document:
  // CodeMirror's documents never change, so a document already sent is the same text.
  sync(name: string, doc: Text): void {
    if (this.sent && this.sent.name === name && this.sent.doc === doc) return;
    this.syncText(name, doc.sliceString(0, doc.length, this.lineBreak), doc);
  }

  // Hands `text` over as the text of `name`, unless it is the text the service has.
  syncText(name: string, text: string, doc: Text | null = null): void {
    if (this.sent && this.sent.name === name && this.sent.text === text) {
      this.sent.doc = doc;
      return;
    }
    this.withName(name, (pointer, length) =>
      this.engine.withText(text, (at, size) => this.engine.call('lang_set_text', pointer, length, at, size)),
    );
    this.sent = { name, doc, text };
  }

  // The service reads `name` from the folder again, as the device does.
  forget(name: string): void {
    this.withName(name, (pointer, length) => this.engine.call('lang_forget', pointer, length));
    if (this.sent?.name === name) this.sent = null;
  }

  diagnostics(name: string): ServiceDiagnostic[] {
    return this.ask(name, 'lang_diagnostics') as ServiceDiagnostic[];
  }

  hover(name: string, [line, column]: BytePosition): ServiceHover | null {
    return this.ask(name, 'lang_hover', line, column) as ServiceHover | null;
  }

  completions(name: string, [line, column]: BytePosition): ServiceCompletion[] {
    return this.ask(name, 'lang_completions', line, column) as ServiceCompletion[];
  }

  colours(name: string): ServiceColour[] {
    return this.ask(name, 'lang_colours') as ServiceColour[];
  }

  symbols(name: string): ServiceSymbol[] {
    return this.ask(name, 'lang_symbols') as ServiceSymbol[];
  }

  // The field value for a picked colour, channels 0..1.
  rgb565ForPick(red: number, green: number, blue: number): number {
    return this.engine.call('rgb565_for_pick', red, green, blue);
  }

  private ask(name: string, call: string, ...numbers: number[]): unknown {
    return this.withName(name, (pointer, length) =>
      JSON.parse(this.engine.replyText(this.engine.call(call, pointer, length, ...numbers))),
    );
  }

  private withName<T>(name: string, use: (pointer: number, length: number) => T): T {
    return this.engine.withText(name, use);
  }
}
