import { Preset, type ReadingAnswer, type ReadingRow, type Readings } from './readings';
import type { Workspace } from './workspace';

// The Readings panel beside the inspector: each object of the file on show with a control
// that fits its reading (a slider with a number box, a pair of them for a horizon's two
// ends, a heading dial, a digits box or a lit/dark switch) and "random", "hold" and
// "sweep". Moving a control holds the object there at once; it walks there at its own pace.

const NOTE =
  'Holding departs from the device, which always steps its instruments: a held instrument ' +
  'walks to the reading and stays. A Tacho’s top bar never lights. Values outside a range are clamped.';

function make<K extends keyof HTMLElementTagNameMap>(
  parent: HTMLElement,
  tag: K,
  properties: Partial<HTMLElementTagNameMap[K]> = {},
): HTMLElementTagNameMap[K] {
  const element = parent.appendChild(document.createElement(tag));
  Object.assign(element, properties);
  return element;
}

// A slider with its number box, kept in step; `changed` gets the value on every move.
function sliderWithBox(parent: HTMLElement, row: ReadingRow, value: string, label: string, changed: () => void): () => string {
  const wrap = make(parent, 'label', { className: 'reading-slider' });
  wrap.append(label);
  const common = { min: row.low.split(',')[0], max: row.high.split(',')[0], step: String(row.step), value };
  const slider = make(wrap, 'input', { type: 'range', ...common });
  const box = make(wrap, 'input', { type: 'number', ...common });
  slider.setAttribute('aria-label', `${label || row.keyword} slider`);
  slider.addEventListener('input', () => {
    box.value = slider.value;
    changed();
  });
  box.addEventListener('change', () => {
    slider.value = box.value;
    changed();
  });
  return () => box.value;
}

// A heading dial: a round face with a pointer; dragging on it or the arrow keys turn it.
function headingDial(parent: HTMLElement, value: string, changed: () => void): () => string {
  const wrap = make(parent, 'div', { className: 'reading-dial-wrap' });
  const dial = make(wrap, 'div', { className: 'reading-dial', tabIndex: 0 });
  dial.setAttribute('role', 'slider');
  dial.setAttribute('aria-label', 'heading');
  dial.setAttribute('aria-valuemin', '-360');
  dial.setAttribute('aria-valuemax', '359');
  const pointer = make(dial, 'span', { className: 'reading-dial-pointer' });
  const box = make(wrap, 'input', { type: 'number', min: '-360', max: '359', step: '1', value });
  const show = (): void => {
    // Heading 0 points down on the card, 90 to the right.
    pointer.style.transform = `rotate(${-Number(box.value)}deg)`;
    dial.setAttribute('aria-valuenow', box.value);
  };
  const set = (heading: number): void => {
    box.value = String(Math.max(-360, Math.min(359, Math.round(heading))));
    show();
    changed();
  };
  const turnTo = (event: PointerEvent): void => {
    const box2 = dial.getBoundingClientRect();
    const dx = event.clientX - (box2.left + box2.width / 2);
    const dy = event.clientY - (box2.top + box2.height / 2);
    set(Math.round((Math.atan2(dx, dy) * 180) / Math.PI));
  };
  dial.addEventListener('pointerdown', (event) => {
    dial.setPointerCapture(event.pointerId);
    turnTo(event);
  });
  dial.addEventListener('pointermove', (event) => {
    if (dial.hasPointerCapture(event.pointerId)) turnTo(event);
  });
  dial.addEventListener('keydown', (event) => {
    const by = event.key === 'ArrowRight' || event.key === 'ArrowUp' ? 1 : event.key === 'ArrowLeft' || event.key === 'ArrowDown' ? -1 : 0;
    if (by === 0) return;
    event.preventDefault();
    set(Number(box.value) + by * (event.shiftKey ? 10 : 1));
  });
  box.addEventListener('change', () => set(Number(box.value)));
  show();
  return () => box.value;
}

export class ReadingsPanel {
  private readonly list: HTMLOListElement;
  private readonly note: HTMLElement;
  private shownFile = '';

