import { EditorSelection } from '@codemirror/state';
import type { EditorView } from '@codemirror/view';

import { offsetOf, type Language } from './language';

// The outline: one entry per object line of the file shown, with its fields; clicking an
// entry puts the cursor on that line's keyword.
export class Outline {
  readonly element: HTMLElement;
  private readonly list: HTMLOListElement;

  constructor(private readonly language: Language) {
    this.element = document.createElement('details');
    this.element.className = 'orvanta-outline';
    this.element.setAttribute('open', '');
    this.element.appendChild(document.createElement('summary')).textContent = 'Outline';
    this.list = this.element.appendChild(document.createElement('ol'));
  }

  // Lists the symbols of `name` as `view` shows it; null empties the outline.
  refresh(view: EditorView, name: string | null): void {
    this.list.replaceChildren();
    if (name === null) return;
    const doc = view.state.doc;
    this.language.sync(name, doc);
    for (const symbol of this.language.symbols(name)) {
      const entry = this.list.appendChild(document.createElement('li'));
      const jump = entry.appendChild(document.createElement('button'));
      jump.type = 'button';
      jump.appendChild(document.createElement('strong')).textContent = symbol.name;
      jump.appendChild(document.createTextNode(` ${symbol.detail}`));
      const from = offsetOf(doc, symbol.nameFrom);
      const to = offsetOf(doc, symbol.nameTo);
      jump.addEventListener('click', () => {
        // The outline may be a keystroke behind the document; a position past its end clamps.
        const length = view.state.doc.length;
        view.dispatch({
          selection: EditorSelection.range(Math.min(from, length), Math.min(to, length)),
          scrollIntoView: true,
        });
        view.focus();
      });
    }
  }
}
