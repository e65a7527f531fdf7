import { makeAutomation, type Automation } from '../automation';
import { Display, ZOOM_STEPS, type Zoom } from '../display';
import { base64Bytes, Engine, type Files } from '../engine';
import { Inspector } from '../inspector';
import { Pacer } from '../pacer';
import { linkPixels } from '../pixel_link';
import { Readings } from '../readings';
import { readingsAutomation } from '../readings_automation';
import { ReadingsPanel } from '../readings_panel';
import { Workspace } from '../workspace';
import { IdeDocument } from './ide_document';
import type { FileContent, FromPreview, ToPreview } from './preview_messages';

// The preview in an editor's webview: the page's device, display, inspector and readings,
// fed with the folder's files by the extension instead of the page's file list and editor.

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
  const engine = await Engine.create();
  const workspace = new Workspace(engine);
  const canvas = element<HTMLCanvasElement>('panel');
  const display = new Display(canvas, element('stage'));
  const status = element('status');
  const pauseButton = element<HTMLButtonElement>('pause');
  const zoomChoice = element<HTMLSelectElement>('zoom');
  const document_ = new IdeDocument(workspace, post);
  const inspector = new Inspector(engine, element('inspector'), canvas);
  const outline = linkPixels(engine, workspace, display, canvas, document_);
  display.decorate = (context, scale) => {
    outline(context, scale);
    inspector.refresh();
  };

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

  pauseButton.addEventListener('click', () => {
    if (pacer.paused) pacer.resume();
    else pacer.pause();
    show();
  });
  element('step').addEventListener('click', () => {
    pacer.pause();
    engine.runFrames(1);
    show();
  });
  element('restart').addEventListener('click', () => {
    engine.restart();
    if (pacer.paused) show();
  });
  for (const step of ZOOM_STEPS) zoomChoice.add(new Option(`${step * 100} %`, String(step)));
  zoomChoice.add(new Option('Fit', 'fit'));
  zoomChoice.value = String(display.zoom);
  zoomChoice.addEventListener('change', () => {
    display.zoom = (zoomChoice.value === 'fit' ? 'fit' : Number(zoomChoice.value)) as Zoom;
    display.layout();
    show();
  });
  new ResizeObserver(() => display.layout()).observe(element('stage'));

  const automation = makeAutomation(workspace, pacer, show);
  Object.assign(automation, readingsAutomation(readings, panel, show));

  let started = false;
  window.addEventListener('message', (event: MessageEvent<ToPreview>) => {
    const message = event.data;
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
      case 'file':
        if (message.unsaved) workspace.edit(message.file.name, contentOf(message.file));
        else workspace.put(message.file.name, contentOf(message.file));
        // A paused device shows the change at once: the picture is drawn again.
        if (pacer.paused) show();
        break;
      case 'removed':
        workspace.remove(message.name);
        if (pacer.paused) show();
        break;
      case 'cursor':
        document_.cursorMoved(message.name, message.line);
        break;
    }
  });
  post({ type: 'ready' });
}

start().catch((error: unknown) => {
  const status = document.getElementById('status');
  if (status) status.textContent = `The device could not start: ${String(error)}`;
  throw error;
});