  constructor(private readonly readings: Readings, workspace: Workspace, region: HTMLElement) {
    make(region, 'h2', { textContent: 'Readings' });
    make(region, 'p', { className: 'orvanta-hint', textContent: NOTE });
    const tools = make(region, 'div', { className: 'reading-tools' });
    const tool = (text: string, preset: Preset): void => {
      make(tools, 'button', { type: 'button', textContent: text }).addEventListener('click', () => {
        this.readings.preset(preset);
        this.rebuild();
      });
    };
    tool('Hold all at minimum', Preset.Minimum);
    tool('Hold all at maximum', Preset.Maximum);
    tool('Release all', Preset.Device);
    this.note = make(region, 'p', { className: 'reading-note' });
    this.note.setAttribute('aria-live', 'polite');
    this.list = make(region, 'ol', { className: 'reading-list' });
    readings.onChange(() => this.rebuild());
    // An edit moves lines and changes objects; the list is read again.
    workspace.onEvent((event) => {
      if (event.kind === 'changed' || event.kind === 'replaced') this.shownFile = '';
    });
  }

  // After every paint: the list follows the file on show.
  refresh(): void {
    if (this.readings.fileOnShow() !== this.shownFile) this.rebuild();
  }

  rebuild(): void {
    this.shownFile = this.readings.fileOnShow();
    this.list.replaceChildren();
    for (const row of this.readings.list()) this.addRow(row);
    if (this.list.childElementCount === 0)
      make(this.list, 'li', { className: 'orvanta-hint', textContent: `${this.shownFile} makes no objects.` });
  }

  private addRow(row: ReadingRow): void {
    const item = make(this.list, 'li', { className: 'reading' });
    item.dataset.line = String(row.line);
    item.dataset.kind = row.kind;
    make(item, 'div', { className: 'reading-name', textContent: `${row.file}:${row.line} ${row.keyword}` });
    readingControls(this.readings, row, item, (message) => (this.note.textContent = message));
  }
}

// One object's reading control and its "random", "hold" and "sweep" into `item`, for the
// Readings panel's rows and the property panel alike; `say` shows each answer's message.
export function readingControls(readings: Readings, row: ReadingRow, item: HTMLElement, say: (message: string) => void): void {
  if (row.kind === 'none') {
    make(item, 'div', { className: 'orvanta-hint', textContent: 'its size leaves it no reading to hold' });
    return;
  }
  const answer = (result: ReadingAnswer, mode: ReadingRow['mode']): void => {
    say(result.message);
    if (!result.ok) return;
    for (const button of Array.from(item.querySelectorAll<HTMLButtonElement>('.reading-modes button')))
      button.setAttribute('aria-pressed', String(button.dataset.mode === mode));
  };
  const controls = make(item, 'div', { className: 'reading-controls' });
  const held = row.mode === 'hold' ? row.value : row.high;
  const holdNow = (): void => answer(readings.hold(row.file, row.line, value()), 'hold');
  let value: () => string;
  if (row.kind === 'phase') {
    const wrap = make(controls, 'label', { className: 'reading-switch' });
    const lit = make(wrap, 'input', { type: 'checkbox', checked: held === 'lit' });
    wrap.append('lit');
    lit.addEventListener('change', holdNow);
    value = () => (lit.checked ? 'lit' : 'dark');
  } else if (row.kind === 'digits') {
    const box = make(controls, 'input', { type: 'text', value: held, maxLength: row.digits, inputMode: 'numeric' });
    box.setAttribute('aria-label', 'digits');
    box.addEventListener('change', holdNow);
    value = () => box.value;
  } else if (row.kind === 'heading') {
    value = headingDial(controls, held, holdNow);
  } else if (row.kind === 'ends') {
    const [left, right] = held.split(',');
    const leftValue = sliderWithBox(controls, row, left, 'left ', holdNow);
    const rightValue = sliderWithBox(controls, row, right, 'right ', holdNow);
    value = () => `${leftValue()},${rightValue()}`;
  } else {
    value = sliderWithBox(controls, row, held, '', holdNow);
  }
  const modes = make(item, 'div', { className: 'reading-modes' });
  const mode = (name: ReadingRow['mode'], act: () => ReadingAnswer): void => {
    const button = make(modes, 'button', { type: 'button', textContent: name });
    button.dataset.mode = name;
    button.setAttribute('aria-pressed', String(row.mode === name));
    button.addEventListener('click', () => answer(act(), name));
  };
  mode('random', () => readings.release(row.file, row.line));
  mode('hold', () => readings.hold(row.file, row.line, value()));
  mode('sweep', () => readings.sweep(row.file, row.line));
}
