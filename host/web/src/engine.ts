// The device in its WebAssembly module: a thin wrapper over the module's C functions that
// copies names and bytes in and pictures and traces out.
import wasm from 'orvanta:engine-wasm';

import { bytesOf, inflatedBase64, ModuleCalls, type WasmModule } from './module_calls';

export { base64Bytes, bytesOf } from './module_calls';

// Defined by orvanta-engine.js, which the page loads before its own script. Given the
// module's bytes, it fetches nothing.
declare function createOrvantaEngine(options: { wasmBinary: Uint8Array }): Promise<WasmModule>;

// A folder as the page hands it over: names to text (written as UTF-8) or bytes.
export type Files = Record<string, string | Uint8Array | ArrayBuffer>;

export const PANEL_SIZE = 128;

const utf8 = new TextEncoder();

export class Engine extends ModuleCalls {
  static async create(): Promise<Engine> {
    const wasmBinary = await inflatedBase64(wasm);
    performance.mark('orvanta-wasm-decoded');
    return new Engine(await createOrvantaEngine({ wasmBinary }));
  }

  // Replaces the folder and powers a new device on; no frame has run yet.
  load(files: Files): void {
    this.module._orvanta_clear_files();
    for (const [name, content] of Object.entries(files)) this.putFile(name, content);
    this.module._orvanta_power_on();
  }

  // Sets one file of the folder, for every open to come; the device notices only when told
  // (fileSaved) or when it next opens the file.
  putFile(name: string, content: string | Uint8Array | ArrayBuffer): void {
    const bytes = bytesOf(content);
    const accepted = this.withBytes(utf8.encode(name), (namePointer, nameLength) =>
      this.withBytes(bytes, (bytesPointer, size) =>
        this.call('put_file', namePointer, nameLength, bytesPointer, size),
      ),
    );
    if (!accepted) throw new RangeError(`not a file name: ${JSON.stringify(name)}`);
  }

  removeFile(name: string): void {
    this.withBytes(utf8.encode(name), (pointer, length) => this.call('remove_file', pointer, length));
  }

  // Tells the device that `name` was saved, as the windows do when a save has settled.
  fileSaved(name: string): void {
    this.withBytes(utf8.encode(name), (pointer, length) => this.call('file_saved', pointer, length));
  }

  runFrames(count: number): void {
    this.module._orvanta_run_frames(count);
  }

  // Milliseconds after the first frame's start at which the next frame starts.
  nextStart(): number {
    return this.module._orvanta_next_start();
  }

  // Milliseconds, on the same clock, at which the last frame ended; 0 before any.
  lastEnd(): number {
    return this.module._orvanta_last_end();
  }

  framesRun(): number {
    return this.module._orvanta_frames_run();
  }

  // The panel as the surface's words (red in bits 0-7, green 8-15, blue 16-23), row after
  // row; a copy.
  picture(): Uint32Array {
    const at = this.module._orvanta_picture() >>> 2;
    return this.module.HEAPU32.slice(at, at + PANEL_SIZE * PANEL_SIZE);
  }

  // The trace since the device was powered on; a copy.
  trace(): Uint8Array {
    const at = this.module._orvanta_trace();
    return this.module.HEAPU8.slice(at, at + this.module._orvanta_trace_size());
  }

  reload(): void {
    this.module._orvanta_reload();
  }

  nextFile(): void {
    this.module._orvanta_next_file();
  }

  restart(): void {
    this.module._orvanta_restart();
  }

  toggleLoop(): boolean {
    return this.module._orvanta_toggle_loop() !== 0;
  }
}
