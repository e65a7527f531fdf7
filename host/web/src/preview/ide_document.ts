import type { DesignDocument, EditAnswer } from '../design/design_api';
import type { LinkedText } from '../pixel_link';
import type { Workspace } from '../workspace';
import type { FromPreview } from './preview_messages';

// The IDE's documents as the preview sees them: their texts are the workspace's (the
// extension sends every unsaved change), and what the preview does to them goes back to the
// extension as messages. The extension makes each apply() one workspace edit, so one step of
// the editor's undo history, and leaves the file unsaved.
export class IdeDocument implements DesignDocument, LinkedText {
  private readonly listeners = new Set<(name: string, line: number) => void>();
  private cursor: { file: string; line: number } | null = null;

  constructor(private readonly workspace: Workspace, private readonly post: (message: FromPreview) => void) {}

  text(name: string): string {
    return this.workspace.text(name);
  }

  apply(name: string, answer: EditAnswer): void {
    if (answer.edits && answer.edits.length > 0) this.post({ type: 'apply', name, edits: answer.edits });
  }

  reveal(name: string, line: number): void {
    this.post({ type: 'reveal', name, line });
  }

  onCursor(listener: (name: string, line: number) => void): void {
    this.listeners.add(listener);
  }

  outlined(): { file: string; line: number } | null {
    return this.cursor;
  }

  // The editor's cursor moved (the extension's 'cursor' message).
  cursorMoved(name: string | null, line: number): void {
    this.cursor = name === null ? null : { file: name, line };
    for (const listener of this.listeners) listener(name ?? '', line);
  }
}
