import type { Engine } from '../engine';
import type { BytePosition, Language } from '../language';
import type { EditAnswer } from './design_api';

// The property panel's questions of the language service in the device's module: the
// fields of one line as the keyword table describes them, and the edits that write one
// field or one colour. Lines are 0-based here, as the service counts them.

export interface FieldInfo {
  field: number; // 1 the first after the keyword
  name: string;
  unit: string;
  meaning: string;
  kind: 'number' | 'colour' | 'text' | 'picture' | 'config';
  value: string; // the field's text as the line gives it
  present: boolean;
  from: BytePosition;
  to: BytePosition;
}

export interface ColourInfo {
  command: 'SetColor' | 'SetBGColor';
  line: number; // the colour line that sets it, 0-based; -1 for the instrument's own
  rgb565: number;
  rgb: [number, number, number]; // 0..1, as the device shows it
  fixed: string; // why a colour line changes nothing on this instrument; empty when it does
}

export interface LineFields {
  keyword: string; // empty for a line without a keyword
  fields: FieldInfo[];
  colours: ColourInfo[]; // a live instrument's colour and background
}

export class FieldService {
  // Each question hands the service `text(name)`, the text as the page holds it; as the
  // other design questions do, it forgets it again unless `kept(name)`.
  constructor(
    private readonly engine: Engine,
    private readonly language: Language,
    private readonly text: (name: string) => string,
    private readonly kept: (name: string) => boolean,
  ) {}

  fields(file: string, line: number): LineFields {
    return this.ask(file, (name, size) => this.engine.call('design_fields', name, size, line)) as LineFields;
  }

  setField(file: string, line: number, field: number, value: string): EditAnswer {
    return this.ask(file, (name, size) =>
      this.engine.withText(value, (text, length) =>
        this.engine.call('design_set_field', name, size, line, field, text, length),
      ),
    ) as EditAnswer;
  }

  setColour(file: string, line: number, background: boolean, rgb565: number): EditAnswer {
    return this.ask(file, (name, size) =>
      this.engine.call('design_set_colour', name, size, line, background ? 1 : 0, rgb565),
    ) as EditAnswer;
  }

  rgb565ForPick(red: number, green: number, blue: number): number {
    return this.engine.call('rgb565_for_pick', red, green, blue);
  }

  private ask(file: string, call: (name: number, size: number) => number): unknown {
    this.language.syncText(file, this.text(file));
    const answer = JSON.parse(this.engine.withText(file, (name, size) => this.engine.replyText(call(name, size)))) as unknown;
    if (!this.kept(file)) this.language.forget(file);
    return answer;
  }
}
