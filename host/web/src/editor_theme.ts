import { EditorView } from '@codemirror/view';

// The editor's looks. The editor lives in a shadow root: there CodeMirror's styles go into
// constructed style sheets, which the page's policy allows, where a <style> element in the
// document would be refused. So its looks are given here, not in the page's style sheet.
export const editorTheme = EditorView.theme({
  '&': { flex: '1', minWidth: '0', height: '100%', backgroundColor: '#fafafa', color: '#1d1f21' },
  '&.cm-focused': { outline: '2px solid #6a9fd8' },
  '.cm-scroller': { fontFamily: 'ui-monospace, monospace', fontSize: '13px' },
  '.orvanta-swatch': {
    display: 'inline-block',
    width: '0.9em',
    height: '0.9em',
    margin: '0 0.2em 0 0',
    padding: '0',
    border: '1px solid #555',
    borderRadius: '2px',
    verticalAlign: '-0.1em',
    cursor: 'pointer',
  },
  '.orvanta-markdown': {
    maxWidth: '32em',
    padding: '0.2em 0.5em',
    fontFamily: 'system-ui, sans-serif',
    fontSize: '13px',
  },
  '.orvanta-markdown p, .orvanta-markdown ul': { margin: '0.3em 0' },
  '.orvanta-markdown code': { fontFamily: 'ui-monospace, monospace', backgroundColor: '#eceff1' },
});
