import type { Stamp } from './disk_folder';
import type { Files } from './engine';
import type { KeptReadings } from './readings';
import type { Workspace } from './workspace';

// The page's folder kept in the browser's IndexedDB, so that no edit is lost to a reload.
// Two records: the folder (its files as last loaded or saved, and for a folder on disk its
// directory handle, which the browser stores but lets the page use again only once the user
// allows it), written when the folder changes; and the unsaved edits with the file on show,
// written as the user types.

const DATABASE = 'orvanta';
const STORE = 'folder';
// Beyond this the folder's saved files are not kept, only its unsaved edits: the browser's
// quota is shared with every page of the origin.
export const KEPT_BYTES = 32 * 1024 * 1024;

export interface KeptFolder {
  title: string; // the folder's name as the list shows it
  files?: Files; // every file, when the folder fits into KEPT_BYTES
  handle?: FileSystemDirectoryHandle; // for a folder on disk
}

export interface KeptEdits {
  unsaved: Files;
  // For each unsaved file of a folder on disk, the disk's version the edit started from, so
  // that a change made on disk meanwhile is noticed after the reload too.
  bases: Record<string, Stamp>;
  shown: string;
}

interface Records {
  folder: KeptFolder;
  edits: KeptEdits;
  readings: KeptReadings;
}

function open(): Promise<IDBDatabase> {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open(DATABASE, 1);
    request.onupgradeneeded = () => request.result.createObjectStore(STORE);
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

async function transact<T>(mode: IDBTransactionMode, use: (store: IDBObjectStore) => IDBRequest<T>): Promise<T> {
  const database = await open();
  try {
    return await new Promise<T>((resolve, reject) => {
      const transaction = database.transaction(STORE, mode);
      const request = use(transaction.objectStore(STORE));
      transaction.oncomplete = () => resolve(request.result);
      transaction.onerror = transaction.onabort = () => reject(transaction.error ?? request.error);
    });
  } finally {
    database.close();
  }
}

export function readKept<K extends keyof Records>(key: K): Promise<Records[K] | undefined> {
  return transact('readonly', (store) => store.get(key) as IDBRequest<Records[K] | undefined>);
}

let atStart: Promise<[KeptFolder | undefined, KeptEdits | undefined]> | undefined;

// The folder and edits kept from before, read once as the page starts: the page begins the
// reads before it compiles the device's module, so that the first picture need not wait
// for the database. A failed read is handled by whoever awaits it.
export function readKeptAtStart(): Promise<[KeptFolder | undefined, KeptEdits | undefined]> {
  if (!atStart) {
    atStart = Promise.all([readKept('folder'), readKept('edits')]);
    atStart.catch(() => {});
  }
  return atStart;
}

// A mark in the page's local storage that something was kept, read without waiting as the
// page starts: only a page with the mark holds its first picture back until the database
// has given its folder back. A folder kept by an earlier page, without the mark, still
// comes back, a moment after the first picture.
const KEPT_MARK = 'orvanta-kept';

export function keptBefore(): boolean {
  try {
    return localStorage.getItem(KEPT_MARK) !== null;
  } catch {
    return true; // no local storage to ask: wait for the database as before
  }
}

export async function writeKept<K extends keyof Records>(key: K, record: Records[K]): Promise<void> {
  await transact('readwrite', (store) => store.put(record, key));
  try {
    localStorage.setItem(KEPT_MARK, '1');
  } catch {
    // Without local storage, keptBefore() says so and the page waits for the database.
  }
}

// Keeps the folder's files, unless together they exceed KEPT_BYTES; returns their size.
export async function keepFolder(workspace: Workspace, title: string, handle?: FileSystemDirectoryHandle): Promise<number> {
  const files: Files = {};
  let total = 0;
  for (const name of workspace.names()) {
    const bytes = workspace.bytes(name)!;
    total += bytes.length;
    files[name] = bytes;
  }
  await writeKept('folder', { title, files: total <= KEPT_BYTES ? files : undefined, handle });
  return total;
}

// Keeps the unsaved edits, each with the disk's version it started from where known.
export async function keepEdits(workspace: Workspace, bases: Map<string, Stamp | undefined>): Promise<void> {
  const unsaved: Files = {};
  const known: Record<string, Stamp> = {};
  for (const name of workspace.unsavedFiles()) {
    unsaved[name] = workspace.bytes(name)!;
    const base = bases.get(name);
    if (base) known[name] = base;
  }
  await writeKept('edits', { unsaved, bases: known, shown: workspace.current });
}
