import { unzipSync } from 'fflate';
import { names, zip } from 'orvanta:examples';

import { base64Bytes, type Files } from './engine';

// The examples built into the page: 'demo' and each 'gallery/NAME', unpacked on use from the
// one zip the build put into the script. Only the example asked for is inflated: the page
// starts with the demo alone.
export const EXAMPLE_NAMES: readonly string[] = names;

let packed: Uint8Array | undefined;

export function example(name: string): Files {
  packed ??= base64Bytes(zip);
  const prefix = `${name}/`;
  const inFolder = (path: string): boolean => path.startsWith(prefix) && !path.slice(prefix.length).includes('/');
  const files: Files = {};
  for (const [path, bytes] of Object.entries(unzipSync(packed, { filter: (entry) => inFolder(entry.name) })))
    files[path.slice(prefix.length)] = bytes;
  if (Object.keys(files).length === 0) throw new RangeError(`no example named ${JSON.stringify(name)}`);
  return files;
}
