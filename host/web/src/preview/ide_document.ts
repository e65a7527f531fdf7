import type { DesignDocument, EditAnswer } from '../design/design_api';
import { applyEdits } from '../design/design_service';
import { movesOf } from '../design/editor_document';
import type { LinkedText } from '../pixel_link';
import type { Readings } from '../readings';
import type { Workspace } from '../workspace';
import type { FromPreview } from './preview_messages';

// The IDE's documents as the preview sees them: their texts are the workspace's (the
// extension sends every change, unsaved ones included), and what the preview does to them
// goes to the extension as messages. The extension makes each apply() one workspace edit,
// so one step of the editor's undo history, and leaves the file unsaved. The preview takes
// the edited text at once rather than waiting for it to come back, so that design's next
// question is about the text it just made.
export class IdeDocument implements DesignDocument, LinkedText {
  private readonly listeners = new Set<(name: string, line: number) => void>();
  private cursor: { file: string; line: number } | null = null;

  constructor(
    private readonly workspace: Workspace,
    private readonly readings: Readings,
    private readonly post: (message: FromPreview) => void,
  ) {}

  text(name: string): string {
    return this.workspace.text(name);
  }

  apply(name: string, answer: EditAnswer): void {
    const edits = answer.edits ?? [];
    if (edits.length === 0) return;
    // The overrides follow their objects before the device loads the new text, which would
    // drop those of lines it no longer has.
    this.readings.moveLines(name, movesOf(answer.lineMap));
    this.workspace.edit(name, applyEdits(this.workspace.text(name), edits));
    this.post({ type: 'apply', name, edits });
  }

  // The editor shows and selects the line, leaving the focus in the preview, so that the
  // keys still nudge what the click selected.
  reveal(name: string, line: number): void {
    this.post({ type: 'reveal', name, line });
  }

  onCursor(listener: (name: string, line: number) => void): void {
    this.listeners.add(listener);
  }

  outlined(): { file: string; line: number } | null {
    return this.cursor;
  }

  // The extension's 'cursor' message. Only a cursor the user moves counts for design, as on
  // the page; the line an editor happens to show when it comes up does not select.
  cursorMoved(name: string | null, line: number, moved: boolean): void {
    this.cursor = name === null ? null : { file: name, line };
    if (name !== null && moved) for (const listener of this.listeners) listener(name, line);
  }
}
