import type { Display } from './display';
import type { Editor } from './editor';
import { PANEL_SIZE, type Engine } from './engine';

// Pixel and line, both ways: the line that drew a pixel of the panel (design's click shows
// it in the editor), and the line with the editor's cursor has its pixels outlined.
// The outline is drawn on the canvas over the picture, never into the device's surface.

interface Owner {
  kind: 'none' | 'fps' | 'line';
  file: string;
  line: number;
  keyword: string;
}

export function ownerAt(engine: Engine, x: number, y: number): Owner {
  return JSON.parse(engine.replyText(engine.call('owner_at', x, y))) as Owner;
}

// The pixels line `line` (1-based) of `file` owns now, as one bit per panel pixel.
function pixelsOfLine(engine: Engine, file: string, line: number): Uint8Array {
  const owned = new Uint8Array(PANEL_SIZE * PANEL_SIZE);
  const pairs = engine.withText(file, (pointer, length) =>
    engine.replyBytes(engine.call('pixels_of_line', pointer, length, line)),
  );
  for (let i = 0; i + 1 < pairs.length; i += 2) owned[pairs[i + 1] * PANEL_SIZE + pairs[i]] = 1;
  return owned;
}

// The panel pixel under a pointer event, or null off the panel.
export function pixelOf(canvas: HTMLCanvasElement, event: MouseEvent): { x: number; y: number } | null {
  const box = canvas.getBoundingClientRect();
  if (box.width <= 0 || box.height <= 0) return null;
  const x = Math.floor(((event.clientX - box.left) * PANEL_SIZE) / box.width);
  const y = Math.floor(((event.clientY - box.top) * PANEL_SIZE) / box.height);
  return x >= 0 && y >= 0 && x < PANEL_SIZE && y < PANEL_SIZE ? { x, y } : null;
}

// Marks the border between owned and other pixels, `scale` canvas pixels per panel pixel:
// a magenta band inside the owned pixels and a black one outside, in whole canvas pixels so
// that it stays sharp, and shows on light and dark pictures alike.
function drawOutline(context: CanvasRenderingContext2D, owned: Uint8Array, scale: number): void {
  const at = (x: number, y: number) =>
    x >= 0 && y >= 0 && x < PANEL_SIZE && y < PANEL_SIZE ? owned[y * PANEL_SIZE + x] : 0;
  const band = Math.max(1, Math.round(scale / 4));
  const bands = (inside: boolean) => {
    const shift = inside ? 0 : band;
    for (let y = 0; y < PANEL_SIZE; ++y)
      for (let x = 0; x < PANEL_SIZE; ++x) {
        if (!at(x, y)) continue;
        const left = x * scale, top = y * scale, right = left + scale, bottom = top + scale;
        if (!at(x, y - 1)) context.fillRect(left, inside ? top : top - shift, scale, band);
        if (!at(x, y + 1)) context.fillRect(left, inside ? bottom - band : bottom, scale, band);
        if (!at(x - 1, y)) context.fillRect(inside ? left : left - shift, top, band, scale);
        if (!at(x + 1, y)) context.fillRect(inside ? right - band : right, top, band, scale);
      }
  };
  context.save();
  context.fillStyle = '#000000';
  bands(false);
  context.fillStyle = '#ff00ff';
  bands(true);
  context.restore();
}

// Returns what to draw over each paint of the panel. A click on the panel is design's
// (design/designer.ts), which selects the object and puts the cursor on its line.
export function linkPixels(engine: Engine, display: Display, editor: Editor,
                           designing: () => boolean): (context: CanvasRenderingContext2D, scale: number) => void {
  // While the editor has the focus, or design has a selection, the cursor's line is
  // outlined on every paint, since the pixels a line owns change from frame to frame.
  editor.onCursor(() => display.paint());
  return (context, scale) => {
    if (!editor.view.hasFocus && !designing()) return;
    const owned = pixelsOfLine(engine, editor.file, editor.cursorLine);
    if (owned.includes(1)) drawOutline(context, owned, scale);
  };
}
