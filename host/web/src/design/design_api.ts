import type { BytePosition } from '../language';

// What design on the picture shares between its parts and its hosts. The language service
// answers in 0-based lines and byte columns; everything here that names a line of a file
// counts from 1, as lineAt, the readings and the editor's gutter do.

// One text edit, as the language service gives it.
export interface ServiceEdit {
  from: BytePosition;
  to: BytePosition;
  text: string;
}

// The language service's answer to a design question that edits: the edits, the line map
// (old 0-based line to new, -1 for a removed line), the added lines and a warning, or, when
// it is refused, only the reason.
export interface EditAnswer {
  edits?: ServiceEdit[];
  lineMap?: number[];
  added?: number[];
  warning?: string;
  refusal?: string;
}

// An object line of a file with its box on the panel, as the service lists it. Boxes are
// [left, top, right, bottom] in panel pixels, right and bottom exclusive.
export interface DesignObject {
  keyword: string;
  line: number; // 1-based
  box: [number, number, number, number];
  parts: [number, number, number, number][];
  tight: boolean;
  live: boolean; // among the first ten objects, so drawn
  centred: boolean; // placed by its centre (a round instrument)
  place: number[]; // the fields that place it
  size: number[]; // the fields that size it
  handles: string[]; // the resize handles it offers; none for a picture
  colours: number[]; // 1-based lines of the colour lines that act on it
}

// The text a manipulation edits, as its host holds it: the page's editor, or a document of
// an IDE through the preview's messages. Each call to apply() is one step of the host's
// undo history, and leaves the file unsaved as typing does.
export interface DesignDocument {
  // The text of `name` as the host holds it, unsaved edits included.
  text(name: string): string;
  // Applies the answer's edits to `name` as one undo step. The line map travels with them,
  // so that what is kept per line (reading overrides) follows, and returns on undo.
  apply(name: string, answer: EditAnswer): void;
  // Puts the host's cursor on line `line` of `name`, opening that file when needed.
  reveal(name: string, line: number): void;
  // Calls back whenever the host's cursor moves onto a line of a file.
  onCursor(listener: (name: string, line: number) => void): void;
}

// What the palette, the property panel and the hosts' scripting ask of design on the
// display. The file it works on is always the device's file on show.
export interface DesignControl {
  readonly file: string;
  objects(): DesignObject[];
  selection(): number[];
  select(lines: number[]): void;
  onSelection(listener: (lines: number[]) => void): void;
  // Each returns the refusal's reason, or undefined when the edit was applied.
  drag(line: number, handle: string, dx: number, dy: number): string | undefined;
  insert(keyword: string, x: number, y: number, text?: string): string | undefined;
  remove(lines: number[]): string | undefined;
  duplicate(lines: number[]): string | undefined;
  // Applies an answer from any other design question (a field, a colour) the same way.
  applyAnswer(answer: EditAnswer): string | undefined;
}
