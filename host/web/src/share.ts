import { button } from './controls';
import { EXAMPLE_NAMES, example } from './examples';
import type { Files } from './engine';
import { folderFromFragment, folderLink, LINK_CAP } from './link';
import type { Pacer } from './pacer';
import { pictures, shotOf, type Shot } from './pictures';
import type { Workspace } from './workspace';
import { downloadBytes, folderZip } from './zip';

// The header's sharing tools: the picture as a PNG, the next seconds as an animated GIF,
// the folder as a zip or as a link, and the built-in examples.

export interface ShareContext {
  workspace: Workspace;
  pacer: Pacer;
  shown: () => void;
  // The whole number of picture pixels per panel pixel that the display shows now.
  zoom: () => number;
}

// A recording lasts at most this long; with the size cap in the module it bounds memory.
export const MAX_RECORD_SECONDS = 60;

// The folder the page starts with: the one a link holds, else the demo. A link that
// cannot be read is reported through `note` and the demo is shown.
export function firstFolder(note: (text: string) => void = () => {}): { files: Files; linked: boolean } {
  const linked = folderFromFragment(location.hash);
  if (linked instanceof Error) note(`${linked.message}; the demo is shown instead.`);
  else if (linked) return { files: linked, linked: true };
  return { files: example('demo'), linked: false };
}

// A time stamp for file names, as 20261207-174512 (UTC).
function stamp(): string {
  return new Date().toISOString().slice(0, 19).replace(/[-:]/g, '').replace('T', '-');
}

