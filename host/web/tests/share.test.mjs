// Sharing from the page: the picture, the recording, the zip and the link give back what
// the page shows; the findings are the command line's; the examples are built in; the
// trace stops at its cap.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { randomBytes } from 'node:crypto';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { unzipSync, zipSync } from 'fflate';

import { downloadOf, examples, folderFiles, launchChromium, nativeCli, openPage, openSite,
         pageRender, runNativeCli } from './support.mjs';

let browser, site;
before(async () => {
  site = await openSite();
  browser = await launchChromium();
});
after(async () => {
  await browser?.close();
  site?.server.close();
});

const kompass = join(examples, 'gallery', 'kompass');

// Loads a folder (name -> base64) paused, at zoom 1 unless told.
async function loadPaused(page, files, zoom = '1') {
  await page.selectOption('#zoom', zoom);
  await page.evaluate((files) => {
    const loaded = {};
    for (const [name, base64] of Object.entries(files)) loaded[name] = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    window.orvanta.load(loaded);
  }, files);
}

function nativeOutputs(folder, args) {
  const out = mkdtempSync(join(tmpdir(), 'orvanta-share-'));
  try {
    execFileSync(nativeCli, ['render', folder, ...args.map((a) => a.replace('OUT', out))]);
    return (name) => readFileSync(join(out, name));
  } finally {
    setTimeout(() => rmSync(out, { recursive: true, force: true }), 0);
  }
}

test('the saved PNG and the recorded GIF are the files orvanta-cli render writes', async () => {
  const { page, problems } = await openPage(browser, site.url);
  await loadPaused(page, folderFiles(kompass), '2');
  await page.evaluate(() => window.orvanta.run(30));
  const png = await downloadOf(page, () => page.click('#save-png'));
  assert.match(png.name, /\.png$/);
  const pngNative = nativeOutputs(kompass, ['--frames', '30', '--zoom', '2', '--png', 'OUT/last.png'])('last.png');
  assert.ok(png.bytes.equals(pngNative), 'the PNG differs from the command line\'s');

  // One second recorded from power-on: the frames that start within it, as --seconds 1.
  await loadPaused(page, folderFiles(kompass), '1');
  await page.fill('#gif-seconds', '1');
  const gif = await downloadOf(page, () =>
    page.evaluate(() => {
      document.getElementById('record-gif').click();
      window.orvanta.run(200);
    }));
  assert.match(gif.name, /\.gif$/);
  const gifNative = nativeOutputs(kompass, ['--seconds', '1', '--gif', 'OUT/run.gif'])('run.gif');
  assert.equal(gif.bytes.subarray(0, 6).toString('latin1'), 'GIF89a');
  assert.ok(gif.bytes.equals(gifNative), `the GIF (${gif.bytes.length} B) differs from the command line's (${gifNative.length} B)`);
  assert.equal(await page.textContent('#record-gif'), 'Record GIF');
  assert.deepEqual(problems, []);
});

test('the zip and the link hold the folder, edits included, and a link restores it', async () => {
  const { page, problems } = await openPage(browser, site.url);
  const files = folderFiles(join(examples, 'demo'));
  files['config.txt'] = Buffer.from('Kompass;64;64;100;0\r\nLoadConfig;panel.txt;5\r\n').toString('base64');
  await loadPaused(page, files);
  const zip = await downloadOf(page, () => page.click('#download-zip'));
  const unzipped = unzipSync(zip.bytes);
  assert.deepEqual(Object.keys(unzipped).sort(), Object.keys(files).sort());
  for (const [name, base64] of Object.entries(files))
    assert.ok(Buffer.from(unzipped[name]).equals(Buffer.from(base64, 'base64')), `${name} differs in the zip`);

  await page.click('#copy-link');
  if (!site.served) {
    assert.match(await page.textContent('#share-note'), /needs the page to be served/);
    const offered = await downloadOf(page, () => page.click('#share-note button'));
    assert.deepEqual(unzipSync(offered.bytes), unzipped);
    assert.deepEqual(problems, []);
    return;
  }
  const link = await page.inputValue('#share-link');
  assert.ok(link.startsWith(`${site.url}#folder=`), link.slice(0, 80));
  assert.ok(link.length < 64 * 1024);
  // The page opened on the link runs the linked folder from power-on: its trace so far is
  // the start of that folder's trace (the demo's own would load title.bmp first).
  const opened = await openPage(browser, link);
  await opened.page.waitForFunction(() => window.orvanta.trace().length > 300);
  const restored = Buffer.from(await opened.page.evaluate(() => {
    window.orvanta.pause();
    return Array.from(window.orvanta.trace());
  }));
  const direct = (await pageRender(page, files, 300)).trace;
  assert.ok(direct.subarray(0, restored.length).equals(restored), restored.toString().slice(0, 200));
  assert.ok(!restored.toString().includes('title.bmp'));

  // A folder too large for a link is offered as a zip; a broken link shows the demo.
  await loadPaused(page, { 'config.txt': randomBytes(90000).toString('base64') });
  await page.click('#copy-link');
  assert.match(await page.textContent('#share-note'), /more than the 64 KB a link may hold\. Download the zip instead/);
  assert.ok(await page.isHidden('#share-link'));
  const offered = await downloadOf(page, () => page.click('#share-note button'));
  assert.deepEqual(Object.keys(unzipSync(offered.bytes)), ['config.txt']);
  // A broken link, and one whose zip would unpack to 70 MB, show the demo and say why.
  const bomb = Buffer.from(zipSync({ 'config.txt': new Uint8Array(70 << 20) }, { level: 9 })).toString('base64url');
  for (const fragment of ['not-a-zip', bomb]) {
    const broken = await openPage(browser, `${site.url}#folder=${fragment}`);
    assert.match(await broken.page.textContent('#share-note'), /cannot be read.*the demo is shown/);
    assert.deepEqual(broken.problems, []);
    await broken.page.close();
  }
  assert.deepEqual([...problems, ...opened.problems], []);
});

