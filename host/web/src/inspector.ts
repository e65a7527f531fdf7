import type { Engine } from './engine';
import { pixelOf } from './pixel_link';

// The inspector beside the panel: the windows' four readings for the pixel under the
// pointer (position, colour, the file on show, the next file) and the line that drew it.
// Off the panel the readings are those the windows give beside the picture.

interface Reading {
  readings: string[];
  line: string;
}

export class Inspector {
  private readonly rows: HTMLElement[] = [];
  private readonly line: HTMLElement;
  private pixel = { x: -1, y: -1 };

  constructor(private readonly engine: Engine, region: HTMLElement, canvas: HTMLCanvasElement) {
    const heading = region.appendChild(document.createElement('h2'));
    heading.textContent = 'Inspector';
    const list = region.appendChild(document.createElement('ul'));
    list.className = 'orvanta-readings';
    for (let i = 0; i < 5; ++i) this.rows.push(list.appendChild(document.createElement('li')));
    this.line = this.rows[4];
    this.line.className = 'orvanta-line';
    const hint = region.appendChild(document.createElement('p'));
    hint.className = 'orvanta-hint';
    hint.textContent =
      'Click a pixel to see the line that drew it; the line with the cursor is outlined on the display.';

    canvas.addEventListener('pointermove', (event) => {
      this.pixel = pixelOf(canvas, event) ?? { x: -1, y: -1 };
      this.refresh();
    });
    canvas.addEventListener('pointerleave', () => {
      this.pixel = { x: -1, y: -1 };
      this.refresh();
    });
    this.refresh();
  }

  // Reads the pixel again: the picture and the files on show change from frame to frame.
  refresh(): void {
    const answer = JSON.parse(
      this.engine.replyText(this.engine.call('inspect', this.pixel.x, this.pixel.y)),
    ) as Reading;
    answer.readings.forEach((text, i) => {
      if (this.rows[i].textContent !== text) this.rows[i].textContent = text;
    });
    const line = `Line: ${answer.line}`;
    if (this.line.textContent !== line) this.line.textContent = line;
  }
}
