import type { Engine } from './engine';
import type { ConvertChoice } from './file_dialogs';
import { inflatedBase64, ModuleCalls, type WasmModule } from './module_calls';
import { loadScript } from './script_loader';

// The picture module: the decoders and encoders (PNG, GIF, JPEG and the converter), which
// the first picture does not need. It comes on first use through a classic script element,
// orvanta-pictures.js, since a page opened from file:// may neither fetch nor import().
// That script defines createOrvantaPictures() and the module's bytes (see inflatedBase64).
declare function createOrvantaPictures(options: { wasmBinary: Uint8Array }): Promise<WasmModule>;
declare const orvantaPicturesWasm: string;

// One frame's picture as the device module gave it: the panel's words and when it ended.
export interface Shot {
  words: Uint32Array;
  end: number;
}

export function shotOf(engine: Engine): Shot {
  return { words: engine.picture(), end: engine.lastEnd() };
}

export class Pictures extends ModuleCalls {
  // The BMP's bytes, or the converter's reason for failing.
  convert(bytes: Uint8Array, choice: ConvertChoice): Uint8Array | string {
    const converted = this.withBytes(bytes, (pointer, length) =>
      this.call('convert_picture', pointer, length, choice.width, choice.height, choice.dither ? 1 : 0, choice.background),
    );
    const reply = this.replyBytes(this.call('reply_data'));
    return converted ? reply : new TextDecoder().decode(reply);
  }

  // The panel as a PNG at `zoom`; empty when it could not be written.
  png(words: Uint32Array, zoom: number): Uint8Array {
    return this.withWords(words, (pointer) => this.replyBytes(this.call('picture_png', pointer, zoom)));
  }

  // One recording at a time: begun, a picture per frame, finished when the device's next
  // frame would start.
  gifBegin(zoom: number): boolean {
    return this.call('gif_begin', zoom) !== 0;
  }

  // False once the recording cannot go on (finish it then).
  gifCapture(shot: Shot): boolean {
    return this.withWords(shot.words, (pointer) => this.call('gif_capture', pointer, shot.end)) !== 0;
  }

  gifFinish(nextStart: number): Uint8Array {
    return this.replyBytes(this.call('gif_finish', nextStart));
  }

  private withWords<T>(words: Uint32Array, use: (pointer: number) => T): T {
    return this.withBytes(new Uint8Array(words.buffer, words.byteOffset, words.byteLength), use);
  }
}

let loading: Promise<Pictures> | undefined;

// The picture module, loaded on the first call; a load that failed is tried again next time.
export function pictures(): Promise<Pictures> {
  loading ??= loadScript('orvanta-pictures.js')
    .then(async () => {
      const wasmBinary = await inflatedBase64(orvantaPicturesWasm);
      return new Pictures(await createOrvantaPictures({ wasmBinary }));
    })
    .catch((error: unknown) => {
      loading = undefined;
      throw error;
    });
  return loading;
}
