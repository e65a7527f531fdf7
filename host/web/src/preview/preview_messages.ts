import type { ServiceEdit } from '../design/design_api';

// The messages between the preview and the editor extension that hosts it. A file travels
// as text (an open document's, unsaved edits included) or as its bytes in base64 (a file
// read from disk), so that it survives the hosts' serialisation of messages, which need
// not carry typed arrays. The extension's src/preview_messages.ts mirrors these types.

export interface FileContent {
  name: string;
  text?: string;
  base64?: string;
}

export type ToPreview =
  // The whole folder: a new device is powered on.
  | { type: 'folder'; title: string; files: FileContent[] }
  // One file changed: `unsaved` when an editor holds edits not yet written.
  | { type: 'file'; file: FileContent; unsaved: boolean }
  | { type: 'removed'; name: string }
  // The editor's cursor is on line `line` (1-based) of `name`; null when no editor of the
  // folder has it. `moved` when the cursor itself moved, not only another editor came up.
  | { type: 'cursor'; name: string | null; line: number; moved: boolean };

export type FromPreview =
  | { type: 'ready' }
  // Shows line `line` (1-based) of `name` in an editor and selects it.
  | { type: 'reveal'; name: string; line: number }
  // One undo step of edits to `name`, in the language service's 0-based lines and byte
  // columns.
  | { type: 'apply'; name: string; edits: ServiceEdit[] };
