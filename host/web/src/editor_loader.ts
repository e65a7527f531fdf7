import type { setupEditor } from './editor_page';
import { loadScript } from './script_loader';

declare global {
  interface Window {
    orvantaEditor?: { setupEditor: typeof setupEditor };
  }
}

// The editor's set-up, from its own script (editor_entry.ts), loaded on the first call.
export async function loadEditor(): Promise<typeof setupEditor> {
  await loadScript('orvanta-editor.js');
  if (!window.orvantaEditor) throw new Error('orvanta-editor.js did not define the editor');
  return window.orvantaEditor.setupEditor;
}
