import { button } from './controls';
import { DiskFolder, pollInterval, sameStamp, type Stamp } from './disk_folder';
import type { Files } from './engine';
import { askConflict } from './file_dialogs';
import { FileList } from './file_list';
import { canKeepFolders, chooseFolder, dropped, type Arrival } from './folder_input';
import { KEPT_BYTES, keepEdits, keepFolder, type readKept, readKeptAtStart } from './kept';
import { readChain } from './folder_engine';
import { arrivingFile } from './picture_arrival';
import type { Workspace } from './workspace';
import { downloadBytes, folderZip } from './zip';

// Where the folder lives: in the page (built in, dropped without a handle, loaded by a
// script), on disk through a handle the page holds, or on disk through a handle kept from
// before a reload that the user has not yet allowed again.
type Origin =
  | { kind: 'page'; title: string }
  | { kind: 'disk'; disk: DiskFolder }
  | { kind: 'waiting'; handle: FileSystemDirectoryHandle };

// A name the folder can hold: the card is flat, so no separators.
export function validName(name: string): boolean {
  return name.length > 0 && name !== '.' && name !== '..' && !/[/\\\0]/.test(name);
}

export class FolderFiles {
  private origin: Origin = { kind: 'page', title: this.workspace.title };
  private ownReplace = false; // the 'replaced' under way is this object's own
  private generation = 0; // counts folders opened, so the watch of an old one stops
  private queue: Promise<unknown> = Promise.resolve(); // disk work, one thing at a time
  private readonly bases = new Map<string, Stamp | undefined>();
  private readonly list: FileList;
  private readonly heading = document.createElement('h2');
  private readonly note = document.createElement('p');
  private readonly reopenButton: HTMLButtonElement;
  private readonly saveButtons: HTMLButtonElement[];
  private timers: Record<'chain' | 'folder' | 'edits', ReturnType<typeof setTimeout> | undefined> = {
    chain: undefined,
    folder: undefined,
    edits: undefined,
  };

  constructor(
    private readonly workspace: Workspace,
    region: HTMLElement,
  ) {
    this.list = new FileList(workspace, (name) => workspace.open(name));
    this.note.className = 'note';
    this.note.setAttribute('role', 'status');
    this.reopenButton = button('Open the folder again', 'Allow the page to use the folder it had open', () =>
      this.reopen(),
    );
    this.reopenButton.hidden = true;
    this.saveButtons = [
      button('Save', 'Write the file on show back to its folder (Ctrl+S)', () => this.save(workspace.current)),
      button('Save all', 'Write every unsaved file back (Ctrl+Shift+S)', () => this.saveAll()),
    ];
    const tools = document.createElement('div');
    tools.className = 'file-tools';
    tools.append(
      button('Open folder…', 'Open a folder of the card, or drop one on the page', () => this.choose()),
      this.reopenButton,
      ...this.saveButtons,
      button('New', 'Add an empty file', () => this.create()),
      button('Rename', 'Rename the file on show', () => this.rename()),
      button('Delete', 'Delete the file on show', () => this.delete()),
      button('Download zip', 'The folder as a zip, to unpack onto the card', () => this.downloadZip()),
    );
    region.append(this.heading, tools, this.note, this.list.element);
    workspace.onEvent((event) => {
      if (event.kind === 'replaced' && !this.ownReplace) this.detach({ kind: 'page', title: this.workspace.title });
      if (event.kind === 'changed' && event.by === 'edit' && this.origin.kind === 'disk' && !this.bases.has(event.name))
        this.bases.set(event.name, this.origin.disk.stamps.get(event.name));
      if (event.kind === 'saved' || event.kind === 'removed' || (event.kind === 'changed' && event.by === 'outside'))
        this.bases.delete(event.name);
      if (event.kind !== 'opened') this.later('chain', 150, () => this.list.setChain(readChain(workspace.engine)));
      if (event.kind === 'replaced' || event.kind === 'removed' || event.kind === 'saved' ||
          (event.kind === 'changed' && event.by === 'outside'))
        this.later('folder', 500, () => this.keepFolder());
      this.later('edits', 300, () => keepEdits(workspace, this.bases));
      this.show();
    });
    window.addEventListener('keydown', (event) => this.key(event), { capture: true });
    window.addEventListener('beforeunload', (event) => {
      if (workspace.unsavedFiles().length === 0) return;
      event.preventDefault();
      event.returnValue = '';
    });
    document.addEventListener('dragover', (event) => {
      if (!event.dataTransfer?.types.includes('Files')) return;
      event.preventDefault();
      document.body.classList.add('dropping');
    });
    document.addEventListener('dragleave', (event) => {
      if (event.relatedTarget === null) document.body.classList.remove('dropping');
    });
    document.addEventListener('drop', (event) => {
      document.body.classList.remove('dropping');
      if (!event.dataTransfer) return;
      event.preventDefault();
      void dropped(event.dataTransfer).then((arrival) => arrival && this.arrive(arrival));
    });
    this.list.setChain(readChain(workspace.engine));
    this.show();
  }

