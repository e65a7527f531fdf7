import { inflateSync } from 'fflate';

// What the page's two WebAssembly modules (the device and the picture codecs) share: their
// exports, the bytes they are carried in, and the copying of names and bytes in and
// replies out.

// A module's exports: every C function marked ORVANTA_EXPORT, under its name with a leading
// underscore, takes and returns numbers (pointers are offsets into HEAPU8).
export type Exported = (...args: number[]) => number;
export interface WasmModule {
  HEAPU8: Uint8Array;
  HEAPU32: Uint32Array;
  [name: `_orvanta_${string}`]: Exported;
}

// Chromium decodes base64 natively since 2025; elsewhere a plain loop over atob() does,
// which on the device module's bytes takes a tenth of the time of Uint8Array.from with a
// mapping function. The native decoder takes another tenth of the loop's time, time that
// delays the first picture.
const fromBase64 = (Uint8Array as unknown as { fromBase64?: (text: string) => Uint8Array }).fromBase64;

export function base64Bytes(base64: string): Uint8Array {
  if (fromBase64) return fromBase64(base64);
  const text = atob(base64);
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
  return bytes;
}

// The bytes of a module as the build carries it: deflated, then in base64. The browser's
// own inflater is used where there is one; fflate's otherwise.
export async function inflatedBase64(base64: string): Promise<Uint8Array> {
  const packed = base64Bytes(base64);
  if (typeof DecompressionStream !== 'function') return inflateSync(packed);
  const stream = new Blob([packed as Uint8Array<ArrayBuffer>]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

const utf8 = new TextEncoder();
const utf8Text = new TextDecoder();

export function bytesOf(content: string | Uint8Array | ArrayBuffer): Uint8Array {
  if (typeof content === 'string') return utf8.encode(content);
  if (content instanceof Uint8Array) return content;
  if (content instanceof ArrayBuffer) return new Uint8Array(content);
  throw new TypeError('a file is text, a Uint8Array or an ArrayBuffer');
}

export class ModuleCalls {
  constructor(protected readonly module: WasmModule) {}

  // Calls orvanta_NAME with numbers.
  call(name: string, ...args: number[]): number {
    const exported = this.module[`_orvanta_${name}`];
    if (typeof exported !== 'function') throw new Error(`the module lacks orvanta_${name}`);
    return exported(...args);
  }

  // Copies `bytes` into the module's memory for the length of `use`.
  withBytes<T>(bytes: Uint8Array, use: (pointer: number, length: number) => T): T {
    const pointer = this.module._orvanta_alloc(bytes.length);
    // The heap may have grown inside the allocation, so its view is read after it.
    this.module.HEAPU8.set(bytes, pointer);
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
}
