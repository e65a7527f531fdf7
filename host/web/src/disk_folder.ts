// A folder on disk held open through the File System Access API (Chromium): read at the
// top level (the card is flat, so subfolders are passed over), watched for saves made by
// other programs, and written to only when the user saves.

// The parts of the API that TypeScript's DOM library leaves out.
interface Permissions {
  queryPermission?(options: { mode: 'readwrite' }): Promise<PermissionState>;
  requestPermission?(options: { mode: 'readwrite' }): Promise<PermissionState>;
}
type Listed = AsyncIterable<[string, FileSystemHandle]>;

export interface Stamp {
  size: number;
  lastModified: number;
}

export interface DiskChange {
  name: string;
  bytes?: Uint8Array; // undefined: the file is gone
  stamp?: Stamp;
}

// How often the folder is looked at: twice a second, so that a save shows within a second,
// and less often for a folder so large that looking takes a noticeable share of the page.
export function pollInterval(files: number): number {
  return Math.max(500, Math.ceil(files / 2));
}

export function sameStamp(a: Stamp | undefined, b: Stamp | undefined): boolean {
  return a !== undefined && b !== undefined && a.size === b.size && a.lastModified === b.lastModified;
}

export class DiskFolder {
  // Each file's size and time as last read or written by the page.
  readonly stamps = new Map<string, Stamp>();

  constructor(readonly handle: FileSystemDirectoryHandle) {}

  get title(): string {
    return this.handle.name;
  }

  // Whether the page may write; asks the user when `ask` (a click must be under way).
  async permitted(ask: boolean): Promise<boolean> {
    const handle = this.handle as FileSystemDirectoryHandle & Permissions;
    if (!handle.queryPermission) return true;
    if ((await handle.queryPermission({ mode: 'readwrite' })) === 'granted') return true;
    return ask && handle.requestPermission !== undefined &&
      (await handle.requestPermission({ mode: 'readwrite' })) === 'granted';
  }

  // Every file at the top level with its bytes.
  async readAll(): Promise<Map<string, Uint8Array>> {
    const files = new Map<string, Uint8Array>();
    for await (const [name, entry] of this.handle as unknown as Listed) {
      if (entry.kind !== 'file') continue;
      const file = await (entry as FileSystemFileHandle).getFile();
      files.set(name, new Uint8Array(await file.arrayBuffer()));
      this.stamps.set(name, { size: file.size, lastModified: file.lastModified });
    }
    return files;
  }

  // The bytes of `name` as the disk has them now, or undefined when it is gone; its stamp
  // is brought up to date.
  async read(name: string): Promise<Uint8Array | undefined> {
    try {
      const file = await (await this.handle.getFileHandle(name)).getFile();
      this.stamps.set(name, { size: file.size, lastModified: file.lastModified });
      return new Uint8Array(await file.arrayBuffer());
    } catch {
      return undefined;
    }
  }

  // Writes `bytes` as `name` and returns the stamp the disk now shows for it.
  async write(name: string, bytes: Uint8Array): Promise<Stamp> {
    const entry = await this.handle.getFileHandle(name, { create: true });
    const writable = await entry.createWritable();
    await writable.write(bytes as Uint8Array<ArrayBuffer>);
    await writable.close();
    const file = await entry.getFile();
    const stamp = { size: file.size, lastModified: file.lastModified };
    this.stamps.set(name, stamp);
    return stamp;
  }

  async remove(name: string): Promise<void> {
    await this.handle.removeEntry(name).catch((error: unknown) => {
      if (!(error instanceof DOMException && error.name === 'NotFoundError')) throw error;
    });
    this.stamps.delete(name);
  }

  // The disk's current stamp of `name`, or undefined when it is gone.
  async stamp(name: string): Promise<Stamp | undefined> {
    try {
      const file = await (await this.handle.getFileHandle(name)).getFile();
      return { size: file.size, lastModified: file.lastModified };
    } catch {
      return undefined;
    }
  }

  // The files whose size or time differs from what the page last saw, new ones and removed
  // ones; the changed ones read. The stamps are brought up to date.
  async changes(): Promise<DiskChange[]> {
    const changes: DiskChange[] = [];
    const present = new Set<string>();
    for await (const [name, entry] of this.handle as unknown as Listed) {
      if (entry.kind !== 'file') continue;
      present.add(name);
      const file = await (entry as FileSystemFileHandle).getFile();
      const stamp = { size: file.size, lastModified: file.lastModified };
      if (sameStamp(this.stamps.get(name), stamp)) continue;
      this.stamps.set(name, stamp);
      changes.push({ name, bytes: new Uint8Array(await file.arrayBuffer()), stamp });
    }
    for (const name of [...this.stamps.keys()])
      if (!present.has(name)) {
        this.stamps.delete(name);
        changes.push({ name });
      }
    return changes;
  }
}