  // Opens the folder behind `handle`, kept open: saves elsewhere are followed, and edits
  // are written back when saved. `edits` are unsaved edits to put on top, from before a
  // reload; `bases` the disk's versions they started from.
  async openDirectory(handle: FileSystemDirectoryHandle, edits?: Files, bases?: Record<string, Stamp>): Promise<void> {
    const disk = new DiskFolder(handle);
    const files = await disk.readAll();
    this.replaceWith({ kind: 'disk', disk }, Object.fromEntries(files));
    for (const [name, content] of Object.entries(edits ?? {})) {
      const base = bases?.[name];
      // An edit from before the reload whose file changed on disk since is not put on top
      // without asking.
      if (base && files.has(name) && !sameStamp(base, disk.stamps.get(name)) && (await askConflict(name)) === 'disk')
        continue;
      this.workspace.edit(name, content as Uint8Array | string);
    }
    this.watch(disk, this.generation);
  }

  // Puts the kept folder and its unsaved edits back after a reload of the page.
  async restore(start: { linked: boolean } = { linked: false }): Promise<void> {
    const [folder, edits] = await readKeptAtStart();
    if (!folder) return;
    const keptEdits = Object.keys(edits?.unsaved ?? {}).length;
    if (start.linked) {
      if (keptEdits === 0) return;
      this.say(
        `The link's folder was not opened: ${keptEdits} unsaved edit(s) from before are shown. ` +
          'Save or download them, then open the link again.',
      );
    }
    if (folder.files) {
      const origin: Origin = folder.handle
        ? { kind: 'waiting', handle: folder.handle }
        : { kind: 'page', title: folder.title };
      this.replaceWith(origin, folder.files);
      for (const [name, content] of Object.entries(edits?.unsaved ?? {}))
        this.workspace.edit(name, content as Uint8Array | string);
      for (const [name, stamp] of Object.entries(edits?.bases ?? {})) this.bases.set(name, stamp);
      if (edits && this.workspace.has(edits.shown)) this.workspace.open(edits.shown);
    } else if (folder.handle) {
      this.origin = { kind: 'waiting', handle: folder.handle };
      this.keptEdits = edits;
    }
    this.show();
  }

  private keptEdits: Awaited<ReturnType<typeof readKept<'edits'>>>;

  private async reopen(): Promise<boolean> {
    if (this.origin.kind !== 'waiting') return this.origin.kind === 'disk';
    const handle = this.origin.handle;
    const disk = new DiskFolder(handle);
    if (!(await disk.permitted(true))) {
      this.say(`The browser did not allow the page to use ${handle.name} again.`);
      return false;
    }
    const edits: Files = {};
    for (const name of this.workspace.unsavedFiles()) edits[name] = this.workspace.bytes(name)!;
    const bases = Object.fromEntries(
      [...this.bases].filter((entry): entry is [string, Stamp] => entry[1] !== undefined),
    );
    await this.openDirectory(handle, { ...this.keptEdits?.unsaved, ...edits }, { ...this.keptEdits?.bases, ...bases });
    this.keptEdits = undefined;
    return true;
  }

