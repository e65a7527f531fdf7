import { forceLinting } from '@codemirror/lint';
import { Annotation, Compartment, EditorSelection, EditorState, type Extension } from '@codemirror/state';
import { EditorView } from '@codemirror/view';
import { basicSetup } from 'codemirror';

import { editorTheme } from './editor_theme';
import type { Language } from './language';
import { languageFeatures } from './language_features';
import { Outline } from './outline';
import { colourSwatches } from './swatches';
import type { Workspace } from './workspace';

// The editor: CodeMirror on the file the workspace shows. Typing reaches the device's folder
// a moment after the last key, as a save would, so the display follows the text; a change
// made outside the page comes in when the editor has nothing of its own pending.

// Long enough to take a burst of keys as one edit, short enough that the display shows it
// well within 250 ms of the last key: this delay, at most one frame (about 55 ms), a paint.
export const EDIT_DELAY_MS = 70;

// A file the page may not edit says why; the file handling adds this to the workspace.
type Limits = { readOnlyReason?: (name: string) => string | null | undefined };

// Marks a change that came from the workspace, which must not be written back to it.
const fromWorkspace = Annotation.define<boolean>();

// The change from `before` to `after` as one replacement of what differs between a shared
// start and a shared end, so that a cursor outside it stays where it was.
function difference(before: string, after: string): { from: number; to: number; insert: string } {
  let start = 0;
  const shortest = Math.min(before.length, after.length);
  while (start < shortest && before.charCodeAt(start) === after.charCodeAt(start)) ++start;
  let end = 0;
  while (
    end < shortest - start &&
    before.charCodeAt(before.length - 1 - end) === after.charCodeAt(after.length - 1 - end)
  )
    ++end;
  return { from: start, to: before.length - end, insert: after.slice(start, after.length - end) };
}

// The line end a file uses throughout (CR LF or a lone CR), which the editor then keeps, or
// null for LF or mixed line ends. CodeMirror writes its own line separator on every line, so
// without this a CR LF file came back with LF line ends after any edit.
export function lineSeparatorOf(text: string): string | null {
  const crlf = text.split('\r\n').length - 1;
  const cr = text.split('\r').length - 1 - crlf;
  const lf = text.split('\n').length - 1 - crlf;
  if (crlf > 0 && cr === 0 && lf === 0) return '\r\n';
  if (cr > 0 && crlf === 0 && lf === 0) return '\r';
  return null;
}

export class Editor {
  readonly view: EditorView;
  private shown: string;
  private serviceOn = true; // false for a file opened read-only
  private pending: number | null = null; // the timer of an edit not yet handed over
  private writing = false;
  private readonly readOnly = new Compartment();
  private readonly note: HTMLElement;
  private readonly outline: Outline;
  private readonly extensions: Extension;
  private readonly cursorListeners = new Set<() => void>();

  constructor(
    private readonly workspace: Workspace & Limits,
    private readonly language: Language,
    region: HTMLElement,
    extra: Extension = [],
  ) {
    this.note = region.appendChild(document.createElement('p'));
    this.note.className = 'orvanta-note';
    this.note.setAttribute('role', 'note');
    this.note.hidden = true;
    const host = region.appendChild(document.createElement('div'));
    host.className = 'orvanta-code';
    const root = host.attachShadow({ mode: 'open' });
    const picker = region.appendChild(document.createElement('input'));
    picker.type = 'color';
    picker.className = 'orvanta-picker';
    picker.tabIndex = -1;
    picker.setAttribute('aria-label', 'Colour for the field');
    this.outline = new Outline(language);
    region.appendChild(this.outline.element);

    const name = () => (this.serviceOn ? this.shown : null);
    this.extensions = [
      basicSetup,
      editorTheme,
      this.readOnly.of([]),
      languageFeatures(language, name),
      colourSwatches(language, name, picker),
      EditorView.updateListener.of((update) => {
        if (update.docChanged && !update.transactions.some((t) => t.annotation(fromWorkspace))) this.schedule();
        if (update.selectionSet || update.docChanged || update.focusChanged)
          for (const listener of this.cursorListeners) listener();
      }),
      extra,
    ];
    this.shown = workspace.current;
    this.view = new EditorView({ root, parent: root });
    this.show(this.shown);

    workspace.onEvent((event) => {
      switch (event.kind) {
        case 'replaced':
          // A new folder: what was pending belongs to the folder that went.
          this.cancel();
          this.language.forget(this.shown);
          break;
        case 'opened':
          this.show(event.name);
          break;
        case 'changed':
          if (this.writing) break;
          if (event.name === this.shown) {
            if (this.pending === null) this.follow();
          } else {
            // Another file's bytes change what the shown one's lines mean (a picture drawn).
            forceLinting(this.view);
          }
          break;
        case 'removed':
          // Nothing is left to hand an edit to: writing it would bring the file back.
          if (event.name !== this.shown) {
            forceLinting(this.view);
            break;
          }
          this.cancel();
          this.setNote(`${event.name} was removed from the folder.`, true);
          break;
        default:
          break;
      }
    });
  }

