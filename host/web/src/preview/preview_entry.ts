import { makeAutomation, type Automation } from '../automation';
import { setupDesign } from '../design/design_setup';
import { deviceControls } from '../device_controls';
import { Display } from '../display';
import { base64Bytes, Engine, type Files } from '../engine';
import { Inspector } from '../inspector';
import { Language } from '../language';
import { Pacer } from '../pacer';
import { linkPixels } from '../pixel_link';
import { Readings } from '../readings';
import { readingsAutomation } from '../readings_automation';
import { ReadingsPanel } from '../readings_panel';
import { Workspace } from '../workspace';
import { IdeDocument } from './ide_document';
import type { FileContent, FromPreview, ToPreview } from './preview_messages';

// The preview in an editor's webview: the page's device, display, inspector, readings and
// design on the display, fed with the folder's files by the extension instead of the
// page's file list and editor.

interface VsCodeApi {
  postMessage(message: FromPreview): void;
}
declare function acquireVsCodeApi(): VsCodeApi;

declare global {
  interface Window {
    orvanta?: Automation;
  }
}

function element<T extends HTMLElement>(id: string): T {
  const found = document.getElementById(id);
  if (!found) throw new Error(`the preview lacks #${id}`);
  return found as T;
}

const contentOf = (file: FileContent): string | Uint8Array =>
  file.text ?? base64Bytes(file.base64 ?? '');

async function start(): Promise<void> {
  const vscode = acquireVsCodeApi();
  const post = (message: FromPreview): void => vscode.postMessage(message);
  // The extension reads the folder while the device's module compiles: what it sends before
  // the device is ready waits in a queue.
  const early: ToPreview[] = [];
  let handle = (message: ToPreview): void => void early.push(message);
  window.addEventListener('message', (event: MessageEvent<ToPreview>) => handle(event.data));
  post({ type: 'ready' });
  const engine = await Engine.create();
  const workspace = new Workspace(engine);
  const canvas = element<HTMLCanvasElement>('panel');
  const display = new Display(canvas, element('stage'));
  const status = element('status');
  const pauseButton = element<HTMLButtonElement>('pause');
  const zoomChoice = element<HTMLSelectElement>('zoom');
  const inspector = new Inspector(engine, element('inspector'), canvas);
  const show = (): void => {
    display.draw(engine.picture());
    const seconds = (engine.nextStart() / 1000).toFixed(2);
    status.textContent = `${pacer.paused ? 'Paused' : 'Running'} · ${engine.framesRun()} frames · ${seconds} s`;
    pauseButton.textContent = pacer.paused ? 'Resume' : 'Pause';
    panel.refresh();
  };
  const pacer = new Pacer(engine, show);
  const readings = new Readings(engine, workspace);
  const panel = new ReadingsPanel(readings, workspace, element('readings'));

  // Design on the display, over the IDE's documents. A webview may not ask the user (its
  // frame allows no dialogs), so an edit that needs a yes is declined with its reason.
  const ideDocument = new IdeDocument(workspace, readings, post);
  const automation = makeAutomation(workspace, pacer, show);
  Object.assign(automation, readingsAutomation(readings, panel, show));
  const designer = setupDesign(
    {
      engine,
      workspace,
      language: new Language(engine),
      document: ideDocument,
      readings,
      automation,
      kept: () => true,
      holds: () => false,
      paused: () => pacer.paused,
      shown: () => show(),
      confirm: () => false,
      addsFiles: false,
    },
    { canvas, stage: element('stage'), palette: element('palette'), properties: element('properties') },
  );
  // The IDE's cursor line is outlined, wherever the focus is.
  const outline = linkPixels(engine, display, ideDocument);
  display.decorate = (context, scale) => {
    outline(context, scale);
    inspector.refresh();
    designer.painted();
  };

  deviceControls(engine, pacer, display, show, {
    pause: pauseButton,
    step: element('step'),
    restart: element('restart'),
    zoom: zoomChoice,
  });
  new ResizeObserver(() => display.layout()).observe(element('stage'));

  let started = false;
  handle = (message: ToPreview): void => {
    switch (message.type) {
      case 'folder': {
        const files: Files = {};
        for (const file of message.files) files[file.name] = contentOf(file);
        workspace.replace(files, message.title);
        if (!started) {
          started = true;
          void readings.restore();
          // The first frame runs at once: the first picture waits for no timer.
          pacer.resume(true);
          window.orvanta = automation;
        } else if (pacer.paused) show();
        break;
      }
      case 'file': {
        const { name } = message.file;
        // What the preview's own edit made comes back from the editor: nothing changes.
        if (message.file.text !== undefined && workspace.has(name) && message.file.text === workspace.text(name)) break;
        if (message.unsaved) workspace.edit(name, contentOf(message.file));
        else workspace.put(name, contentOf(message.file));
        // An edit made in the editor (an undo of design's among them) moves lines under the
        // selection.
        if (designer.selection().length > 0) designer.afterUndo();
        // A paused device shows the change at once: the picture is drawn again.
        if (pacer.paused) show();
        break;
      }
      case 'removed':
        workspace.remove(message.name);
        if (pacer.paused) show();
        break;
      case 'cursor':
        ideDocument.cursorMoved(message.name, message.line, message.moved);
        break;
    }
  };
  for (const message of early.splice(0)) handle(message);
}

start().catch((error: unknown) => {
  const status = document.getElementById('status');
  if (status) status.textContent = `The device could not start: ${String(error)}`;
  throw error;
});
