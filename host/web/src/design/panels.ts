import type { Engine } from '../engine';
import type { Language } from '../language';
import type { Readings } from '../readings';
import type { Workspace } from '../workspace';
import type { DesignControl, DesignDocument } from './design_api';
import { FieldService } from './field_service';
import { Palette } from './palette';
import { PropertyPanel } from './property_panel';

// The palette and the property panel beside the display, working on what `control` shows.
export function setupDesignPanels(
  control: DesignControl,
  parts: {
    engine: Engine;
    workspace: Workspace;
    language: Language;
    document: DesignDocument;
    kept: (name: string) => boolean; // the language service keeps this file's text
    readings: Readings | null;
    addsFiles?: boolean; // a picture from outside may join the folder (see Palette)
  },
  regions: { palette: HTMLElement; properties: HTMLElement; canvas: HTMLCanvasElement },
): { palette: Palette; properties: PropertyPanel } {
  const { engine, workspace, language, document, readings } = parts;
  // The service answers about the text as the page holds it, unsaved edits included.
  const fields = new FieldService(engine, language, (name) => document.text(name), parts.kept);
  return {
    palette: new Palette(control, workspace, engine, regions.canvas, regions.palette, parts.addsFiles ?? true),
    properties: new PropertyPanel(control, fields, readings, workspace, regions.properties),
  };
}