  // The file shown, and the 1-based line of the cursor.
  get file(): string {
    return this.shown;
  }

  get cursorLine(): number {
    const state = this.view.state;
    return state.doc.lineAt(state.selection.main.head).number;
  }

  onCursor(listener: () => void): void {
    this.cursorListeners.add(listener);
  }

  // Shows line `line` (1-based) of `name`, opening that file first when another is shown.
  reveal(name: string, line: number): void {
    if (name !== this.shown) this.workspace.open(name);
    const doc = this.view.state.doc;
    const target = doc.line(Math.min(Math.max(1, line), doc.lines));
    this.view.dispatch({ selection: EditorSelection.cursor(target.from), scrollIntoView: true });
    this.view.focus();
  }

  // Hands the edit waiting for its delay over at once.
  flush(): void {
    if (this.pending === null) return;
    this.cancel();
    this.writing = true;
    try {
      this.workspace.edit(this.shown, this.view.state.sliceDoc());
    } finally {
      this.writing = false;
    }
    this.outline.refresh(this.view, this.serviceOn ? this.shown : null);
  }

  private schedule(): void {
    this.cancel();
    this.pending = window.setTimeout(() => this.flush(), EDIT_DELAY_MS);
  }

  private cancel(): void {
    if (this.pending !== null) window.clearTimeout(this.pending);
    this.pending = null;
  }

  private show(name: string): void {
    // What was typed last goes to the file it was typed in, even when that file opens again.
    this.flush();
    if (name !== this.shown) this.language.forget(this.shown);
    this.shown = name;
    const reason = this.workspace.readOnlyReason?.(name) ?? null;
    this.serviceOn = reason === null;
    const text = this.workspace.text(name);
    const separator = lineSeparatorOf(text);
    this.language.lineBreak = separator ?? '\n';
    const extensions = separator ? [this.extensions, EditorState.lineSeparator.of(separator)] : this.extensions;
    this.view.setState(EditorState.create({ doc: text, extensions }));
    this.view.dispatch({ effects: this.readOnly.reconfigure(this.readOnlyExtension(reason !== null)) });
    this.setNote(reason, reason !== null);
    this.outline.refresh(this.view, this.serviceOn ? name : null);
    for (const listener of this.cursorListeners) listener();
  }

  // Takes the workspace's text of the file shown, keeping the cursor where it was.
  private follow(): void {
    const state = this.view.state;
    const after = this.workspace.text(this.shown);
    if (state.sliceDoc() === after) return;
    // Another line end throughout is another document; otherwise the change is made in the
    // editor's own terms, one position per line end.
    if ((lineSeparatorOf(after) ?? '\n') !== state.lineBreak) {
      this.show(this.shown);
      return;
    }
    const change = difference(state.doc.toString(), after.split(state.lineBreak).join('\n'));
    change.insert = change.insert.split('\n').join(state.lineBreak);
    this.view.dispatch({ changes: change, annotations: fromWorkspace.of(true) });
    this.outline.refresh(this.view, this.serviceOn ? this.shown : null);
  }

  private readOnlyExtension(readOnly: boolean): Extension {
    return readOnly ? [EditorState.readOnly.of(true), EditorView.editable.of(false)] : [];
  }

  private setNote(text: string | null, readOnly: boolean): void {
    this.note.hidden = text === null;
    this.note.textContent = text ?? '';
    if (readOnly && text !== null)
      this.view.dispatch({ effects: this.readOnly.reconfigure(this.readOnlyExtension(true)) });
  }
}
