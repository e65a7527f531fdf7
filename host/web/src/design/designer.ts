import type { Engine } from '../engine';
import { ownerAt } from '../pixel_link';
import type { DesignControl, DesignDocument, DesignObject, EditAnswer } from './design_api';
import { applyEdits, type DesignService } from './design_service';
import type { Drawn, DesignOverlay } from './overlay';
import { movingOf, snapDrag, type Box, type Guides } from './snapping';

// Design on the display: the selection of the device's file on show and the edits that
// move, resize, insert, remove and duplicate its objects, each applied to the document as
// one step. While anything is selected the file on show is held, as Loop holds it. A drag
// shows its outline at every pointer move and the device's picture at least every
// PREVIEW_MS: the edit is made to a copy of the text, which the device, powered on afresh
// with that file, shows without a trail. The drop applies the whole drag as one step.

export const PREVIEW_MS = 50;

// What the designer asks of the page around it.
export interface DesignPage {
  paused(): boolean;
  shown(): void; // paints the device's picture
  has(name: string): boolean; // the folder holds the file
  confirm(question: string): boolean;
}

interface Drag {
  file: string;
  line: number;
  handle: string; // "move" or a handle's name
  lines: number[]; // what moves
  text: string; // the text before the drag
  start: DesignObject[]; // the moving objects before the drag
  others: Box[];
  answer: EditAnswer | null;
  scratch: string | null;
  boxes: Drawn[];
  guides: Guides;
}

const noGuides = (): Guides => ({ x: [], y: [] });

// The box an object is placed and sized by: its first part (a compass's letters may wrap
// to the panel's other side, which the whole box then spans).
const mainBox = (object: DesignObject): Box => object.parts[0] ?? object.box;
const drawnOf = (object: DesignObject): Drawn => ({ box: mainBox(object), parts: object.parts, handles: object.handles });

// Whether panel pixel (x, y) lies in the object's box (in one of its parts, for a text
// that wraps).
const holds = (object: DesignObject, x: number, y: number): boolean =>
  (object.parts.length > 0 ? object.parts : [object.box]).some(
    ([left, top, right, bottom]) => x >= left && x < right && y >= top && y < bottom,
  );

export class Designer implements DesignControl {
  private selected: number[] = [];
  private heldFile = '';
  private readonly listeners = new Set<(lines: number[]) => void>();
  private dragging: Drag | null = null;
  private previewTimer: number | null = null;
  private lastPreview = 0;
  grid = false;

  constructor(
    private readonly engine: Engine,
    private readonly doc: DesignDocument & { undo?(): void; redo?(): void },
    private readonly service: DesignService,
    private readonly overlay: DesignOverlay,
    private readonly page: DesignPage,
  ) {
    doc.onCursor((name, line) => {
      if (name !== this.file) return;
      const drawn = this.objects().some((object) => object.line === line);
      if (drawn && !this.selected.includes(line)) this.setSelection([line]);
      else if (!drawn && this.selected.length > 0) this.setSelection([]);
    });
  }

  get file(): string {
    return this.engine.replyText(this.engine.call('file_on_show'));
  }

  objects(): DesignObject[] {
    const file = this.file;
    return this.service.objects(file, this.doc.text(file));
  }

  selection(): number[] {
    return [...this.selected];
  }

  // Selects object lines of the file on show (others are left out) and puts the editor's
  // cursor on the first.
  select(lines: number[]): void {
    const drawn = new Set(lines.length > 0 ? this.objects().map((object) => object.line) : []);
    const chosen = [...new Set(lines)].filter((line) => drawn.has(line));
    this.setSelection(chosen);
    if (chosen.length > 0) this.doc.reveal(this.file, chosen[0]);
  }

  onSelection(listener: (lines: number[]) => void): void {
    this.listeners.add(listener);
  }

  // The object line that pixel (x, y) selects: the instrument that drew it, else the
  // topmost live instrument whose box holds it, else the picture's line; or null.
  pick(x: number, y: number): number | null {
    const file = this.file;
    const objects = this.objects();
    const owner = ownerAt(this.engine, x, y);
    if (owner.kind === 'line' && owner.file === file) {
      const drew = objects.find((object) => object.line === owner.line);
      if (drew && drew.keyword !== 'image') return drew.line;
    }
    const topmost = (pictures: boolean): DesignObject | undefined =>
      [...objects].reverse().find((o) => o.live && (o.keyword === 'image') === pictures && holds(o, x, y));
    const found = topmost(false) ?? topmost(true);
    if (found) return found.line;
    // A pixel another file drew before this one loaded shows that file's line.
    if (owner.kind === 'line' && owner.file !== file && this.page.has(owner.file)) this.doc.reveal(owner.file, owner.line);
    return null;
  }

