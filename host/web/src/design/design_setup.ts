import type { Automation } from '../automation';
import type { Engine } from '../engine';
import type { Language } from '../language';
import type { Readings } from '../readings';
import type { Workspace } from '../workspace';
import type { DesignDocument } from './design_api';
import { designAutomation } from './design_automation';
import { designInput } from './design_input';
import { DesignService } from './design_service';
import { Designer } from './designer';
import { DesignOverlay } from './overlay';
import { setupDesignPanels } from './panels';

// Design on the display as every host of it has it: the designer over the host's document,
// its overlay and input on the display, its calls on window.orvanta, and the palette and
// property panel beside the display. The page hosts it over its editor, an IDE's preview
// over the IDE's documents.
export interface DesignHost {
  engine: Engine;
  workspace: Workspace;
  language: Language;
  document: DesignDocument;
  readings: Readings;
  automation: Automation; // gains the design calls
  // Whether the language service keeps `name`'s text after a question: a file an editor
  // holds stays, any other is forgotten again so that the folder's bytes count.
  kept(name: string): boolean;
  // Whether the document holds `name`'s text ahead of the workspace (an editor's text not
  // yet handed over); otherwise the workspace's bytes are the file's.
  holds(name: string): boolean;
  paused(): boolean;
  shown(): void; // paints the device's picture and the status
  confirm(question: string): boolean;
  // Whether a picture from outside the folder may join it through the palette.
  addsFiles: boolean;
}

export function setupDesign(
  host: DesignHost,
  regions: { canvas: HTMLCanvasElement; stage: HTMLElement; palette: HTMLElement; properties: HTMLElement },
): Designer {
  const { engine, workspace, language, document } = host;
  const overlay = new DesignOverlay(regions.canvas, regions.stage);
  const service = new DesignService(engine, language, host.kept);
  const designer = new Designer(engine, document, service, overlay, {
    paused: host.paused,
    shown: host.shown,
    has: (name) => workspace.has(name),
    confirm: host.confirm,
  });
  // A file's objects depend on the folder's other files too (a picture's size).
  workspace.onEvent((event) => {
    if (event.kind !== 'opened' && event.kind !== 'saved') service.invalidate();
    // Another folder's lines are not the selection's lines.
    if (event.kind === 'replaced') designer.select([]);
  });
  designInput(regions.canvas, designer, overlay);
  const bytes = (name: string): Uint8Array => {
    if (host.holds(name)) return new TextEncoder().encode(document.text(name));
    const held = workspace.bytes(name);
    if (!held) throw new Error(`the folder has no file '${name}'`);
    return held;
  };
  Object.assign(host.automation, designAutomation(designer, bytes));
  setupDesignPanels(
    designer,
    { engine, workspace, language, document, kept: host.kept, readings: host.readings, addsFiles: host.addsFiles },
    regions,
  );
  return designer;
}
