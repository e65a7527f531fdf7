import { zipSync, type Zippable } from 'fflate';

import type { Workspace } from './workspace';

// The folder as a zip for the card: every file at the top level, as the page holds it now,
// unsaved edits included, since the zip is where the page's folder goes to.
export function folderZip(workspace: Workspace): Uint8Array {
  const entries: Zippable = {};
  for (const name of workspace.names()) entries[name] = workspace.bytes(name) ?? new Uint8Array();
  // Configuration files and BMPs compress well; level 6 is fflate's balance of time and size.
  return zipSync(entries, { level: 6 });
}

// Hands `bytes` to the browser as a download named `fileName`.
export function downloadBytes(bytes: Uint8Array, fileName: string, type: string): void {
  const url = URL.createObjectURL(new Blob([bytes as Uint8Array<ArrayBuffer>], { type }));
  const link = document.createElement('a');
  link.href = url;
  link.download = fileName;
  link.click();
  // The download has taken the blob once the click's turn is over.
  setTimeout(() => URL.revokeObjectURL(url), 0);
}
