import { setupEditor } from './editor_page';

// The editor's own script, orvanta-editor.js: CodeMirror with the language service, the
// inspector and the link between pixels and lines, none of which the first picture needs.
// The page's script loads it once the first picture is painted (editor_loader.ts) and finds
// setupEditor here.
window.orvantaEditor = { setupEditor };
