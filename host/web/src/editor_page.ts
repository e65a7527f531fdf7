import type { Display } from './display';
import { Editor } from './editor';
import type { Engine } from './engine';
import { Inspector } from './inspector';
import { Language } from './language';
import { linkPixels } from './pixel_link';
import type { Workspace } from './workspace';

// The editor's part of the page: the editor with the language service, the inspector
// beside the panel, and the link between pixels and lines.
export function setupEditor(
  engine: Engine,
  workspace: Workspace,
  display: Display,
  regions: { editor: HTMLElement; inspector: HTMLElement; canvas: HTMLCanvasElement },
): Editor {
  const editor = new Editor(workspace, new Language(engine), regions.editor);
  const inspector = new Inspector(engine, regions.inspector, regions.canvas);
  // While the editor has the focus, its cursor's line is outlined.
  const outline = linkPixels(engine, workspace, display, regions.canvas, {
    reveal: (file, line) => editor.reveal(file, line),
    onCursor: (listener) => editor.onCursor(listener),
    outlined: () => (editor.view.hasFocus ? { file: editor.file, line: editor.cursorLine } : null),
  });
  // Each paint shows a new frame, whose pixels and files the outline and readings follow.
  display.decorate = (context, scale) => {
    outline(context, scale);
    inspector.refresh();
  };
  return editor;
}
