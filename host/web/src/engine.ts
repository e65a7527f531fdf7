// The device in its WebAssembly module: a thin wrapper over the module's C functions that
// copies names and bytes in and pictures and traces out.
import wasm from 'orvanta:engine-wasm';

// The module's exports: every C function marked ORVANTA_EXPORT, under its name with a
// leading underscore, takes and returns numbers (pointers are offsets into HEAPU8).
type Exported = (...args: number[]) => number;
interface EngineModule {
  HEAPU8: Uint8Array;
  HEAPU32: Uint32Array;
  [name: `_orvanta_${string}`]: Exported;
}

// Defined by orvanta-engine.js, which the page loads before its own script. Given the
// module's bytes, it fetches nothing.
declare function createOrvantaEngine(options: { wasmBinary: Uint8Array }): Promise<EngineModule>;

// A folder as the page hands it over: names to text (written as UTF-8) or bytes.
export type Files = Record<string, string | Uint8Array | ArrayBuffer>;

export const PANEL_SIZE = 128;

const utf8 = new TextEncoder();
const utf8Text = new TextDecoder();

// The bytes that `base64` holds. A plain loop: on the module's bytes it takes a tenth of
// the time of Uint8Array.from with a mapping function, time that delays the first picture.
export function base64Bytes(base64: string): Uint8Array {
  const text = atob(base64);
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
  return bytes;
}

export function bytesOf(content: string | Uint8Array | ArrayBuffer): Uint8Array {
  if (typeof content === 'string') return utf8.encode(content);
  if (content instanceof Uint8Array) return content;
  if (content instanceof ArrayBuffer) return new Uint8Array(content);
  throw new TypeError('a file is text, a Uint8Array or an ArrayBuffer');
}

export class Engine {
  private constructor(private readonly module: EngineModule) {}

  static async create(): Promise<Engine> {
    const wasmBinary = base64Bytes(wasm);
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

  // Calls orvanta_NAME with numbers.
  call(name: string, ...args: number[]): number {
    const exported = this.module[`_orvanta_${name}`];
    if (typeof exported !== 'function') throw new Error(`the device module lacks orvanta_${name}`);
    return exported(...args);
  }

  // Copies `bytes` into the module's memory for the length of `use`.
  withBytes<T>(bytes: Uint8Array, use: (pointer: number, length: number) => T): T {
    const pointer = this.copyIn(bytes);
    try {
      return use(pointer, bytes.length);
    } finally {
      this.module._orvanta_free(pointer);
    }
  }

  withText<T>(text: string, use: (pointer: number, length: number) => T): T {
    return this.withBytes(utf8.encode(text), use);
  }

  // The text of a replying function's answer, given the pointer it returned.
  replyText(pointer: number): string {
    return utf8Text.decode(this.replyBytes(pointer));
  }

  // The bytes of a replying function's answer; a copy.
  replyBytes(pointer: number): Uint8Array {
    return this.module.HEAPU8.slice(pointer, pointer + this.module._orvanta_reply_size());
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