  // Writes `name`'s unsaved edits back; a file changed on disk since the edit began is not
  // overwritten without asking.
  async save(name: string): Promise<void> {
    if (!this.workspace.unsaved(name)) return;
    if (this.origin.kind === 'waiting' && !(await this.reopen())) return;
    if (this.origin.kind !== 'disk') {
      this.workspace.markSaved(name); // the folder lives in the page, kept in the browser
      return;
    }
    const disk = this.origin.disk;
    await this.serially(async () => {
      const bytes = this.workspace.bytes(name);
      if (!bytes || !this.workspace.unsaved(name)) return;
      const now = await disk.stamp(name);
      const base = this.bases.get(name);
      if (now !== undefined && !sameStamp(now, base) && (await askConflict(name)) === 'disk') {
        const theirs = await disk.read(name);
        if (theirs) this.workspace.put(name, theirs);
        return;
      }
      await disk.write(name, this.workspace.bytes(name) ?? bytes);
      this.workspace.markSaved(name);
    });
  }

  async saveAll(): Promise<void> {
    for (const name of this.workspace.unsavedFiles()) await this.save(name);
  }

  private async create(): Promise<void> {
    const name = this.askName('Name of the new file', 'new.txt');
    if (name !== undefined) this.workspace.edit(name, '');
    if (name !== undefined) this.workspace.open(name);
  }

  private async rename(): Promise<void> {
    const from = this.workspace.current;
    if (!this.workspace.has(from)) return;
    const to = this.askName(`New name for ${from}`, from);
    if (to === undefined || to === from) return;
    if (this.origin.kind === 'disk') {
      const disk = this.origin.disk;
      // The disk's own bytes move; unsaved edits stay unsaved under the new name.
      await this.serially(async () => {
        const saved = await disk.read(from);
        if (saved) await disk.write(to, saved);
        await disk.remove(from);
      });
    }
    this.workspace.rename(from, to);
  }

  private async delete(): Promise<void> {
    const name = this.workspace.current;
    if (!this.workspace.has(name) || !confirm(`Delete ${name}?`)) return;
    if (this.origin.kind === 'disk') {
      const disk = this.origin.disk;
      await this.serially(() => disk.remove(name));
    }
    this.workspace.remove(name);
  }

  private downloadZip(): void {
    downloadBytes(folderZip(this.workspace), `${this.title()}.zip`, 'application/zip');
  }

  private async choose(): Promise<void> {
    const arrival = await chooseFolder();
    if (arrival) await this.arrive(arrival);
  }

  private async arrive(arrival: Arrival): Promise<void> {
    if (arrival.kind === 'handle') await this.openDirectory(arrival.handle);
    else if (arrival.kind === 'folder')
      this.replaceWith({ kind: 'page', title: arrival.title }, Object.fromEntries(arrival.files));
    else
      for (const file of arrival.files) await this.add(file.name, new Uint8Array(await file.arrayBuffer()), file.type);
  }

  // Adds a dropped file, as an unsaved edit; a picture the device cannot draw as it is is
  // offered to the picture converter.
  async add(name: string, bytes: Uint8Array, type = ''): Promise<void> {
    const arriving = await arrivingFile(this.workspace.engine, name, bytes, type);
    if (!arriving) return;
    if ('problem' in arriving) {
      this.say(arriving.problem);
      return;
    }
    const { name: added, bytes: content } = arriving;
    if (!validName(added)) {
      this.say(`${added} cannot be a file name on the card.`);
      return;
    }
    if (this.workspace.has(added) && !confirm(`Replace ${added}?`)) return;
    this.workspace.edit(added, content);
  }

