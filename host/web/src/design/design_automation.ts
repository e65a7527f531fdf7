import type { DesignObject } from './design_api';
import type { Designer } from './designer';

// window.orvanta's design calls: the same edits the pointer and the keys make, each one
// step of the editor's history. They exist from the moment window.orvanta does, since the
// page sets it only once the editor is up. An edit that is refused throws an Error with the
// reason.
export interface DesignAutomation {
  objects(): DesignObject[];
  select(lines: number[]): number[];
  selection(): number[];
  drag(line: number, handle: string, dx: number, dy: number): void;
  insert(keyword: string, x: number, y: number, text?: string): number[];
  remove(lines: number[]): void;
  duplicate(lines: number[]): number[];
  // A file's bytes as the page holds them, unsaved edits included.
  text(name: string): Uint8Array;
}

const whole = (value: number, what: string): number => {
  if (!Number.isInteger(value) || value < -0x80000000 || value > 0x7fffffff)
    throw new RangeError(`${what} is a whole number within 32 bits`);
  return value;
};

const lineList = (lines: number[]): number[] => {
  if (!Array.isArray(lines)) throw new TypeError('lines is an array of line numbers');
  return lines.map((line) => whole(line, 'a line'));
};

export function designAutomation(designer: Designer, bytes: (name: string) => Uint8Array): DesignAutomation {
  const done = (refusal: string | undefined): void => {
    if (refusal !== undefined) throw new Error(refusal);
  };
  return {
    objects: () => designer.objects(),
    select(lines) {
      designer.select(lineList(lines));
      return designer.selection();
    },
    selection: () => designer.selection(),
    drag(line, handle, dx, dy) {
      done(designer.drag(whole(line, 'line'), String(handle), whole(dx, 'dx'), whole(dy, 'dy')));
    },
    insert(keyword, x, y, extra) {
      done(designer.insert(String(keyword), whole(x, 'x'), whole(y, 'y'), extra === undefined ? undefined : String(extra)));
      return designer.selection();
    },
    remove(lines) {
      done(designer.remove(lineList(lines)));
    },
    duplicate(lines) {
      done(designer.duplicate(lineList(lines)));
      return designer.selection();
    },
    text: (name) => bytes(String(name)),
  };
}
