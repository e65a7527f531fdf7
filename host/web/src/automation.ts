import type { DesignAutomation } from './design/design_automation';
import type { Files } from './engine';
import type { Pacer } from './pacer';
import type { ReadingRow } from './readings';
import type { Workspace } from './workspace';

// window.orvanta: the page for tests and for people who script it. load() then run(N)
// gives the picture and trace of `orvanta-cli render DIR --frames N`.
export interface Automation extends Partial<DesignAutomation> {
  // Replaces the folder, powers a new device on and pauses it.
  load(files: Files): void;
  // Pauses if running, then runs that many frames on the virtual clock.
  run(frames: number): void;
  // Back to real time, from the virtual time reached.
  resume(): void;
  pause(): void;
  // The panel as 16,384 words in row order, the desktop surface's words: red in bits 0-7,
  // green in 8-15, blue in 16-23.
  picture(): Uint32Array;
  // The trace since the last load.
  trace(): Uint8Array;
  // The line that drew pixel (x, y) of the picture: "none", "fps" or "FILE:LINE: KEYWORD",
  // the text `orvanta-cli render --line-at X,Y` prints.
  lineAt(x: number, y: number): string;
  // The checker's findings for the folder: the document `orvanta-cli check --format json`
  // prints for it, parsed.
  findings(): unknown;
  // Keeps at most `bytes` of trace from the next load on (0: the usual 64 MB); past it the
  // trace ends with a line saying so.
  traceLimit(bytes: number): void;
  // Opens a directory handle as if the user had chosen that folder: kept open, saves made
  // elsewhere followed. Tests hand it a folder of the origin-private file system.
  openDirectory?: (handle: FileSystemDirectoryHandle) => Promise<void>;
  // Reading overrides, as the Readings panel sets them (see readings_automation.ts).
  readings?: () => ReadingRow[];
  hold?: (file: string, line: number, value: string) => string;
  sweep?: (file: string, line: number) => string;
  release?: (file: string, line: number) => string;
}

export function makeAutomation(workspace: Workspace, pacer: Pacer, shown: () => void): Automation {
  const engine = workspace.engine;
  return {
    load(files) {
      pacer.pause();
      workspace.replace(files);
      shown();
    },
    run(frames) {
      if (!Number.isInteger(frames) || frames < 0 || frames > 0xffffffff)
        throw new RangeError('frames is a whole number from 0 to 4294967295');
      pacer.pause();
      engine.runFrames(frames);
      shown();
    },
    resume: () => pacer.resume(),
    pause() {
      pacer.pause();
      shown();
    },
    picture: () => engine.picture(),
    trace: () => engine.trace(),
    lineAt: (x, y) => engine.replyText(engine.call('line_at', x, y)),
    findings: () => JSON.parse(engine.replyText(engine.call('findings'))),
    traceLimit(bytes) {
      if (!Number.isInteger(bytes) || bytes < 0 || bytes > 0xffffffff)
        throw new RangeError('bytes is a whole number from 0 to 4294967295');
      engine.call('set_trace_cap', bytes);
    },
  };
}
