import type { Engine, Files } from './engine';

// The folder the page holds: each file's bytes, the file the editor shows, and the files
// edited in the page but not yet saved to where the folder came from. The device's own copy
// of the folder is kept in step with it.

export type WorkspaceEvent =
  | { kind: 'replaced' } // a whole new folder: the device was powered on again
  | { kind: 'changed'; name: string; by: 'edit' | 'outside' } // a file's bytes
  | { kind: 'removed'; name: string }
  | { kind: 'opened'; name: string } // the editor is to show this file
  | { kind: 'saved'; name: string }; // the file's unsaved edits were written

const utf8 = new TextEncoder();
const utf8Text = new TextDecoder();

export function bytesOfContent(content: string | Uint8Array | ArrayBuffer): Uint8Array {
  if (typeof content === 'string') return utf8.encode(content);
  if (content instanceof Uint8Array) return content;
  return new Uint8Array(content);
}

export class Workspace {
  private readonly files = new Map<string, Uint8Array>();
  private readonly unsavedNames = new Set<string>();
  private readonly listeners = new Set<(event: WorkspaceEvent) => void>();
  private shown = 'config.txt';

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

  unsavedFiles(): string[] {
    return [...this.unsavedNames].sort();
  }

  // Replaces the whole folder and powers a new device on, as the card being put in. The
  // editor shows config.txt.
  replace(files: Files): void {
    this.files.clear();
    this.unsavedNames.clear();
    for (const [name, content] of Object.entries(files)) this.files.set(name, bytesOfContent(content));
    this.engine.load(files);
    this.shown = 'config.txt';
    this.emit({ kind: 'replaced' });
    this.emit({ kind: 'opened', name: this.shown });
  }

  // The editor changed `name`: the device takes it as saved, so the display follows at
  // once, while the file stays unsaved until written back.
  edit(name: string, content: string | Uint8Array): void {
    this.set(name, bytesOfContent(content));
    this.unsavedNames.add(name);
    this.emit({ kind: 'changed', name, by: 'edit' });
  }

  // A file changed outside the page (a save seen on disk, a file added or converted).
  put(name: string, content: string | Uint8Array): void {
    this.set(name, bytesOfContent(content));
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
