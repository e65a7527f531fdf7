import { unzipSync, zipSync } from 'fflate';

import type { Files } from './engine';
import type { Workspace } from './workspace';

// A link that carries the folder: its files zipped into the URL's fragment, which a browser
// never sends to a server. The zip is written in base64url, so the fragment needs no
// escaping.
const KEY = '#folder=';

// Links longer than this are not offered; the zip is. Browsers and chat programs accept
// far longer addresses, but a link of this size is already unwieldy to paste.
export const LINK_CAP = 64 * 1024;
const UNPACKED_CAP = 64 * 1024 * 1024;

function base64url(bytes: Uint8Array): string {
  let text = '';
  for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(text).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function fromBase64url(text: string): Uint8Array {
  const base64 = text.replace(/-/g, '+').replace(/_/g, '/');
  return Uint8Array.from(atob(base64 + '='.repeat((4 - (base64.length % 4)) % 4)), (c) => c.charCodeAt(0));
}

// The link to the page at `base` (its address without a fragment) holding the folder.
export function folderLink(workspace: Workspace, base: string): string {
  const entries: Record<string, Uint8Array> = {};
  for (const name of workspace.names()) entries[name] = workspace.bytes(name) ?? new Uint8Array();
  // A fixed time keeps the link the same for the same files.
  const zip = zipSync(entries, { level: 9, mtime: new Date('2000-01-01T00:00:00Z') });
  return `${base.replace(/#.*$/, '')}${KEY}${base64url(zip)}`;
}

// The folder a fragment holds; undefined when it holds none, and an Error when it is not
// a folder this page wrote.
export function folderFromFragment(fragment: string): Files | Error | undefined {
  if (!fragment.startsWith(KEY)) return undefined;
  try {
    const files: Files = {};
    // A crafted link could hold a zip that unpacks to gigabytes; its sizes are checked first.
    let total = 0;
    const unpacked = unzipSync(fromBase64url(fragment.slice(KEY.length)), {
      filter: (file) => {
        total += file.originalSize;
        if (total > UNPACKED_CAP) throw new RangeError('it unpacks to more than 64 MB');
        return true;
      },
    });
    // Folders and names the device cannot hold (a NUL byte) are left out.
    for (const [name, bytes] of Object.entries(unpacked))
      if (!name.endsWith('/') && !name.includes('\0')) files[name] = bytes;
    return files;
  } catch (error) {
    return new Error(`the link's folder cannot be read (${String(error)})`);
  }
}
