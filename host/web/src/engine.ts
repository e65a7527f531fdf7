// The device in its WebAssembly module: a thin wrapper over the module's C functions that
// copies names and bytes in and pictures and traces out.
import wasm from 'orvanta:engine-wasm';

interface EngineModule {
  HEAPU8: Uint8Array;
  HEAPU32: Uint32Array;
  _orvanta_alloc(size: number): number;
  _orvanta_free(pointer: number): void;
  _orvanta_clear_files(): void;
  _orvanta_put_file(name: number, nameLength: number, bytes: number, size: number): number;
  _orvanta_power_on(): void;
  _orvanta_run_frames(count: number): void;
  _orvanta_next_start(): number;
  _orvanta_frames_run(): number;
  _orvanta_picture(): number;
  _orvanta_trace(): number;
  _orvanta_trace_size(): number;
  _orvanta_reload(): void;
  _orvanta_next_file(): void;
  _orvanta_restart(): void;
  _orvanta_toggle_loop(): number;
}

// Defined by orvanta-engine.js, which the page loads before its own script. Given the
// module's bytes, it fetches nothing.
declare function createOrvantaEngine(options: { wasmBinary: Uint8Array }): Promise<EngineModule>;

// A folder as the page hands it over: names to text (written as UTF-8) or bytes.
export type Files = Record<string, string | Uint8Array | ArrayBuffer>;

export const PANEL_SIZE = 128;

const utf8 = new TextEncoder();

function bytesOf(content: string | Uint8Array | ArrayBuffer): Uint8Array {
  if (typeof content === 'string') return utf8.encode(content);
  if (content instanceof Uint8Array) return content;
  if (content instanceof ArrayBuffer) return new Uint8Array(content);
  throw new TypeError('a file is text, a Uint8Array or an ArrayBuffer');
}

export class Engine {
  private constructor(private readonly module: EngineModule) {}

  static async create(): Promise<Engine> {
    const wasmBinary = Uint8Array.from(atob(wasm), (c) => c.charCodeAt(0));
    return new Engine(await createOrvantaEngine({ wasmBinary }));
  }

  // Replaces the folder and powers a new device on; no frame has run yet.
  load(files: Files): void {
    const m = this.module;
    m._orvanta_clear_files();
    for (const [name, content] of Object.entries(files)) {
      const nameBytes = utf8.encode(name);
      const bytes = bytesOf(content);
      const namePointer = this.copyIn(nameBytes);
      const bytesPointer = this.copyIn(bytes);
      const accepted = m._orvanta_put_file(namePointer, nameBytes.length, bytesPointer, bytes.length);
      m._orvanta_free(namePointer);
      m._orvanta_free(bytesPointer);
      if (!accepted) throw new RangeError(`not a file name: ${JSON.stringify(name)}`);
    }
    m._orvanta_power_on();
  }

  runFrames(count: number): void {
    this.module._orvanta_run_frames(count);
  }

  // Milliseconds after the first frame's start at which the next frame starts.
  nextStart(): number {
    return this.module._orvanta_next_start();
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

  private copyIn(bytes: Uint8Array): number {
    const pointer = this.module._orvanta_alloc(bytes.length);
    // The heap may have grown inside the allocation, so its view is read after it.
    this.module.HEAPU8.set(bytes, pointer);
    return pointer;
  }
}
