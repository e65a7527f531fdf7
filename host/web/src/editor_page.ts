import type { Automation } from './automation';
import { setupDesign } from './design/design_setup';
import { EditorDocument } from './design/editor_document';
import type { Display } from './display';
import { Editor } from './editor';
import type { Engine } from './engine';
import { Inspector } from './inspector';
import { Language } from './language';
import { linkPixels } from './pixel_link';
import type { Readings } from './readings';
import type { Workspace } from './workspace';

// What the editor's part takes from the page around it.
export interface PageParts {
  readings: Readings;
  paused(): boolean;
  shown(): void; // paints the device's picture and the status
  automation: Automation; // gains the design calls
}

// The editor's part of the page: the editor with the language service, the inspector
// beside the panel, the link between pixels and lines, and design on the display with its
// palette and property panel.
export function setupEditor(
  engine: Engine,
  workspace: Workspace,
  display: Display,
  regions: {
    editor: HTMLElement;
    inspector: HTMLElement;
    canvas: HTMLCanvasElement;
    stage: HTMLElement;
    palette: HTMLElement;
    properties: HTMLElement;
  },
  page: PageParts,
): Editor {
  let editor: Editor | undefined;
  const document = new EditorDocument(workspace, page.readings, () => editor!);
  const language = new Language(engine);
  editor = new Editor(workspace, language, regions.editor, document.extension);
  const shownEditor = editor;
  const designer = setupDesign(
    {
      engine,
      workspace,
      language,
      document,
      readings: page.readings,
      automation: page.automation,
      kept: (name) => name === shownEditor.file,
      holds: (name) => name === shownEditor.file,
      paused: page.paused,
      shown: page.shown,
      confirm: (question) => window.confirm(question),
      addsFiles: true,
    },
    regions,
  );
  document.onUndo(() => designer.afterUndo());

  const inspector = new Inspector(engine, regions.inspector, regions.canvas);
  // While the editor has the focus, or design has a selection, the cursor's line is
  // outlined.
  const outline = linkPixels(engine, display, {
    onCursor: (listener) => shownEditor.onCursor(listener),
    outlined: () =>
      shownEditor.view.hasFocus || designer.selection().length > 0
        ? { file: shownEditor.file, line: shownEditor.cursorLine }
        : null,
  });
  // Each paint shows a new frame, whose pixels and files the outline, readings and the
  // selection follow.
  display.decorate = (context, scale) => {
    outline(context, scale);
    inspector.refresh();
    designer.painted();
  };
  return editor;
}