  // The selected object whose box holds panel pixel (x, y), the topmost; or null.
  selectedAt(x: number, y: number): number | null {
    if (this.selected.length === 0) return null;
    const hit = this.objects()
      .reverse()
      .find((object) => this.selected.includes(object.line) && holds(object, x, y));
    return hit?.line ?? null;
  }

  // A click at panel pixel (x, y); `add` (Shift) adds the object to the selection or takes
  // it out again.
  click(x: number, y: number, add: boolean): void {
    const line = this.pick(x, y);
    if (line === null) {
      if (!add) this.setSelection([]);
      return;
    }
    if (!add) this.select(this.selected.includes(line) ? this.selected : [line]);
    else if (this.selected.includes(line)) this.setSelection(this.selected.filter((l) => l !== line));
    else this.select([...this.selected, line]);
  }

  // Tab: the next object on show after the selection (the previous with `back`).
  step(back: boolean): void {
    const lines = this.objects()
      .filter((object) => object.live)
      .map((object) => object.line);
    if (lines.length === 0) return;
    const from = this.selected.length ? this.selected[back ? 0 : this.selected.length - 1] : back ? Infinity : -Infinity;
    const next = back ? [...lines].reverse().find((line) => line < from) : lines.find((line) => line > from);
    this.select([next ?? (back ? lines[lines.length - 1] : lines[0])]);
  }

  // The handles the selection offers: those of a single selected object.
  handles(): { line: number; box: Box; handles: string[] } | null {
    if (this.selected.length !== 1) return null;
    const object = this.objects().find((o) => o.line === this.selected[0]);
    return object ? { line: object.line, box: mainBox(object), handles: object.handles } : null;
  }

  // Starts a drag of `line` by `handle`: a move takes the whole selection when the line is
  // in it.
  beginDrag(line: number, handle: string): void {
    this.finishPreview();
    const file = this.file;
    const text = this.doc.text(file);
    const objects = this.service.objects(file, text);
    const lines = handle === 'move' && this.selected.includes(line) ? this.selected : [line];
    const start = objects.filter((object) => lines.includes(object.line));
    const others = objects.filter((o) => o.live && !lines.includes(o.line)).map(mainBox);
    this.dragging = {
      file, line, handle, lines: [...lines], text, start, others, answer: null, scratch: null,
      boxes: start.map(drawnOf), guides: noGuides(),
    };
  }

  get inDrag(): boolean {
    return this.dragging !== null;
  }

  // The pointer is (dx, dy) panel pixels from where the drag began: the outline follows at
  // once, the device's picture within PREVIEW_MS.
  dragTo(dx: number, dy: number, snap: boolean): void {
    const drag = this.dragging;
    if (!drag) return;
    let guides = noGuides();
    if (snap && drag.start.length > 0) {
      const boxes = drag.start.map(mainBox);
      const union: Box = [
        Math.min(...boxes.map((b) => b[0])), Math.min(...boxes.map((b) => b[1])),
        Math.max(...boxes.map((b) => b[2])), Math.max(...boxes.map((b) => b[3])),
      ];
      const first = boxes[0];
      const point: [number, number] = drag.start[0].centred
        ? [(first[0] + first[2] - 1) / 2, (first[1] + first[3] - 1) / 2]
        : [first[0], first[1]];
      const snapped = snapDrag(union, movingOf(drag.handle), dx, dy, drag.others, this.grid, point);
      ({ dx, dy, guides } = snapped);
    }
    const answer = this.question(drag, dx, dy);
    drag.guides = guides;
    if (answer.refusal) return this.redraw();
    drag.answer = answer;
    drag.scratch = applyEdits(drag.text, answer.edits ?? []);
    const after = this.service.objects(drag.file, drag.scratch);
    drag.boxes = after.filter((o) => drag.lines.includes(o.line)).map(drawnOf);
    this.redraw();
    this.schedulePreview();
  }

  // The drop: the whole drag as one step of the document.
  endDrag(): string | undefined {
    const drag = this.dragging;
    if (!drag) return undefined;
    this.dragging = null;
    this.finishPreview();
    if (!drag.answer || (drag.answer.edits ?? []).length === 0) {
      this.restoreDevice(drag);
      this.redraw();
      return undefined;
    }
    return this.applyAnswer(drag.answer);
  }

  cancelDrag(): void {
    const drag = this.dragging;
    if (!drag) return;
    this.dragging = null;
    this.finishPreview();
    this.restoreDevice(drag);
    this.redraw();
  }

