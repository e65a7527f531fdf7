import { PANEL_SIZE } from '../engine';
import type { Designer } from './designer';
import { HANDLE_REACH, handlePoint, type DesignOverlay } from './overlay';

// The pointer and the keys on the display. A press on a handle of the one selected object
// resizes it, a press on a selected object's box moves the selection, a press anywhere
// else selects what is under it first and moves that; Shift+click adds to the selection.
// The display takes the keys while it has the focus; the editor keeps its own.

// Pointer travel, in CSS pixels, before a press becomes a drag.
const DRAG_THRESHOLD = 3;

export function designInput(canvas: HTMLCanvasElement, designer: Designer, overlay: DesignOverlay): void {
  canvas.tabIndex = 0;
  let press: { x: number; y: number; id: number; line: number; handle: string; moved: boolean } | null = null;

  // The panel pixel of a client point, fractional and not clamped to the panel.
  const panelPoint = (clientX: number, clientY: number): [number, number] => {
    const { scale, left, top } = overlay.geometry();
    return [(clientX - left) / scale, (clientY - top) / scale];
  };

  const handleAt = (clientX: number, clientY: number): { line: number; handle: string } | null => {
    const selected = designer.handles();
    if (!selected) return null;
    const { scale, left, top } = overlay.geometry();
    for (const handle of selected.handles) {
      const [x, y] = handlePoint(selected.box, handle);
      if (Math.abs(left + x * scale - clientX) <= HANDLE_REACH && Math.abs(top + y * scale - clientY) <= HANDLE_REACH)
        return { line: selected.line, handle };
    }
    return null;
  };

  canvas.addEventListener('pointerdown', (event) => {
    // The press itself gives the display the focus (it has a tab index), without the
    // focus ring that a focus() from here would draw.
    if (event.button !== 0) return;
    const handle = handleAt(event.clientX, event.clientY);
    let target = handle;
    if (!target) {
      const [x, y] = panelPoint(event.clientX, event.clientY).map(Math.floor);
      if (x < 0 || y < 0 || x >= PANEL_SIZE || y >= PANEL_SIZE) return;
      let line = event.shiftKey ? null : designer.selectedAt(x, y);
      if (line === null) {
        designer.click(x, y, event.shiftKey);
        if (event.shiftKey) return;
        line = designer.selection().length > 0 ? designer.pick(x, y) : null;
        if (line === null || !designer.selection().includes(line)) return;
      }
      target = { line, handle: 'move' };
    }
    // No preventDefault here: the press's own mouse events give the display the focus.
    canvas.setPointerCapture(event.pointerId);
    press = { x: event.clientX, y: event.clientY, id: event.pointerId, ...target, moved: false };
  });

  canvas.addEventListener('pointermove', (event) => {
    if (!press || event.pointerId !== press.id) return;
    if (!press.moved) {
      if (Math.hypot(event.clientX - press.x, event.clientY - press.y) < DRAG_THRESHOLD) return;
      press.moved = true;
      designer.beginDrag(press.line, press.handle);
    }
    const { scale } = overlay.geometry();
    const dx = Math.round((event.clientX - press.x) / scale);
    const dy = Math.round((event.clientY - press.y) / scale);
    designer.dragTo(dx, dy, !event.altKey);
  });

  const release = (event: PointerEvent, drop: boolean): void => {
    if (!press || event.pointerId !== press.id) return;
    const moved = press.moved;
    press = null;
    if (!moved) return;
    if (drop) designer.endDrag();
    else designer.cancelDrag();
  };
  canvas.addEventListener('pointerup', (event) => release(event, true));
  canvas.addEventListener('pointercancel', (event) => release(event, false));

  canvas.addEventListener('keydown', (event) => {
    const control = event.ctrlKey || event.metaKey;
    const arrows: Record<string, [number, number]> = {
      ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1],
    };
    const arrow = arrows[event.key];
    let handled = true;
    if (arrow && !control) {
      const step = event.shiftKey ? 8 : 1;
      report(designer.nudge(arrow[0] * step, arrow[1] * step));
    } else if (event.key === 'Delete' || event.key === 'Backspace') {
      report(designer.remove(designer.selection()));
    } else if (control && event.key.toLowerCase() === 'd') {
      report(designer.duplicate(designer.selection()));
    } else if (control && (event.key.toLowerCase() === 'y' || (event.key.toLowerCase() === 'z' && event.shiftKey))) {
      designer.redo();
    } else if (control && event.key.toLowerCase() === 'z') {
      designer.undo();
    } else if (event.key === 'Tab' && designer.objects().length > 0) {
      designer.step(event.shiftKey);
    } else if (event.key === 'Escape') {
      if (designer.inDrag) {
        press = null;
        designer.cancelDrag();
      } else designer.select([]);
    } else if (event.key.toLowerCase() === 'g' && !control && !event.altKey) {
      designer.grid = !designer.grid;
      designer.redraw();
    } else handled = false;
    if (handled) event.preventDefault();
  });

  // A refusal (the eleventh object, a number past 32 bits) is said where the display is.
  const report = (refusal: string | undefined): void => {
    canvas.title = refusal ? `Not done: ${refusal}` : '';
    if (refusal) canvas.dispatchEvent(new CustomEvent('design-refused', { detail: refusal, bubbles: true }));
  };
}
