import { makeAutomation, type Automation } from './automation';
import { deviceControls } from './device_controls';
import { Display } from './display';
import { loadEditor } from './editor_loader';
import { Engine } from './engine';
import { setupFiles } from './files_setup';
import { keptBefore, readKeptAtStart } from './kept';
import { Pacer } from './pacer';
import { Readings } from './readings';
import { readingsAutomation } from './readings_automation';
import { ReadingsPanel } from './readings_panel';
import { firstFolder, setupShare } from './share';
import { Workspace } from './workspace';

declare global {
  interface Window {
    orvanta?: Automation;
  }
}

function element<T extends HTMLElement>(id: string): T {
  const found = document.getElementById(id);
  if (!found) throw new Error(`the page lacks #${id}`);
  return found as T;
}

// Marks along the way to the first picture, for the page's profile (bench/profile.mjs).
const mark = (name: string): void => void performance.mark(`orvanta-${name}`);

async function start(): Promise<void> {
  mark('script-start');
  void readKeptAtStart();
  const engine = await Engine.create();
  mark('engine-ready');
  const workspace = new Workspace(engine);
  const display = new Display(element<HTMLCanvasElement>('panel'), element('stage'));
  const status = element('status');
  const pauseButton = element<HTMLButtonElement>('pause');
  const loopButton = element<HTMLButtonElement>('loop');
  const zoomChoice = element<HTMLSelectElement>('zoom');
  let firstPicture = true;
  let firstShown = (): void => {};
  const shownFirst = new Promise<void>((resolve) => (firstShown = resolve));

  const show = (): void => {
    display.draw(engine.picture());
    const seconds = (engine.nextStart() / 1000).toFixed(2);
    status.textContent = `${pacer.paused ? 'Paused' : 'Running'} · ${engine.framesRun()} frames · ${seconds} s · ${display.percent} %`;
    pauseButton.textContent = pacer.paused ? 'Resume' : 'Pause';
    panel?.refresh();
    if (firstPicture && engine.framesRun() > 0) {
      firstPicture = false;
      mark('first-picture');
      firstShown();
    }
  };
  const pacer = new Pacer(engine, show);
  const readings = new Readings(engine, workspace);
  let panel: ReadingsPanel | undefined;

  deviceControls(engine, pacer, display, show, {
    pause: pauseButton,
    step: element('step'),
    restart: element('restart'),
    zoom: zoomChoice,
  });
  element('reload').addEventListener('click', () => engine.reload());
  element('next').addEventListener('click', () => engine.nextFile());
  loopButton.addEventListener('click', () => {
    loopButton.setAttribute('aria-pressed', String(engine.toggleLoop()));
  });
  const relayout = (): void => {
    display.layout();
    // A change of the device pixel ratio (another screen, the browser's zoom) fires once
    // per ratio, so the watch is renewed for the new one.
    matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener('change', relayout, {
      once: true,
    });
  };
  new ResizeObserver(() => display.layout()).observe(element('stage'));
  relayout();

  // The whole zoom shown, for the pictures the page shares.
  const zoom = (): number => Math.max(1, Math.round(display.percent / 100));
  const shareNote = setupShare(element('share'), { workspace, pacer, shown: show, zoom });
  const first = firstFolder(shareNote);
  mark('folder-ready');
  workspace.replace(first.files, first.linked ? 'Shared folder' : 'Built-in demo');
  const automation = makeAutomation(workspace, pacer, show);
  const filesUp = (): Promise<unknown> =>
    setupFiles(workspace, element('files'), automation, { linked: first.linked });
  panel = new ReadingsPanel(readings, workspace, element('readings'));
  Object.assign(automation, readingsAutomation(readings, panel, show));
  // Only a page that kept a folder before waits for the database to give it back, with its
  // readings, before its first picture; any other shows its folder at once and sets up its
  // file list (which gives back a folder kept by an earlier page without the mark) after it.
  const kept = keptBefore();
  if (kept) {
    await filesUp();
    await readings.restore();
  }
  mark('files-ready');
  pacer.resume(true);
  if (!kept) {
    await shownFirst;
    await filesUp();
    await readings.restore();
  }
  // The editor starts after the first picture has been painted, which it must not delay;
  // its script (CodeMirror, the inspector, design on the display) is loaded only then.
  // Scripts and tests find the page ready once its file list and its editor are, so that
  // window.orvanta's design calls are there whenever window.orvanta is.
  requestAnimationFrame(() =>
    setTimeout(() =>
      loadEditor()
        .then(
          (setupEditor) =>
            void setupEditor(
              engine,
              workspace,
              display,
              {
                editor: element('editor'),
                inspector: element('inspector'),
                canvas: element<HTMLCanvasElement>('panel'),
                stage: element('stage'),
                palette: element('palette'),
                properties: element('properties'),
              },
              { readings, paused: () => pacer.paused, shown: show, automation },
            ),
          (error: Error) => void (element('editor').textContent = `The editor could not start: ${error.message}.`),
        )
        .finally(() => (window.orvanta = automation)),
    ),
  );
}

start().catch((error: unknown) => {
  const status = document.getElementById('status');
  if (status) status.textContent = `The device could not start: ${String(error)}`;
  throw error;
});