// Fills `region` and returns the function that writes its note.
export function setupShare(region: HTMLElement, context: ShareContext): (text: string) => void {
  const { workspace } = context;
  const engine = workspace.engine;
  const note = document.createElement('output');
  note.id = 'share-note';
  const say = (text: string): void => {
    note.textContent = text;
  };

  const examples = document.createElement('select');
  examples.id = 'examples';
  examples.title = 'Load a built-in example in place of the folder';
  examples.add(new Option('Examples…', ''));
  for (const name of EXAMPLE_NAMES) examples.add(new Option(name.replace(/^gallery\//, ''), name));
  examples.addEventListener('change', () => {
    const name = examples.value;
    examples.value = '';
    if (!name) return;
    const unsaved = workspace.unsavedFiles();
    const question = `Replace the folder? Unsaved edits in ${unsaved.join(', ')} would be lost.`;
    if (unsaved.length > 0 && !confirm(question)) return;
    workspace.replace(example(name), name === 'demo' ? 'Built-in demo' : `Example ${name}`);
    // An example is chosen to be watched: it runs even if the device was paused.
    context.pacer.resume();
    context.shown();
    say(`Loaded the example ${name}.`);
  });

  const png = button('Save picture', 'Save the panel as a PNG picture at the zoom shown');
  png.id = 'save-png';
  png.addEventListener('click', () => {
    // The picture on show when clicked, written once the encoders have loaded.
    const words = engine.picture();
    const zoom = context.zoom();
    pictures().then(
      (module) => {
        const bytes = module.png(words, zoom);
        if (bytes.length === 0) return say('The picture could not be written.');
        downloadBytes(bytes, `orvanta-${stamp()}.png`, 'image/png');
      },
      (error: Error) => say(`The picture could not be written: ${error.message}.`),
    );
  });

  const seconds = document.createElement('input');
  seconds.id = 'gif-seconds';
  seconds.type = 'number';
  seconds.min = '1';
  seconds.max = String(MAX_RECORD_SECONDS);
  seconds.value = '5';
  const record = button('Record GIF', 'Record the next seconds of the panel as an animated GIF');
  record.id = 'record-gif';
  let stopRecording: (() => void) | undefined;
  record.addEventListener('click', () => {
    if (stopRecording) return stopRecording();
    const length = Math.min(MAX_RECORD_SECONDS, Math.max(1, Math.round(Number(seconds.value) || 5)));
    seconds.value = String(length);
    stopRecording = recordGif(context, length, say, (done) => {
      stopRecording = undefined;
      record.textContent = 'Record GIF';
      if (done) downloadBytes(done, `orvanta-${stamp()}.gif`, 'image/gif');
    });
    record.textContent = 'Stop';
  });

  const zip = button('Download zip', 'Download the folder as a zip, to unpack onto the memory card');
  zip.id = 'download-zip';
  zip.addEventListener('click', () => downloadBytes(folderZip(workspace), 'orvanta-folder.zip', 'application/zip'));

  const link = button('Copy link', 'Copy a link that holds the folder');
  link.id = 'copy-link';
  const linkText = document.createElement('input');
  linkText.id = 'share-link';
  linkText.readOnly = true;
  linkText.hidden = true;
  linkText.setAttribute('aria-label', 'The link to the folder');
  // Where no link can be made, the note offers the zip in its place.
  const offerZip = (text: string): void => {
    const instead = button('Download the zip instead', 'Download the folder as a zip');
    instead.addEventListener('click', () => zip.click());
    note.replaceChildren(`${text} `, instead);
  };
  link.addEventListener('click', () => {
    linkText.hidden = true;
    if (location.protocol === 'file:')
      return offerZip('A link needs the page to be served (for example by scripts/serve-web), not opened from disk.');
    const address = folderLink(workspace, location.href);
    const size = Math.ceil(address.length / 1024);
    if (address.length > LINK_CAP)
      return offerZip(`The folder makes a link of ${size} KB, more than the ${LINK_CAP / 1024} KB a link may hold.`);
    linkText.value = address;
    linkText.hidden = false;
    linkText.select();
    navigator.clipboard?.writeText(address).then(
      () => say(`Link copied (${size} KB).`),
      () => say('Copy the link from the field (the browser refused the clipboard).'),
    ) ?? say('Copy the link from the field.');
  });

  const secondsLabel = document.createElement('label');
  secondsLabel.append('for ', seconds, ' s');
  region.append(examples, png, record, secondsLabel, zip, link, linkText, note);
  // A new folder ends a recording: its pictures belong to another device.
  workspace.onEvent((event) => {
    if (event.kind === 'replaced') stopRecording?.();
  });
  return say;
}

// Records the frames the device runs from now until `length` seconds of its time have
// passed, or until stopped or the module's size cap is reached; then calls `finished`
// with the GIF file (undefined when nothing was recorded). Returns the stop function.
// Pictures are taken from the click on; those taken while the encoders load wait for them.
function recordGif(
  context: ShareContext,
  length: number,
  say: (text: string) => void,
  finished: (gif: Uint8Array | undefined) => void,
): () => void {
  const engine = context.workspace.engine;
  const zoom = context.zoom();
  const waiting: Shot[] = [];
  let recorder: Awaited<ReturnType<typeof pictures>> | undefined;
  let capped = false;
  let stopped = false;
  const recording = pictures().then((module) => {
    if (!module.gifBegin(zoom)) throw new Error('The recording could not start.');
    recorder = module;
    for (const shot of waiting.splice(0)) if (!capped) capped = !module.gifCapture(shot);
    return module;
  });
  const runFrames = engine.runFrames;
  const end = engine.nextStart() + length * 1000;
  const stop = (): void => {
    if (stopped) return;
    stopped = true;
    engine.runFrames = runFrames;
    const until = engine.nextStart();
    recording.then(
      (module) => {
        const gif = module.gifFinish(until);
        say(gif.length === 0 ? 'Nothing was recorded.'
            : `Recorded ${(gif.length / 1024).toFixed(0)} KB${capped ? ', stopped at the size limit' : ''}.`);
        finished(gif.length > 0 ? gif : undefined);
      },
      (error: Error) => {
        say(error.message);
        finished(undefined);
      },
    );
  };
  // Each frame's picture is taken as it is drawn, whoever runs the frame: the real-time
  // pacing, a step, or window.orvanta.run().
  engine.runFrames = (count: number): void => {
    for (let i = 0; i < count; ++i) {
      runFrames.call(engine, 1);
      const shot = shotOf(engine);
      if (recorder) capped = !recorder.gifCapture(shot);
      else waiting.push(shot);
      if (capped || engine.nextStart() >= end) {
        stop();
        runFrames.call(engine, count - i - 1);
        return;
      }
    }
  };
  recording.catch(stop);
  if (context.pacer.paused) context.pacer.resume();
  say(`Recording ${length} s…`);
  return stop;
}
