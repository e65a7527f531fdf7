import { bytesOf, type Engine, type Files } from './engine';

// The folder the page holds: each file's bytes, the file the editor shows, and the files
// edited in the page but not yet saved to where the folder came from. The device's own copy
// of the folder is kept in step with it.

export type WorkspaceEvent =
  | { kind: 'replaced' } // a whole new folder: the device was powered on again
  | { kind: 'changed'; name: string; by: 'edit' | 'outside' } // a file's bytes
  | { kind: 'removed'; name: string }
  | { kind: 'opened'; name: string } // the editor is to show this file
  | { kind: 'saved'; name: string }; // the file's unsaved edits were written

const utf8Text = new TextDecoder();
const strictUtf8 = new TextDecoder('utf-8', { fatal: true });

// Larger files open read-only: an editor slows down on them, and configuration files and
// panel-sized pictures are far smaller.
export const EDITABLE_BYTES = 1024 * 1024;

export class Workspace {
  private readonly files = new Map<string, Uint8Array>();
  private readonly unsavedNames = new Set<string>();
  private readonly listeners = new Set<(event: WorkspaceEvent) => void>();
  private shown = 'config.txt';
  // What the folder is called in the file list: the example's, the link's or the folder's
  // own name.
  title = 'folder';
  // Whether each file's bytes are text, worked out once per version of the file.
  private readonly notTextReasons = new WeakMap<Uint8Array, string>();

  constructor(readonly engine: Engine) {}

  names(): string[] {
    return [...this.files.keys()].sort();
  }

  has(name: string): boolean {
    return this.files.has(name);
  }

  bytes(name: string): Uint8Array | undefined {
    return this.files.get(name);
  }

  // The file as text; bytes that are not UTF-8 read as U+FFFD.
  text(name: string): string {
    const bytes = this.files.get(name);
    return bytes ? utf8Text.decode(bytes) : '';
  }

  // The file the editor shows.
  get current(): string {
    return this.shown;
  }

  unsaved(name: string): boolean {
    return this.unsavedNames.has(name);
  }

  // Why the editor must not change `name`, or undefined when it may. Editing goes through
  // text, so a file that is not UTF-8 text would have its other bytes replaced on saving.
  readOnlyReason(name: string): string | undefined {
    const bytes = this.files.get(name);
    if (!bytes) return undefined;
    if (bytes.length > EDITABLE_BYTES)
      return `${name} is ${(bytes.length / 1048576).toFixed(1)} MB, more than the 1 MB the editor takes: it opens read-only.`;
    let reason = this.notTextReasons.get(bytes);
    if (reason === undefined) {
      reason = '';
      try {
        strictUtf8.decode(bytes);
      } catch {
        reason = `${name} holds bytes that are not text; editing it here would change them, so it opens read-only.`;
      }
      this.notTextReasons.set(bytes, reason);
    }
    return reason || undefined;
  }

  unsavedFiles(): string[] {
    return [...this.unsavedNames].sort();
  }

  // Replaces the whole folder and powers a new device on, as the card being put in. The
  // editor shows config.txt.
  replace(files: Files, title = 'folder'): void {
    this.title = title;
    this.files.clear();
    this.unsavedNames.clear();
    for (const [name, content] of Object.entries(files)) this.files.set(name, bytesOf(content));
    // The device takes the bytes made above: encoding a large text twice costs seconds.
    this.engine.load(Object.fromEntries(this.files));
    this.shown = 'config.txt';
    this.emit({ kind: 'replaced' });
    this.emit({ kind: 'opened', name: this.shown });
  }

  // The editor changed `name`: the device takes it as saved, so the display follows at
  // once, while the file stays unsaved until written back.
  edit(name: string, content: string | Uint8Array): void {
    this.set(name, bytesOf(content));
    this.unsavedNames.add(name);
    this.emit({ kind: 'changed', name, by: 'edit' });
  }

  // A file changed outside the page (a save seen on disk, a file added or converted).
  put(name: string, content: string | Uint8Array): void {
    this.set(name, bytesOf(content));
    this.unsavedNames.delete(name);
    this.emit({ kind: 'changed', name, by: 'outside' });
  }

  remove(name: string): void {
    if (!this.files.delete(name)) return;
    this.unsavedNames.delete(name);
    this.engine.removeFile(name);
    this.engine.fileSaved(name);
    this.emit({ kind: 'removed', name });
  }

  // Gives `from` the name `to`, unsaved edits and the editor's place included. Returns false
  // when `from` is missing or `to` is taken.
  rename(from: string, to: string): boolean {
    const bytes = this.files.get(from);
    if (!bytes || this.files.has(to)) return false;
    const unsaved = this.unsavedNames.has(from);
    this.set(to, bytes);
    if (unsaved) this.unsavedNames.add(to);
    this.emit({ kind: 'changed', name: to, by: unsaved ? 'edit' : 'outside' });
    const wasShown = this.shown === from;
    this.remove(from);
    if (wasShown) this.open(to);
    return true;
  }

  // The unsaved edits of `name` were written to where the folder came from.
  markSaved(name: string): void {
    if (this.unsavedNames.delete(name)) this.emit({ kind: 'saved', name });
  }

  open(name: string): void {
    this.shown = name;
    this.emit({ kind: 'opened', name });
  }

  onEvent(listener: (event: WorkspaceEvent) => void): () => void {
    this.listeners.add(listener);
    return () => this.listeners.delete(listener);
  }

  private set(name: string, bytes: Uint8Array): void {
    this.files.set(name, bytes);
    this.engine.putFile(name, bytes);
    this.engine.fileSaved(name);
  }

  private emit(event: WorkspaceEvent): void {
    for (const listener of this.listeners) listener(event);
  }
}
