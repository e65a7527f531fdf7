import { PANEL_SIZE } from '../engine';

// Snapping of a drag: the edges and centres that move land on the panel's edges and centre
// lines and on the edges and centres of the other objects on show, when within SNAP_PIXELS;
// with the grid on, whatever finds nothing to land on goes to the grid's lines instead.
// Boxes are [left, top, right, bottom], right and bottom exclusive; an edge is the line
// between pixels, a centre the middle of the pixels a box covers.

export const SNAP_PIXELS = 3;
export const GRID_PIXELS = 4;

export type Box = [number, number, number, number];

// Where a guide is drawn: a vertical line at panel x, or a horizontal one at panel y.
export interface Guides {
  x: number[];
  y: number[];
}

export interface Snapped {
  dx: number;
  dy: number;
  guides: Guides;
}

// Which of a box's lines move with the drag, per axis: for a move all three, for a resize
// only the edge the handle drags.
export interface Moving {
  x: ('start' | 'centre' | 'end')[];
  y: ('start' | 'centre' | 'end')[];
}

const lineOf = (start: number, end: number, which: 'start' | 'centre' | 'end'): number =>
  which === 'start' ? start : which === 'end' ? end : (start + end) / 2;

function targets(others: Box[], axis: 0 | 1): number[] {
  const found = [0, PANEL_SIZE / 2, PANEL_SIZE];
  for (const box of others) found.push(box[axis], box[axis + 2], (box[axis] + box[axis + 2]) / 2);
  return found;
}

// The nearest landing for one axis, or null: the offset to add to `delta` and the line.
function nearest(
  start: number,
  end: number,
  moving: ('start' | 'centre' | 'end')[],
  delta: number,
  lines: number[],
): { offset: number; at: number } | null {
  let best: { offset: number; at: number } | null = null;
  for (const which of moving) {
    const now = lineOf(start + delta, end + delta, which);
    for (const at of lines) {
      const offset = Math.round(at - now);
      if (Math.abs(at - now) > SNAP_PIXELS) continue;
      if (!best || Math.abs(offset) < Math.abs(best.offset)) best = { offset, at };
    }
  }
  return best;
}

// The drag of `box` by (dx, dy) panel pixels, snapped. `point` is the corner or centre the
// object is placed by, which the grid takes.
export function snapDrag(
  box: Box,
  moving: Moving,
  dx: number,
  dy: number,
  others: Box[],
  grid: boolean,
  point: [number, number] = [box[0], box[1]],
): Snapped {
  const guides: Guides = { x: [], y: [] };
  const out = [dx, dy];
  for (const axis of [0, 1] as const) {
    const which = axis === 0 ? moving.x : moving.y;
    if (which.length === 0) continue;
    const landing = nearest(box[axis], box[axis + 2], which, out[axis], targets(others, axis));
    if (landing) {
      out[axis] += landing.offset;
      (axis === 0 ? guides.x : guides.y).push(landing.at);
    } else if (grid) {
      const edge = which.length === 1 ? lineOf(box[axis], box[axis + 2], which[0]) : point[axis];
      const moved = edge + out[axis];
      out[axis] += Math.round(moved / GRID_PIXELS) * GRID_PIXELS - moved;
    }
  }
  return { dx: Math.round(out[0]), dy: Math.round(out[1]), guides };
}

// The lines a handle moves: "e" the right edge, "nw" the left and the top, and so on.
export function movingOf(handle: string): Moving {
  if (handle === 'move') return { x: ['start', 'centre', 'end'], y: ['start', 'centre', 'end'] };
  return {
    x: handle.includes('w') ? ['start'] : handle.includes('e') ? ['end'] : [],
    y: handle.includes('n') ? ['start'] : handle.includes('s') ? ['end'] : [],
  };
}
