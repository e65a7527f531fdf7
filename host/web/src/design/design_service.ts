import type { Engine } from '../engine';
import { unitsOfBytes, type Language } from '../language';
import type { DesignObject, EditAnswer, ServiceEdit } from './design_api';

// The language service's design questions, as the page asks them. The service answers
// about the text it was handed last for a file, so each question hands the text over first
// through the editor's Language, which sends it only when it changed. Lines go in and come out 1-based here, as the page counts them;
// the service counts from 0. Edit answers stay as the service gives them (0-based).

type ServiceObject = Omit<DesignObject, 'line' | 'colours'> & { line: number; colours: number[] };

export class DesignService {
  // The last objects answer, as the service's text, for the text it was about: asked again
  // and again (each paint, the palette, the property panel), a file's objects change only
  // with its text or with another file of the folder (a picture's size).
  private listed: { name: string; text: string; reply: string } | null = null;

  // `kept(name)` says whether the service may keep `name`'s text after a question: the
  // editor's file stays, any other is forgotten again so that the folder's bytes count.
  constructor(
    private readonly engine: Engine,
    private readonly language: Language,
    private readonly kept: (name: string) => boolean,
  ) {}

  // Any file of the folder changed, so the objects are asked for afresh.
  invalidate(): void {
    this.listed = null;
  }

  objects(name: string, text: string): DesignObject[] {
    const listed = this.listed;
    if (!listed || listed.name !== name || listed.text !== text) {
      this.listed = { name, text, reply: this.reply(name, text, (n, nl) => this.engine.call('design_objects', n, nl)) };
    }
    const found = JSON.parse(this.listed!.reply) as ServiceObject[];
    for (const object of found) {
      object.line += 1;
      object.colours = object.colours.map((line) => line + 1);
    }
    return found as DesignObject[];
  }

  move(name: string, text: string, lines: number[], dx: number, dy: number): EditAnswer {
    return this.withLines(lines, (l, ll) =>
      this.ask(name, text, (n, nl) => this.engine.call('design_move', n, nl, l, ll, dx, dy)),
    ) as EditAnswer;
  }

  resize(name: string, text: string, line: number, handle: string, dx: number, dy: number): EditAnswer {
    return this.engine.withText(handle, (h, hl) =>
      this.ask(name, text, (n, nl) => this.engine.call('design_resize', n, nl, line - 1, h, hl, dx, dy)),
    ) as EditAnswer;
  }

  insert(name: string, text: string, keyword: string, x: number, y: number, extra = ''): EditAnswer {
    return this.engine.withText(keyword, (k, kl) =>
      this.engine.withText(extra, (e, el) =>
        this.ask(name, text, (n, nl) => this.engine.call('design_insert', n, nl, k, kl, x, y, e, el)),
      ),
    ) as EditAnswer;
  }

  remove(name: string, text: string, lines: number[]): EditAnswer {
    return this.withLines(lines, (l, ll) =>
      this.ask(name, text, (n, nl) => this.engine.call('design_remove', n, nl, l, ll)),
    ) as EditAnswer;
  }

  duplicate(name: string, text: string, lines: number[], dx = 4, dy = 4): EditAnswer {
    return this.withLines(lines, (l, ll) =>
      this.ask(name, text, (n, nl) => this.engine.call('design_duplicate', n, nl, l, ll, dx, dy)),
    ) as EditAnswer;
  }

  private withLines<T>(lines: number[], use: (pointer: number, length: number) => T): T {
    return this.engine.withText(JSON.stringify(lines.map((line) => line - 1)), use);
  }

  private ask(name: string, text: string, call: (name: number, length: number) => number): unknown {
    return JSON.parse(this.reply(name, text, call)) as unknown;
  }

  // The service's answer, as text, about `text` as the text of `name`.
  private reply(name: string, text: string, call: (name: number, length: number) => number): string {
    this.language.syncText(name, text);
    const answer = this.engine.withText(name, (n, nl) => this.engine.replyText(call(n, nl)));
    if (!this.kept(name)) this.language.forget(name);
    return answer;
  }
}

// `text` with the service's edits made. The service counts lines split at LF, CR LF and a
// lone CR, and columns in UTF-8 bytes; the edits are in order and do not overlap.
export function applyEdits(text: string, edits: ServiceEdit[]): string {
  const starts = [0];
  for (let i = 0; i < text.length; ++i) {
    const c = text.charCodeAt(i);
    if (c === 10 || (c === 13 && text.charCodeAt(i + 1) !== 10)) starts.push(i + 1);
  }
  const lineText = (line: number): string => {
    const end = line + 1 < starts.length ? starts[line + 1] : text.length;
    return text.slice(starts[line], end).replace(/\r?\n$|\r$/, '');
  };
  const offset = ([line, column]: [number, number]): number => {
    if (line < 0) return 0;
    if (line >= starts.length) return text.length;
    return starts[line] + unitsOfBytes(lineText(line), column);
  };
  let out = '';
  let at = 0;
  for (const edit of edits) {
    const from = offset(edit.from);
    out += text.slice(at, from) + edit.text;
    at = offset(edit.to);
  }
  return out + text.slice(at);
}
