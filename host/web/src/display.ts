import { PANEL_SIZE } from './engine';

// The panel on a canvas. Each panel pixel covers a whole number of device pixels, so that
// pixels stay square and sharp at any device pixel ratio (Windows' 125 % and 150 % too):
// the canvas's backing store is sized in device pixels and its CSS size derived from it.

export const ZOOM_STEPS = [1, 2, 3, 4] as const;
export type Zoom = (typeof ZOOM_STEPS)[number] | 'fit';

// Device pixels per panel pixel for a zoom step: the whole number nearest the step at this
// ratio, at least 1.
export function deviceScale(step: number, ratio: number): number {
  return Math.max(1, Math.round(step * ratio));
}

// The largest whole scale, in device pixels per panel pixel, at which the panel fits into
// `width` x `height` CSS pixels; at least 1.
export function fitScale(width: number, height: number, ratio: number): number {
  const side = Math.min(width, height) * ratio;
  return Math.max(1, Math.floor((side + 1e-6) / PANEL_SIZE));
}

export class Display {
  private readonly context: CanvasRenderingContext2D;
  private readonly panel: HTMLCanvasElement; // the picture at its own size
  private readonly panelContext: CanvasRenderingContext2D;
  private readonly image: ImageData;
  private scale = 1;
  zoom: Zoom = 'fit';
  // Draws over the enlarged picture after each paint, at `scale` canvas pixels per panel
  // pixel; what it draws never reaches the device's picture.
  decorate: ((context: CanvasRenderingContext2D, scale: number) => void) | null = null;

  constructor(
    private readonly canvas: HTMLCanvasElement,
    private readonly space: HTMLElement, // what a fitted panel fits into
  ) {
    this.context = canvas.getContext('2d', { alpha: false })!;
    this.panel = document.createElement('canvas');
    this.panel.width = this.panel.height = PANEL_SIZE;
    this.panelContext = this.panel.getContext('2d')!;
    this.image = this.panelContext.createImageData(PANEL_SIZE, PANEL_SIZE);
  }

  // The zoom in effect, in percent of CSS pixels.
  get percent(): number {
    return Math.round((this.scale / window.devicePixelRatio) * 100);
  }

  layout(): void {
    const ratio = window.devicePixelRatio || 1;
    this.scale =
      this.zoom === 'fit'
        ? fitScale(this.space.clientWidth, this.space.clientHeight, ratio)
        : deviceScale(this.zoom, ratio);
    const side = PANEL_SIZE * this.scale;
    if (this.canvas.width !== side) this.canvas.width = this.canvas.height = side;
    this.canvas.style.width = this.canvas.style.height = `${side / ratio}px`;
    this.paint();
  }

  // `picture` holds the surface's words: red in bits 0-7, green 8-15, blue 16-23. Read as
  // bytes on a little-endian machine (every browser's), that is red, green, blue, and an
  // alpha byte to set.
  draw(picture: Uint32Array): void {
    const words = new Uint32Array(this.image.data.buffer);
    for (let i = 0; i < picture.length; ++i) words[i] = picture[i] | 0xff000000;
    this.panelContext.putImageData(this.image, 0, 0);
    this.paint();
  }

  // Paints the last picture again, with what `decorate` draws over it now.
  paint(): void {
    this.context.imageSmoothingEnabled = false;
    this.context.drawImage(this.panel, 0, 0, this.canvas.width, this.canvas.height);
    this.decorate?.(this.context, this.scale);
  }
}
