import type { Readings } from '../readings';
import { readingControls } from '../readings_panel';
import { hexOf, rgb565OfHex } from '../swatches';
import type { Workspace } from '../workspace';
import type { DesignControl } from './design_api';
import type { ColourInfo, FieldInfo, FieldService } from './field_service';

// The property panel: for the one object selected on the display, each field of its line
// with the name, unit and meaning the keyword table gives it. Changing a field writes only
// that field, as one undo step of the editor. The colour and background show as swatches
// that open the colour picker; a pick writes the RGB565 number nearest on the device into
// the colour line that sets it, or a new colour line right after the object's line. The
// object's reading control from the Readings panel sits at the bottom.

function make<K extends keyof HTMLElementTagNameMap>(parent: HTMLElement, tag: K, className = '', text = ''): HTMLElementTagNameMap[K] {
  const element = parent.appendChild(document.createElement(tag));
  if (className) element.className = className;
  if (text) element.textContent = text;
  return element;
}

const COLOUR_NAMES = { SetColor: 'colour', SetBGColor: 'background' } as const;

export class PropertyPanel {
  private readonly body: HTMLElement;
  private readonly note: HTMLElement;
  private readonly picker: HTMLInputElement;
  private shown = ''; // what the body shows, to rebuild only when it changes

  constructor(
    private readonly control: DesignControl,
    private readonly service: FieldService,
    private readonly readings: Readings | null,
    workspace: Workspace,
    region: HTMLElement,
  ) {
    make(region, 'h2', '', 'Properties');
    this.body = make(region, 'div', 'property-body');
    this.note = make(region, 'p', 'design-note');
    this.note.setAttribute('role', 'alert');
    this.note.hidden = true;
    this.picker = make(region, 'input', 'orvanta-picker');
    this.picker.type = 'color';
    this.picker.tabIndex = -1;
    this.picker.setAttribute('aria-label', 'Colour for the object');
    control.onSelection(() => this.refresh());
    // An edit, typed or made here, changes the fields; the panel reads them again.
    workspace.onEvent((event) => {
      if (event.kind !== 'changed' || event.name === this.control.file) this.refresh();
    });
    this.refresh();
  }

  say(text: string): void {
    this.note.textContent = text;
    this.note.hidden = text === '';
  }

  // Builds the panel for the selection as it is now, unless it already shows just that.
  refresh(force = false): void {
    const lines = this.control.selection();
    const file = this.control.file;
    const found = lines.length === 1 ? this.service.fields(file, lines[0] - 1) : null;
    const state = JSON.stringify([file, lines, found]);
    if (!force && state === this.shown) return;
    this.shown = state;
    // A field being typed in keeps its place in the rebuilt panel.
    const focused = (document.activeElement as HTMLElement | null)?.dataset?.field;
    this.body.replaceChildren();
    if (lines.length !== 1 || !found || found.keyword === '') {
      const hint = lines.length > 1 ? `${lines.length} objects selected: select one to see its fields.` : 'Select an object on the display to see its fields.';
      make(this.body, 'p', 'orvanta-hint', hint);
      return;
    }
    const line = lines[0];
    make(this.body, 'div', 'property-title', `${file}:${line} ${found.keyword}`);
    const list = make(this.body, 'div', 'property-list');
    for (const field of found.fields) this.fieldRow(list, line, field);
    for (const colour of found.colours) this.colourRow(list, line, colour);
    if (focused) list.querySelector<HTMLElement>(`[data-field="${focused}"]`)?.focus();
    this.readingRow(line);
  }

  private fieldRow(list: HTMLElement, line: number, field: FieldInfo): void {
    const row = make(list, 'label', 'property');
    row.title = field.meaning;
    make(row, 'span', 'property-name', field.name);
    const input = make(row, 'input', 'property-value');
    input.type = 'text';
    input.value = field.present ? field.value.trim() : '';
    input.placeholder = field.present ? '' : 'missing';
    input.dataset.field = String(field.field);
    input.spellcheck = false;
    if (field.kind === 'number') input.inputMode = 'numeric';
    make(row, 'span', 'property-unit', field.unit);
    make(row, 'span', 'property-meaning', field.meaning);
    input.addEventListener('change', () => {
      const answer = this.service.setField(this.control.file, line - 1, field.field, input.value);
      this.settle(answer.refusal ?? this.control.applyAnswer(answer));
    });
    input.addEventListener('keydown', (event) => {
      if (event.key === 'Escape') {
        input.value = field.present ? field.value.trim() : '';
        input.blur();
      }
    });
  }

  private colourRow(list: HTMLElement, line: number, colour: ColourInfo): void {
    const row = make(list, 'div', 'property property-colour');
    const name = COLOUR_NAMES[colour.command];
    make(row, 'span', 'property-name', name);
    const swatch = make(row, 'button', 'orvanta-swatch');
    swatch.type = 'button';
    const hex = hexOf(colour.rgb);
    swatch.style.backgroundColor = hex;
    swatch.dataset.colour = colour.command;
    swatch.setAttribute('aria-label', `${name} ${colour.rgb565}: pick another`);
    make(row, 'span', 'property-unit', `${colour.rgb565} RGB565`);
    const source = colour.fixed
      ? colour.fixed
      : colour.line >= 0
        ? `set by ${colour.command} on line ${colour.line + 1}`
        : `the instrument’s own; a pick adds a ${colour.command} line`;
    make(row, 'span', 'property-meaning', source);
    if (colour.fixed) {
      swatch.disabled = true;
      return;
    }
    swatch.addEventListener('click', () => {
      this.picker.value = hex;
      this.picker.onchange = () => {
        const value = rgb565OfHex(this.picker.value, (r, g, b) => this.service.rgb565ForPick(r, g, b));
        const answer = this.service.setColour(this.control.file, line - 1, colour.command === 'SetBGColor', value);
        this.settle(answer.refusal ?? this.control.applyAnswer(answer));
      };
      this.picker.click();
    });
  }

  private readingRow(line: number): void {
    if (!this.readings) return;
    const row = this.readings.list().find((r) => r.file === this.control.file && r.line === line);
    if (!row) return;
    const item = make(this.body, 'div', 'property-reading');
    make(item, 'div', 'property-name', 'reading');
    readingControls(this.readings, row, item, (message) => this.say(message));
  }

  // After an edit: its refusal, or nothing, and the fields as they are now.
  private settle(refusal: string | undefined): void {
    this.say(refusal ? `Not changed: ${refusal}.` : '');
    this.refresh(true);
  }
}
