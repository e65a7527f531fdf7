import { PANEL_SIZE, type Engine } from '../engine';
import { validName } from '../files';
import { arrivingFile } from '../picture_arrival';
import { pixelOf } from '../pixel_link';
import type { Workspace } from '../workspace';
import type { DesignControl } from './design_api';

// The palette: the eight instruments and a picture. Dragging one onto the display inserts
// its line with the drop point as its corner or centre, as the instrument is placed; a
// click inserts it at the panel's centre. The picture asks which BMP of the folder to draw,
// or takes a picture file dropped on it, through the converter when the device cannot draw
// it as it is. A refusal, such as an eleventh instrument, is shown under the palette.

export const INSTRUMENTS = [
  'Tacho',
  'GyroHorizonRect',
  'Kompass',
  'RoundPointer',
  'Radar',
  'LED',
  'DigitCounter',
  'ToggleText',
] as const;

const LABELS: Record<string, string> = {
  Tacho: 'Tacho bars',
  GyroHorizonRect: 'Horizon',
  Kompass: 'Compass',
  RoundPointer: 'Pointer',
  Radar: 'Radar',
  LED: 'LED',
  DigitCounter: 'Digits',
  ToggleText: 'Text',
  image: 'Picture',
};

// A pointer that has moved this far in CSS pixels drags; less is a click.
const DRAG_START_PX = 4;

function make<K extends keyof HTMLElementTagNameMap>(parent: HTMLElement, tag: K, className = '', text = ''): HTMLElementTagNameMap[K] {
  const element = parent.appendChild(document.createElement(tag));
  if (className) element.className = className;
  if (text) element.textContent = text;
  return element;
}

export class Palette {
  readonly note: HTMLElement;

  constructor(
    private readonly control: DesignControl,
    private readonly workspace: Workspace,
    private readonly engine: Engine,
    private readonly canvas: HTMLCanvasElement,
    region: HTMLElement,
    // Whether a picture from outside the folder may join it: the page's folder takes it as an
    // unsaved file, while an IDE's preview has no way to write it to the card folder.
    private readonly addsFiles = true,
  ) {
    const items = make(region, 'div', 'palette-items');
    items.setAttribute('role', 'toolbar');
    items.setAttribute('aria-label', 'Instruments to drag onto the display');
    for (const keyword of [...INSTRUMENTS, 'image']) this.item(items, keyword);
    this.note = make(region, 'p', 'design-note');
    this.note.setAttribute('role', 'alert');
    this.note.hidden = true;
  }

  // Shows a refusal or a warning; an empty text hides the note.
  say(text: string): void {
    this.note.textContent = text;
    this.note.hidden = text === '';
  }

  // Inserts `keyword` at panel pixel (x, y); a picture asks which file first.
  async drop(keyword: string, x: number, y: number): Promise<string | undefined> {
    let text: string | undefined;
    if (keyword === 'image') {
      text = await this.choosePicture();
      if (text === undefined) return undefined;
    }
    const refusal = this.control.insert(keyword, x, y, text);
    this.say(refusal ? `${LABELS[keyword]} not added: ${refusal}.` : '');
    return refusal;
  }

  private item(parent: HTMLElement, keyword: string): void {
    const item = make(parent, 'button', 'palette-item');
    item.type = 'button';
    item.dataset.keyword = keyword;
    make(item, 'span', `palette-icon palette-${keyword}`);
    make(item, 'span', 'palette-label', LABELS[keyword]);
    item.title =
      keyword === 'image'
        ? 'Drag onto the display to draw a BMP of the folder, or drop a picture file here'
        : `Drag onto the display to add a ${keyword}`;
    let start: { x: number; y: number; id: number } | null = null;
    let ghost: HTMLElement | null = null;
    let dragged = false;
    item.addEventListener('pointerdown', (event) => {
      if (event.button !== 0) return;
      start = { x: event.clientX, y: event.clientY, id: event.pointerId };
      dragged = false;
      item.setPointerCapture(event.pointerId);
    });
    item.addEventListener('pointermove', (event) => {
      if (!start || event.pointerId !== start.id) return;
      if (!dragged && Math.hypot(event.clientX - start.x, event.clientY - start.y) < DRAG_START_PX) return;
      dragged = true;
      ghost ??= make(document.body, 'div', 'palette-ghost', LABELS[keyword]);
      ghost.style.left = `${event.clientX}px`;
      ghost.style.top = `${event.clientY}px`;
      ghost.classList.toggle('over-panel', pixelOf(this.canvas, event) !== null);
    });
    const end = (event: PointerEvent, dropped: boolean): void => {
      if (!start || event.pointerId !== start.id) return;
      start = null;
      ghost?.remove();
      ghost = null;
      if (!dropped || !dragged) return;
      const pixel = pixelOf(this.canvas, event);
      if (pixel) void this.drop(keyword, pixel.x, pixel.y);
    };
    item.addEventListener('pointerup', (event) => end(event, true));
    item.addEventListener('pointercancel', (event) => end(event, false));
    // A click, or Enter on the focused item, inserts at the panel's centre.
    item.addEventListener('click', () => {
      if (!dragged) void this.drop(keyword, PANEL_SIZE / 2, PANEL_SIZE / 2);
      dragged = false;
    });
    if (keyword === 'image') this.takeDroppedPictures(item);
  }

