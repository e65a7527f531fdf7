import { PANEL_SIZE } from '../engine';
import { GRID_PIXELS, type Box, type Guides } from './snapping';

// What design draws over the display: the selection's boxes with their handles, the guides
// of a snap and the grid. It never touches the device's picture: it is a canvas of its own,
// laid over the whole stage around the panel (not only the panel), so that the part of a
// box off the panel shows too, dimmed. It takes no pointer events; the panel's canvas does.

export interface Drawn {
  box: Box; // the box the handles sit on
  parts: Box[]; // the pixels' pieces, outlined thinly when there are several
  handles: string[];
}

export interface OverlayState {
  boxes: Drawn[];
  guides: Guides;
  grid: boolean;
}

// A handle's size in CSS pixels, and how far from its middle a press still takes it.
export const HANDLE_PIXELS = 7;
export const HANDLE_REACH = 6;

// The point of a handle on a box, in panel pixels (edges between pixels).
export function handlePoint(box: Box, handle: string): [number, number] {
  const [left, top, right, bottom] = box;
  const x = handle.includes('w') ? left : handle.includes('e') ? right : (left + right) / 2;
  const y = handle.includes('n') ? top : handle.includes('s') ? bottom : (top + bottom) / 2;
  return [x, y];
}

const SELECTION = '#00d0ff';
const GUIDE = '#ffb000';

export class DesignOverlay {
  readonly element: HTMLCanvasElement;
  private readonly context: CanvasRenderingContext2D;

  constructor(
    private readonly panel: HTMLCanvasElement,
    private readonly stage: HTMLElement,
  ) {
    this.element = document.createElement('canvas');
    this.element.className = 'design-overlay';
    this.element.setAttribute('aria-hidden', 'true');
    document.body.appendChild(this.element);
    this.context = this.element.getContext('2d')!;
  }

  // CSS pixels per panel pixel, and the panel's top left corner in client coordinates.
  geometry(): { scale: number; left: number; top: number } {
    const box = this.panel.getBoundingClientRect();
    return { scale: box.width / PANEL_SIZE, left: box.left, top: box.top };
  }

  draw(state: OverlayState): void {
    const stage = this.stage.getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    const width = Math.round(stage.width * ratio), height = Math.round(stage.height * ratio);
    const style = this.element.style;
    style.left = `${stage.left}px`;
    style.top = `${stage.top}px`;
    style.width = `${stage.width}px`;
    style.height = `${stage.height}px`;
    if (this.element.width !== width || this.element.height !== height) {
      this.element.width = width;
      this.element.height = height;
    }
    const c = this.context;
    c.setTransform(1, 0, 0, 1, 0, 0);
    c.clearRect(0, 0, width, height);
    if (state.boxes.length === 0 && !state.grid) return;
    const { scale, left, top } = this.geometry();
    // From here on, units are panel pixels with (0, 0) at the panel's corner.
    const unit = scale * ratio;
    c.setTransform(unit, 0, 0, unit, (left - stage.left) * ratio, (top - stage.top) * ratio);
    const line = 1 / unit; // one device pixel
    if (state.grid) {
      c.fillStyle = 'rgba(255, 255, 255, 0.18)';
      for (let at = GRID_PIXELS; at < PANEL_SIZE; at += GRID_PIXELS) {
        c.fillRect(at, 0, line, PANEL_SIZE);
        c.fillRect(0, at, PANEL_SIZE, line);
      }
    }
    for (const drawn of state.boxes) this.drawBox(drawn, line, state.boxes.length === 1);
    c.fillStyle = GUIDE;
    const far = PANEL_SIZE * 4;
    for (const x of state.guides.x) c.fillRect(x - line / 2, -far, line, 2 * far + PANEL_SIZE);
    for (const y of state.guides.y) c.fillRect(-far, y - line / 2, 2 * far + PANEL_SIZE, line);
  }

  private drawBox({ box, parts, handles }: Drawn, line: number, withHandles: boolean): void {
    const c = this.context;
    if (parts.length > 1) {
      c.save();
      c.strokeStyle = 'rgba(0, 208, 255, 0.7)';
      c.lineWidth = line;
      c.setLineDash([2 * line, 2 * line]);
      for (const [l, t, r, b] of parts.slice(1)) c.strokeRect(l + line / 2, t + line / 2, r - l - line, b - t - line);
      c.restore();
    }
    const [left, top, right, bottom] = box;
    const width = right - left, height = bottom - top;
    // Off the panel: the box's part there is shaded and its border dashed.
    c.save();
    c.beginPath();
    c.rect(-PANEL_SIZE * 4, -PANEL_SIZE * 4, PANEL_SIZE * 9, PANEL_SIZE * 9);
    c.rect(0, 0, PANEL_SIZE, PANEL_SIZE);
    c.clip('evenodd');
    c.fillStyle = 'rgba(0, 208, 255, 0.22)';
    c.fillRect(left, top, width, height);
    c.strokeStyle = 'rgba(0, 208, 255, 0.6)';
    c.lineWidth = line;
    c.setLineDash([4 * line, 3 * line]);
    c.strokeRect(left + line / 2, top + line / 2, width - line, height - line);
    c.restore();
    // On the panel: a solid border with a dark one inside it, seen on light and dark alike.
    c.save();
    c.beginPath();
    c.rect(0, 0, PANEL_SIZE, PANEL_SIZE);
    c.clip();
    c.lineWidth = line;
    c.strokeStyle = '#000000';
    c.strokeRect(left + 1.5 * line, top + 1.5 * line, width - 3 * line, height - 3 * line);
    c.strokeStyle = SELECTION;
    c.strokeRect(left + line / 2, top + line / 2, width - line, height - line);
    c.restore();
    if (!withHandles) return;
    const size = HANDLE_PIXELS * line * (window.devicePixelRatio || 1);
    for (const handle of handles) {
      const [x, y] = handlePoint(box, handle);
      c.fillStyle = '#000000';
      c.fillRect(x - size / 2 - line, y - size / 2 - line, size + 2 * line, size + 2 * line);
      c.fillStyle = SELECTION;
      c.fillRect(x - size / 2, y - size / 2, size, size);
    }
  }
}
