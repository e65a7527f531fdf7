import { unzipSync } from 'fflate';
import { names, zip } from 'orvanta:examples';

import { base64Bytes, type Files } from './engine';

// The examples built into the page: 'demo' and each 'gallery/NAME', unpacked once on first
// use from the one zip the build put into the script.
export const EXAMPLE_NAMES: readonly string[] = names;

let unpacked: Record<string, Uint8Array> | undefined;

export function example(name: string): Files {
  unpacked ??= unzipSync(base64Bytes(zip));
  const prefix = `${name}/`;
  const files: Files = {};
  for (const [path, bytes] of Object.entries(unpacked))
    if (path.startsWith(prefix) && !path.slice(prefix.length).includes('/')) files[path.slice(prefix.length)] = bytes;
  if (Object.keys(files).length === 0) throw new RangeError(`no example named ${JSON.stringify(name)}`);
  return files;
}