  // Looks at the disk every pollInterval() for as long as `disk` is the folder open.
  private watch(disk: DiskFolder, generation: number): void {
    const look = async (): Promise<void> => {
      if (generation !== this.generation) return;
      await this.serially(async () => {
        const changes = await disk.changes().catch(() => []);
        for (const change of changes) {
          if (generation !== this.generation) return;
          if (change.bytes === undefined) {
            // A file removed on disk keeps its unsaved edits here, to be saved again.
            if (!this.workspace.unsaved(change.name)) this.workspace.remove(change.name);
          } else if (!this.workspace.unsaved(change.name) || (await askConflict(change.name)) === 'disk') {
            this.workspace.put(change.name, change.bytes);
          } else {
            this.bases.set(change.name, change.stamp); // mine kept: saving now overwrites it
          }
        }
      });
      if (generation === this.generation) setTimeout(look, pollInterval(disk.stamps.size));
    };
    setTimeout(look, pollInterval(disk.stamps.size));
  }

  private replaceWith(origin: Origin, files: Files): void {
    this.detach(origin);
    this.ownReplace = true;
    try {
      this.workspace.replace(files);
    } finally {
      this.ownReplace = false;
    }
  }

  private detach(origin: Origin): void {
    ++this.generation;
    this.origin = origin;
    this.bases.clear();
    this.keptEdits = undefined;
  }

  private serially<T>(work: () => Promise<T>): Promise<T> {
    const done = this.queue.then(work);
    this.queue = done.catch((error: unknown) => this.say(String(error)));
    return done;
  }

  private title(): string {
    if (this.origin.kind === 'disk') return this.origin.disk.title;
    return this.origin.kind === 'waiting' ? this.origin.handle.name : this.origin.title;
  }

  private askName(question: string, suggestion: string): string | undefined {
    const name = prompt(question, suggestion)?.trim();
    if (name === undefined || name === '') return undefined;
    if (!validName(name)) {
      this.say(`${name} cannot be a file name on the card: it holds a slash, a backslash or a NUL.`);
      return undefined;
    }
    if (this.workspace.has(name) && name !== this.workspace.current) {
      this.say(`The folder already has ${name}.`);
      return undefined;
    }
    return name;
  }

  private key(event: KeyboardEvent): void {
    if (!(event.ctrlKey || event.metaKey) || event.altKey || event.key.toLowerCase() !== 's') return;
    event.preventDefault();
    void (event.shiftKey ? this.saveAll() : this.save(this.workspace.current));
  }

  private later(which: keyof FolderFiles['timers'], wait: number, work: () => void | Promise<void>): void {
    clearTimeout(this.timers[which]);
    this.timers[which] = setTimeout(async () => {
      try {
        await work();
      } catch (error) {
        // A browser that keeps nothing (IndexedDB off, quota full) still runs the page.
        this.say(`The browser did not keep the folder: ${String(error)}`);
      }
    }, wait);
  }

  private async keepFolder(): Promise<void> {
    const handle =
      this.origin.kind === 'disk' ? this.origin.disk.handle : this.origin.kind === 'waiting' ? this.origin.handle : undefined;
    const total = await keepFolder(this.workspace, this.title(), handle);
    if (total > KEPT_BYTES)
      this.say(
        `The folder is ${(total / 1048576).toFixed(0)} MB, more than the ${KEPT_BYTES / 1048576} MB the browser keeps` +
          (handle ? ': after a reload it is read from disk again.' : ': only its unsaved edits survive a reload.'),
      );
  }

  private say(text: string): void {
    this.note.textContent = text;
  }

  private show(): void {
    const where = {
      page: canKeepFolders() ? 'in the page' : 'in the page: download it as a zip for the card',
      disk: 'open on disk',
      waiting: 'on disk, waiting to be allowed again',
    }[this.origin.kind];
    this.heading.textContent = this.title();
    this.heading.title = `${this.title()}: ${where}`;
    this.heading.dataset.origin = this.origin.kind;
    this.reopenButton.hidden = this.origin.kind !== 'waiting';
    const unsaved = this.workspace.unsavedFiles().length;
    for (const save of this.saveButtons) save.disabled = unsaved === 0;
    this.list.render();
  }
}
