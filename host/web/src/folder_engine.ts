import type { Engine } from './engine';
import type { ConvertChoice } from './file_dialogs';
import type { Chain } from './file_list';

// The device module's answers about the folder's files (see folder_files.cpp).

export enum PictureKind {
  NotPicture = 0,
  Convertible = 1, // a picture the converter can turn into a BMP the device draws
  Drawable = 2, // a BMP the device draws as it is
}

export function readChain(engine: Engine): Chain {
  return JSON.parse(engine.replyText(engine.call('chain'))) as Chain;
}

export function pictureKind(engine: Engine, bytes: Uint8Array): PictureKind {
  return engine.withBytes(bytes, (pointer, length) => engine.call('picture_kind', pointer, length));
}

// The BMP's bytes, or the converter's reason for failing.
export function convertPicture(engine: Engine, bytes: Uint8Array, choice: ConvertChoice): Uint8Array | string {
  const converted = engine.withBytes(bytes, (pointer, length) =>
    engine.call('convert_picture', pointer, length, choice.width, choice.height, choice.dither ? 1 : 0, choice.background),
  );
  const reply = engine.replyBytes(engine.call('reply_data'));
  return converted ? reply : new TextDecoder().decode(reply);
}
