import type { Editor } from '../editor';
import type { Engine } from '../engine';
import type { Language } from '../language';
import type { Readings } from '../readings';
import type { Workspace } from '../workspace';
import type { DesignControl } from './design_api';
import { FieldService } from './field_service';
import { Palette } from './palette';
import { PropertyPanel } from './property_panel';

// The palette and the property panel beside the display, working on what `control` shows.
export function setupDesignPanels(
  control: DesignControl,
  parts: { engine: Engine; workspace: Workspace; language: Language; editor: Editor; readings: Readings | null },
  regions: { palette: HTMLElement; properties: HTMLElement; canvas: HTMLCanvasElement },
): { palette: Palette; properties: PropertyPanel } {
  const { engine, workspace, language, editor, readings } = parts;
  // The service answers about the editor's text, unsaved edits included.
  const fields = new FieldService(engine, () => {
    if (editor.file === control.file) language.sync(editor.file, editor.view.state.doc);
  });
  return {
    palette: new Palette(control, workspace, engine, regions.canvas, regions.palette),
    properties: new PropertyPanel(control, fields, readings, workspace, regions.properties),
  };
}