  // A picture file dropped on the palette's picture joins the folder and is drawn.
  private takeDroppedPictures(item: HTMLElement): void {
    item.addEventListener('dragover', (event) => {
      if (!event.dataTransfer?.types.includes('Files')) return;
      event.preventDefault();
      event.stopPropagation();
      item.classList.add('receiving');
    });
    item.addEventListener('dragleave', () => item.classList.remove('receiving'));
    item.addEventListener('drop', (event) => {
      item.classList.remove('receiving');
      const file = event.dataTransfer?.files[0];
      if (!file) return;
      // The file list's own drop handling would add the file a second time.
      event.preventDefault();
      event.stopPropagation();
      void this.addPicture(file);
    });
  }

  private async addPicture(file: File): Promise<void> {
    if (!this.addsFiles) {
      this.say(`${file.name} is not in the card folder: save it there first, then choose it from the picture's list.`);
      return;
    }
    const arriving = await arrivingFile(this.engine, file.name, new Uint8Array(await file.arrayBuffer()), file.type);
    if (!arriving) return;
    if ('problem' in arriving) {
      this.say(arriving.problem);
      return;
    }
    if (!validName(arriving.name)) {
      this.say(`${arriving.name} cannot be a file name on the card.`);
      return;
    }
    if (this.workspace.has(arriving.name) && !confirm(`Replace ${arriving.name}?`)) return;
    this.workspace.edit(arriving.name, arriving.bytes);
    const refusal = this.control.insert('image', 0, 0, arriving.name);
    this.say(refusal ? `Picture not added: ${refusal}.` : '');
  }

  // A small chooser of the folder's BMP files, and another picture file to convert;
  // resolves to the chosen name, or undefined when cancelled.
  private choosePicture(): Promise<string | undefined> {
    const shown = make(document.body, 'dialog', 'picture-chooser');
    const form = make(shown, 'form');
    form.method = 'dialog';
    const bmps = this.workspace.names().filter((name) => /\.bmp$/i.test(name));
    make(form, 'p', '', bmps.length ? 'Which picture is drawn?' : 'The folder has no BMP picture yet.');
    for (const name of bmps) {
      const choice = make(form, 'button', 'picture-choice', name);
      choice.type = 'submit';
      choice.value = `file:${name}`;
    }
    const other = make(form, 'label', 'picture-other', 'Another picture file… ');
    const input = make(other, 'input');
    input.type = 'file';
    input.accept = 'image/*';
    other.hidden = !this.addsFiles;
    const cancel = make(form, 'button', '', 'Cancel');
    cancel.type = 'submit';
    cancel.value = 'cancel';
    shown.showModal();
    return new Promise((resolve) => {
      input.addEventListener('change', () => {
        const file = input.files?.[0];
        shown.close('other');
        if (!file) return resolve(undefined);
        void (async () => {
          const arriving = await arrivingFile(this.engine, file.name, new Uint8Array(await file.arrayBuffer()), file.type);
          if (!arriving) return resolve(undefined);
          if ('problem' in arriving) {
            this.say(arriving.problem);
            return resolve(undefined);
          }
          this.workspace.edit(arriving.name, arriving.bytes);
          resolve(arriving.name);
        })();
      });
      shown.addEventListener('close', () => {
        shown.remove();
        if (shown.returnValue.startsWith('file:')) resolve(shown.returnValue.slice(5));
        else if (shown.returnValue !== 'other') resolve(undefined);
      });
    });
  }
}
