import type { Automation } from './automation';
import { designAutomation } from './design/design_automation';
import { designInput } from './design/design_input';
import { DesignService } from './design/design_service';
import { Designer } from './design/designer';
import { setupDesignPanels } from './design/panels';
import { EditorDocument } from './design/editor_document';
import { DesignOverlay } from './design/overlay';
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
  const overlay = new DesignOverlay(regions.canvas, regions.stage);
  const service = new DesignService(engine, language, (name) => name === shownEditor.file);
  const designer = new Designer(engine, document, service, overlay, {
    paused: page.paused,
    shown: page.shown,
    has: (name) => workspace.has(name),
    confirm: (question) => window.confirm(question),
  });
  document.onUndo(() => designer.afterUndo());
  workspace.onEvent((event) => {
    if (event.kind !== 'opened' && event.kind !== 'saved') service.invalidate();
    // Another folder's lines are not the selection's lines.
    if (event.kind === 'replaced') designer.select([]);
  });
  designInput(regions.canvas, designer, overlay);
  const bytes = (name: string): Uint8Array => {
    if (name === shownEditor.file) return new TextEncoder().encode(document.text(name));
    const held = workspace.bytes(name);
    if (!held) throw new Error(`the folder has no file '${name}'`);
    return held;
  };
  Object.assign(page.automation, designAutomation(designer, bytes));
  setupDesignPanels(
    designer,
    { engine, workspace, language, document, kept: (name) => name === shownEditor.file, readings: page.readings },
    regions,
  );

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
