import { RangeSetBuilder, type Extension } from '@codemirror/state';
import {
  Decoration,
  EditorView,
  ViewPlugin,
  WidgetType,
  type DecorationSet,
  type ViewUpdate,
} from '@codemirror/view';

import { offsetOf, type Language } from './language';

// A swatch before each colour field, in the colour the device shows for it. Clicking it
// opens the browser's colour picker; a picked colour replaces the field with the RGB565
// number whose colour on the device lies nearest.

export function hexOf([red, green, blue]: [number, number, number]): string {
  const byte = (x: number) => Math.round(Math.min(1, Math.max(0, x)) * 255).toString(16).padStart(2, '0');
  return `#${byte(red)}${byte(green)}${byte(blue)}`;
}

// The field value for the colour picker's "#rrggbb", by the device's nearest colour.
export function rgb565OfHex(hex: string, forPick: (red: number, green: number, blue: number) => number): number {
  const channel = (at: number) => parseInt(hex.slice(at, at + 2), 16) / 255;
  return forPick(channel(1), channel(3), channel(5));
}

class Swatch extends WidgetType {
  constructor(readonly hex: string, readonly rgb565: number) {
    super();
  }

  eq(other: Swatch): boolean {
    return other.hex === this.hex && other.rgb565 === this.rgb565;
  }

  toDOM(): HTMLElement {
    const swatch = document.createElement('button');
    swatch.type = 'button';
    swatch.className = 'orvanta-swatch';
    swatch.style.backgroundColor = this.hex;
    swatch.title = `Colour ${this.rgb565}: pick another`;
    swatch.dataset.hex = this.hex;
    return swatch;
  }

  ignoreEvent(): boolean {
    return false;
  }
}

export function colourSwatches(
  language: Language,
  documentName: () => string | null,
  picker: HTMLInputElement,
): Extension {
  // The field a picked colour goes to: its offsets in the document it was picked in.
  let target: { from: number; to: number } | null = null;

  const build = (view: EditorView): DecorationSet => {
    const name = documentName();
    if (name === null) return Decoration.none;
    const doc = view.state.doc;
    language.sync(name, doc);
    const builder = new RangeSetBuilder<Decoration>();
    for (const field of language.colours(name)) {
      const from = offsetOf(doc, field.from);
      builder.add(from, from, Decoration.widget({ widget: new Swatch(hexOf(field.rgb), field.rgb565), side: -1 }));
    }
    return builder.finish();
  };

  const plugin = ViewPlugin.fromClass(
    class {
      decorations: DecorationSet;
      constructor(view: EditorView) {
        this.decorations = build(view);
      }
      update(update: ViewUpdate) {
        if (update.docChanged) this.decorations = build(update.view);
        if (target && update.docChanged)
          target = { from: update.changes.mapPos(target.from, -1), to: update.changes.mapPos(target.to, 1) };
      }
    },
    {
      decorations: (value) => value.decorations,
      eventHandlers: {
        mousedown(event, view) {
          const swatch = (event.target as HTMLElement).closest('.orvanta-swatch');
          if (!(swatch instanceof HTMLElement)) return false;
          event.preventDefault();
          const name = documentName();
          if (name === null || view.state.readOnly) return true;
          const pos = view.posAtDOM(swatch);
          const doc = view.state.doc;
          const field = language.colours(name).find((f) => offsetOf(doc, f.from) === pos);
          if (!field) return true;
          target = { from: pos, to: offsetOf(doc, field.to) };
          picker.value = swatch.dataset.hex ?? '#000000';
          picker.onchange = picker.oninput = () => {
            if (!target) return;
            const value = String(rgb565OfHex(picker.value, (r, g, b) => language.rgb565ForPick(r, g, b)));
            // The update maps the target onto the number written, for the next pick.
            const { from, to } = target;
            if (view.state.sliceDoc(from, to) !== value)
              view.dispatch({ changes: { from, to, insert: value }, userEvent: 'input.colour' });
          };
          picker.click();
          return true;
        },
      },
    },
  );
  return plugin;
}
