import type { Engine } from './engine';
import { askConvert } from './file_dialogs';
import { convertPicture, pictureKind, PictureKind } from './folder_engine';
import { pictures } from './pictures';

// A file arriving in the folder, dropped on the file list or on the palette's picture: a
// picture the device cannot draw as it is goes through the picture converter first, and
// arrives under the name the user chose for the BMP.
export type Arriving = { name: string; bytes: Uint8Array } | { problem: string } | undefined;

// The file as it goes into the folder, the converter's reason for failing, or nothing when
// the user declined to convert it.
export async function arrivingFile(engine: Engine, name: string, bytes: Uint8Array, type = ''): Promise<Arriving> {
  if (pictureKind(engine, bytes) !== PictureKind.Convertible) return { name, bytes };
  const kind = (type.replace(/^image\//, '') || name.replace(/^.*\./, '')).toUpperCase();
  // The converter loads while the user chooses how to convert.
  void pictures().catch(() => {});
  const choice = await askConvert(name, kind);
  if (!choice) return undefined;
  const converted = await convertPicture(bytes, choice).catch((error: Error) => error.message);
  if (typeof converted === 'string') return { problem: `${name} could not be converted: ${converted}.` };
  return { name: choice.name, bytes: converted };
}
