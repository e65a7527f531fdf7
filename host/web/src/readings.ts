import type { Engine } from './engine';
import { readKept, writeKept } from './kept';
import type { Workspace } from './workspace';

// The page's reading overrides: the device's calls to hold, sweep and release an object
// named by its file and line, and the list of overrides kept with the folder in IndexedDB,
// so that they come back after a reload. A new device (another folder, a loaded one) takes
// them on again. The card has no such thing, so the share link and the zip never carry them.

export interface ReadingRow {
  file: string;
  line: number;
  keyword: string;
  kind: 'none' | 'level' | 'ends' | 'heading' | 'needle' | 'bearing' | 'digits' | 'phase';
  low: string; // the two ends, as values
  high: string;
  step: number;
  digits: number;
  mode: 'random' | 'hold' | 'sweep';
  value: string; // the held value, when held
}

export interface ReadingAnswer {
  ok: boolean;
  message: string; // why not, or a note such as that the value was clamped
}

export interface KeptOverride {
  file: string;
  line: number;
  mode: 'hold' | 'sweep';
  value: string;
}

export interface KeptReadings {
  title: string; // the folder they belong to
  overrides: KeptOverride[];
}

// The presets of the windows' Readings menu, as the device numbers them.
export const enum Preset {
  Device = 0,
  Minimum = 1,
  Maximum = 2,
  Sweep = 3,
}

const keyOf = (file: string, line: number): string => `${file}:${line}`;

export class Readings {
  private readonly overrides = new Map<string, KeptOverride>();
  private readonly listeners = new Set<() => void>();
  private restored = false;

  constructor(private readonly engine: Engine, private readonly workspace: Workspace) {
    let title = workspace.title;
    workspace.onEvent((event) => {
      if (event.kind !== 'replaced' || !this.restored) return;
      // Another folder's lines are not these overrides' lines.
      if (workspace.title !== title) {
        this.overrides.clear();
        this.keep();
      }
      title = workspace.title;
      this.reapply();
    });
  }

  // Takes the overrides kept for the folder on show and sets them on the device.
  async restore(): Promise<void> {
    try {
      const kept = await readKept('readings');
      if (kept && kept.title === this.workspace.title)
        for (const override of kept.overrides) this.overrides.set(keyOf(override.file, override.line), override);
    } finally {
      this.restored = true;
    }
    this.reapply();
  }

  // Called when the device took the kept overrides again (after a power-on or a restore).
  onChange(listener: () => void): void {
    this.listeners.add(listener);
  }

  fileOnShow(): string {
    return this.engine.replyText(this.engine.call('file_on_show'));
  }

  // The objects of the file on show, each with its reading and override.
  list(): ReadingRow[] {
    return JSON.parse(this.engine.replyText(this.engine.call('readings'))) as ReadingRow[];
  }

  hold(file: string, line: number, value: string): ReadingAnswer {
    const answer = this.send(() =>
      this.engine.withText(file, (f, fl) =>
        this.engine.withText(value, (v, vl) => this.engine.call('hold', f, fl, line, v, vl)),
      ),
    );
    if (answer.ok) this.remember({ file, line, mode: 'hold', value });
    return answer;
  }

  sweep(file: string, line: number): ReadingAnswer {
    const answer = this.send(() => this.engine.withText(file, (f, fl) => this.engine.call('sweep', f, fl, line)));
    if (answer.ok) this.remember({ file, line, mode: 'sweep', value: '' });
    return answer;
  }

  release(file: string, line: number): ReadingAnswer {
    const answer = this.send(() => this.engine.withText(file, (f, fl) => this.engine.call('release', f, fl, line)));
    if (this.overrides.delete(keyOf(file, line))) this.keep();
    return answer;
  }

  // Every object of the file on show at once; the kept list follows what the device took.
  preset(preset: Preset): void {
    this.engine.call('readings_preset', preset);
    for (const row of this.list()) {
      const key = keyOf(row.file, row.line);
      if (row.mode === 'random') this.overrides.delete(key);
      else this.overrides.set(key, { file: row.file, line: row.line, mode: row.mode, value: row.value });
    }
    this.keep();
  }

  // An edit moved lines of `file`: [old, new] pairs of 1-based lines, a new line below 1 for
  // a removed one. The overrides follow their objects on the device and in the kept list;
  // those of removed lines are dropped and returned, so that an undo can set them again.
  moveLines(file: string, moves: [number, number][]): KeptOverride[] {
    if (moves.length === 0) return [];
    this.engine.withText(file, (f, fl) =>
      this.engine.withText(JSON.stringify(moves), (m, ml) => this.engine.call('move_reading_lines', f, fl, m, ml)),
    );
    // Every moved override is taken out before any is put back, since lines may swap.
    const moved: KeptOverride[] = [];
    const dropped: KeptOverride[] = [];
    for (const [from, to] of moves) {
      const override = this.overrides.get(keyOf(file, from));
      if (!override) continue;
      this.overrides.delete(keyOf(file, from));
      if (to >= 1) moved.push({ ...override, line: to });
      else dropped.push(override);
    }
    for (const override of moved) this.overrides.set(keyOf(file, override.line), override);
    if (moved.length > 0 || dropped.length > 0) {
      this.keep();
      for (const listener of this.listeners) listener();
    }
    return dropped;
  }

  // The overrides that `lines` of `file` have now.
  overridesOn(file: string, lines: number[]): KeptOverride[] {
    return lines.flatMap((line) => this.overrides.get(keyOf(file, line)) ?? []);
  }

  // Sets overrides again, as an undo brings their lines back.
  restoreOverrides(overrides: KeptOverride[]): void {
    for (const override of overrides)
      if (override.mode === 'sweep') this.sweep(override.file, override.line);
      else this.hold(override.file, override.line, override.value);
    if (overrides.length > 0) for (const listener of this.listeners) listener();
  }

  private send(call: () => number): ReadingAnswer {
    return JSON.parse(this.engine.replyText(call())) as ReadingAnswer;
  }

  private remember(override: KeptOverride): void {
    this.overrides.set(keyOf(override.file, override.line), override);
    this.keep();
  }

  // Sets every kept override on the device again; those it refuses now are dropped.
  private reapply(): void {
    let dropped = false;
    for (const [key, override] of this.overrides) {
      const answer =
        override.mode === 'sweep'
          ? this.sweepQuietly(override)
          : this.send(() =>
              this.engine.withText(override.file, (f, fl) =>
                this.engine.withText(override.value, (v, vl) =>
                  this.engine.call('hold', f, fl, override.line, v, vl),
                ),
              ),
            );
      if (!answer.ok) {
        this.overrides.delete(key);
        dropped = true;
      }
    }
    if (dropped) this.keep();
    for (const listener of this.listeners) listener();
  }

  private sweepQuietly(override: KeptOverride): ReadingAnswer {
    return this.send(() => this.engine.withText(override.file, (f, fl) => this.engine.call('sweep', f, fl, override.line)));
  }

  private keep(): void {
    if (!this.restored) return;
    writeKept('readings', { title: this.workspace.title, overrides: [...this.overrides.values()] }).catch(() => {
      // Without IndexedDB (a private window may refuse it) the overrides last until a reload.
    });
  }
}