test('findings() is the document orvanta-cli check --format json prints', async () => {
  const { page, problems } = await openPage(browser, site.url);
  const mistakes = mkdtempSync(join(tmpdir(), 'orvanta-findings-'));
  try {
    writeFileSync(join(mistakes, 'config.txt'),
      'tacho;10;10;20;100;0\nKompass;64;64;15px;0\nLED;1;2;3\nLoadConfig;pannel.txt;3\nBMP;0;0;missing.bmp\n');
    writeFileSync(join(mistakes, 'panel.txt'), 'Radar;64;64;100\n');
    for (const folder of [join(examples, 'demo'), mistakes]) {
      await loadPaused(page, folderFiles(folder));
      const document = await page.evaluate(() => JSON.stringify(window.orvanta.findings(), null, 2));
      const native = runNativeCli(['check', '--format', 'json', '.'], folder).trimEnd();
      assert.equal(document, native);
    }
    assert.ok(JSON.parse(runNativeCli(['check', '--format', 'json', '.'], mistakes)).errors >= 2);
  } finally {
    rmSync(mistakes, { recursive: true, force: true });
  }
  assert.deepEqual(problems, []);
});

test('every built-in example loads from the chooser, and the trace stops at its cap', async () => {
  const { page, problems } = await openPage(browser, site.url);
  const choices = await page.$$eval('#examples option', (options) => options.map((o) => o.value).filter(Boolean));
  assert.equal(choices[0], 'demo');
  assert.ok(choices.length >= 9, choices.join());
  for (const choice of choices) {
    await page.selectOption('#examples', choice);
    await page.waitForFunction(() => window.orvanta.trace().length > 0);
    const trace = Buffer.from(await page.evaluate(() => {
      window.orvanta.pause();
      return Array.from(window.orvanta.trace());
    }));
    const native = execFileSync(nativeCli, ['render', join(examples, choice), '--frames', '300', '--trace', '-'],
                                { maxBuffer: 1 << 28 });
    assert.ok(native.subarray(0, trace.length).equals(trace), `${choice}: the page ran another folder`);
  }

  // A small cap: the trace keeps its start, byte for byte, then says where it stopped.
  const full = (await pageRender(page, folderFiles(kompass), 400)).trace;
  await page.evaluate(() => window.orvanta.traceLimit(200));
  const capped = (await pageRender(page, folderFiles(kompass), 400)).trace;
  await page.evaluate(() => window.orvanta.traceLimit(0));
  const stop = capped.lastIndexOf('The page\'s trace stops here');
  assert.ok(full.length > 400 && stop > 100 && stop <= 201, `${full.length} ${stop}`);
  // The stop begins on a line of its own: the last line kept may have been ended for it.
  assert.ok(capped.subarray(0, stop - 1).equals(full.subarray(0, stop - 1)));
  assert.equal(capped[stop - 1], 10);
  assert.match(capped.subarray(stop).toString(), /^The page's trace stops here: it reached its limit of 200 bytes\.\n$/);
  assert.ok((await pageRender(page, folderFiles(kompass), 400)).trace.equals(full));
  assert.deepEqual(problems, []);
});
