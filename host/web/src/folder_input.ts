// How a folder or files reach the page: dropped on it, or chosen in a picker. Where the
// browser hands out directory handles (Chromium), a folder comes as a handle the page can
// keep open; elsewhere it comes as its files' bytes. Only the top level counts: the card
// is flat, so files in subfolders are left out.

export type Arrival =
  | { kind: 'handle'; handle: FileSystemDirectoryHandle }
  | { kind: 'folder'; title: string; files: Map<string, Uint8Array> }
  | { kind: 'files'; files: File[] }; // loose files to add to the folder open

interface DirectoryPicking {
  showDirectoryPicker?(options?: { mode?: 'read' | 'readwrite' }): Promise<FileSystemDirectoryHandle>;
}
interface HandleItem {
  getAsFileSystemHandle?(): Promise<FileSystemHandle | null>;
}

export function canKeepFolders(): boolean {
  return typeof (window as DirectoryPicking).showDirectoryPicker === 'function';
}

async function bytesOf(file: File): Promise<Uint8Array> {
  return new Uint8Array(await file.arrayBuffer());
}

// The top-level files of a dropped directory entry (the fallback where no handle is given).
async function readEntry(directory: FileSystemDirectoryEntry): Promise<Map<string, Uint8Array>> {
  const reader = directory.createReader();
  const files = new Map<string, Uint8Array>();
  // readEntries answers in batches until it answers with none.
  for (;;) {
    const batch = await new Promise<FileSystemEntry[]>((resolve, reject) => reader.readEntries(resolve, reject));
    if (batch.length === 0) return files;
    for (const entry of batch) {
      if (!entry.isFile) continue;
      const file = await new Promise<File>((resolve, reject) => (entry as FileSystemFileEntry).file(resolve, reject));
      files.set(entry.name, await bytesOf(file));
    }
  }
}

// What a drop brings. Every item's handle or entry is asked for before the first await, as
// the drop's data is gone after the event.
export async function dropped(transfer: DataTransfer): Promise<Arrival | undefined> {
  const items = Array.from(transfer.items).filter((item) => item.kind === 'file');
  const handles = items.map((item) => (item as DataTransferItem & HandleItem).getAsFileSystemHandle?.());
  const entries = items.map((item) => item.webkitGetAsEntry());
  const loose = items.map((item) => item.getAsFile());
  if (canKeepFolders())
    for (const pending of handles) {
      const handle = await pending?.catch(() => null);
      if (handle?.kind === 'directory') return { kind: 'handle', handle: handle as FileSystemDirectoryHandle };
    }
  const directory = entries.find((entry) => entry?.isDirectory);
  if (directory) {
    return { kind: 'folder', title: directory.name, files: await readEntry(directory as FileSystemDirectoryEntry) };
  }
  const files = loose.filter((file): file is File => file !== null);
  return files.length > 0 ? { kind: 'files', files } : undefined;
}

// Lets the user choose a folder: the browser's directory picker where it has one, else a
// file input that takes a folder. Resolves to undefined when the user cancels.
export async function chooseFolder(): Promise<Arrival | undefined> {
  const picking = window as DirectoryPicking;
  if (picking.showDirectoryPicker) {
    try {
      return { kind: 'handle', handle: await picking.showDirectoryPicker({ mode: 'readwrite' }) };
    } catch {
      return undefined; // cancelled
    }
  }
  const chooser = document.createElement('input');
  chooser.type = 'file';
  chooser.webkitdirectory = true;
  const chosen = new Promise<FileList | null>((resolve) => {
    chooser.addEventListener('change', () => resolve(chooser.files), { once: true });
    chooser.addEventListener('cancel', () => resolve(null), { once: true });
  });
  chooser.click();
  const list = await chosen;
  if (!list || list.length === 0) return undefined;
  const files = new Map<string, Uint8Array>();
  let title = 'folder';
  for (const file of Array.from(list)) {
    // "folder/name" is a top-level file; deeper paths are in subfolders.
    const parts = file.webkitRelativePath.split('/');
    title = parts[0] || title;
    if (parts.length === 2) files.set(parts[1], await bytesOf(file));
  }
  return { kind: 'folder', title, files };
}
