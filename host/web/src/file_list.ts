import type { Workspace } from './workspace';

// The list of the folder's files: the chain from config.txt marked with each file's place in
// it, the file on show, and the files with unsaved edits. A folder of thousands of files
// shows its first rows and a filter; one listener serves every row.

const MAX_ROWS = 200;

export interface Chain {
  chain: string[];
  missing: string | null;
  more: boolean; // the chain goes on beyond the files named
}

export class FileList {
  readonly element: HTMLElement;
  private readonly filter: HTMLInputElement;
  private readonly rows: HTMLOListElement;
  private readonly more: HTMLParagraphElement;
  private chain: Chain = { chain: [], missing: null, more: false };

  constructor(
    private readonly workspace: Workspace,
    chosen: (name: string) => void,
  ) {
    this.element = document.createElement('div');
    this.element.className = 'file-list';
    this.filter = document.createElement('input');
    this.filter.type = 'search';
    this.filter.placeholder = 'Filter files';
    this.filter.setAttribute('aria-label', 'Filter files');
    this.filter.addEventListener('input', () => this.render());
    this.rows = document.createElement('ol');
    this.rows.setAttribute('aria-label', 'The folder’s files');
    this.rows.addEventListener('click', (event) => {
      const row = (event.target as HTMLElement).closest<HTMLElement>('li[data-name]');
      if (row?.dataset.name !== undefined) chosen(row.dataset.name);
    });
    this.more = document.createElement('p');
    this.more.className = 'more';
    this.element.append(this.filter, this.rows, this.more);
  }

  setChain(chain: Chain): void {
    this.chain = chain;
    this.render();
  }

  render(): void {
    const wanted = this.filter.value.toLowerCase();
    const place = new Map(this.chain.chain.map((name, index) => [name, index + 1]));
    // The chain's files come first, in the order the device shows them, then the others.
    const names = this.workspace
      .names()
      .filter((name) => name.toLowerCase().includes(wanted))
      .sort((a, b) => (place.get(a) ?? Infinity) - (place.get(b) ?? Infinity) || (a < b ? -1 : a > b ? 1 : 0));
    const shown = names.slice(0, MAX_ROWS);
    const rows = shown.map((name) => {
      const row = document.createElement('li');
      row.dataset.name = name;
      row.textContent = name;
      row.title = name;
      const step = place.get(name);
      if (step !== undefined) {
        row.dataset.chain = String(step);
        row.title = `${name}: file ${step} of the chain from config.txt`;
      }
      if (this.workspace.unsaved(name)) {
        row.classList.add('unsaved');
        row.title += ' (unsaved edits)';
      }
      const readOnly = this.workspace.readOnlyReason(name);
      if (readOnly !== undefined) {
        row.classList.add('read-only');
        row.title += ` — ${readOnly}`;
      }
      if (name === this.workspace.current) row.setAttribute('aria-current', 'true');
      return row;
    });
    if (this.chain.missing !== null) {
      const row = document.createElement('li');
      row.className = 'missing';
      row.textContent = this.chain.missing;
      row.title = `${this.chain.missing} is named by the chain but not in the folder`;
      rows.splice(shown.filter((name) => place.has(name)).length, 0, row);
    }
    this.rows.replaceChildren(...rows);
    const left = names.length - shown.length;
    this.more.textContent = [
      left > 0 ? `…and ${left} more: type in the filter to find them.` : '',
      this.chain.more ? `The chain goes on beyond the ${this.chain.chain.length} files marked.` : '',
    ].join(' ');
  }
}