  drag(line: number, handle: string, dx: number, dy: number): string | undefined {
    this.beginDrag(line, handle);
    const answer = this.question(this.dragging!, dx, dy);
    this.dragging = null;
    return this.applyAnswer(answer);
  }

  // Arrow keys: the selection moves by (dx, dy).
  nudge(dx: number, dy: number): string | undefined {
    if (this.selected.length === 0) return undefined;
    const file = this.file;
    return this.applyAnswer(this.service.move(file, this.doc.text(file), this.selected, dx, dy));
  }

  insert(keyword: string, x: number, y: number, text?: string): string | undefined {
    const file = this.file;
    return this.applyAnswer(this.service.insert(file, this.doc.text(file), keyword, x, y, text));
  }

  remove(lines: number[]): string | undefined {
    const file = this.file;
    return this.applyAnswer(this.service.remove(file, this.doc.text(file), lines));
  }

  duplicate(lines: number[]): string | undefined {
    const file = this.file;
    return this.applyAnswer(this.service.duplicate(file, this.doc.text(file), lines));
  }

  applyAnswer(answer: EditAnswer): string | undefined {
    if (answer.refusal) return answer.refusal;
    if (answer.warning && !this.page.confirm(`${answer.warning}\n\nMake the change?`))
      return 'not made: the change was declined';
    const file = this.file;
    this.doc.apply(file, answer);
    const map = answer.lineMap ?? [];
    const followed = answer.added?.length
      ? answer.added.map((line) => line + 1)
      : this.selected.map((line) => (map[line - 1] ?? line - 1) + 1).filter((line) => line >= 1);
    this.showAfresh(file);
    this.select(followed);
    return undefined;
  }

  undo(): void {
    this.doc.undo?.();
    this.afterUndo();
  }

  redo(): void {
    this.doc.redo?.();
    this.afterUndo();
  }

  // After an undo or redo, wherever it was asked for: the picture starts afresh, and the
  // selection keeps only lines that still draw.
  afterUndo(): void {
    if (this.dragging) return;
    this.showAfresh(this.file);
    this.setSelection(this.selected.filter((line) => this.objects().some((o) => o.line === line)));
  }

  // Called after each paint of the display: a new file on show ends the selection.
  painted(): void {
    if (this.selected.length > 0 && this.file !== this.heldFile) this.setSelection([]);
    else this.redraw();
  }

  redraw(): void {
    const drag = this.dragging;
    let boxes: Drawn[] = [];
    if (drag) boxes = drag.boxes;
    else if (this.selected.length > 0)
      boxes = this.objects()
        .filter((o) => this.selected.includes(o.line))
        .map(drawnOf);
    this.overlay.draw({ boxes, guides: drag?.guides ?? noGuides(), grid: this.grid });
  }

  private question(drag: Drag, dx: number, dy: number): EditAnswer {
    return drag.handle === 'move'
      ? this.service.move(drag.file, drag.text, drag.lines, dx, dy)
      : this.service.resize(drag.file, drag.text, drag.line, drag.handle, dx, dy);
  }

  private setSelection(lines: number[]): void {
    const same = lines.length === this.selected.length && lines.every((line, i) => line === this.selected[i]);
    this.selected = lines;
    const hold = lines.length > 0;
    if (hold !== (this.heldFile !== '')) this.engine.call('hold_shown', hold ? 1 : 0);
    this.heldFile = hold ? this.file : '';
    this.redraw();
    if (!same) for (const listener of this.listeners) listener(this.selection());
  }

  private schedulePreview(): void {
    if (this.previewTimer !== null) return;
    const wait = Math.max(0, this.lastPreview + PREVIEW_MS - performance.now());
    this.previewTimer = window.setTimeout(() => {
      this.previewTimer = null;
      const drag = this.dragging;
      if (!drag?.scratch) return;
      this.lastPreview = performance.now();
      this.engine.putFile(drag.file, drag.scratch);
      this.showAfresh(drag.file);
    }, wait);
  }

  private finishPreview(): void {
    if (this.previewTimer !== null) window.clearTimeout(this.previewTimer);
    this.previewTimer = null;
  }

  // The device's folder and the service take the text before the drag again.
  private restoreDevice(drag: Drag): void {
    this.service.objects(drag.file, drag.text);
    if (drag.scratch === null) return;
    this.engine.putFile(drag.file, drag.text);
    this.showAfresh(drag.file);
  }

  // A new device, overrides kept, showing `file` at once; a paused one runs that frame.
  private showAfresh(file: string): void {
    this.engine.withText(file, (pointer, length) => this.engine.call('show_afresh', pointer, length));
    if (this.page.paused()) this.engine.runFrames(1);
    this.page.shown();
  }
}
