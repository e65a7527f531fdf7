import type { Engine } from './engine';
import type { ConvertChoice } from './file_dialogs';
import type { Chain } from './file_list';
import { pictures } from './pictures';

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

// The BMP's bytes, or the converter's reason for failing; the converter is loaded first.
export async function convertPicture(bytes: Uint8Array, choice: ConvertChoice): Promise<Uint8Array | string> {
  return (await pictures()).convert(bytes, choice);
}
