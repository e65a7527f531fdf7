// The page in Debian's Chromium: the same pictures and traces as the desktop program, no
// request beyond its own files, from a server and from file://, and a sharp panel.
import assert from 'node:assert/strict';
import { basename, join } from 'node:path';
import { after, before, test } from 'node:test';
import { pathToFileURL } from 'node:url';

import { folderFiles, launchChromium, nativeRender, openPage, pageRender, parityFolders, openSite,
         site } from './support.mjs';

let browser, served;
before(async () => {
  served = await openSite();
  browser = await launchChromium();
});
after(async () => {
  await browser?.close();
  served?.server.close();
});

test('load then run(N) gives the pictures and traces of orvanta-cli render', async () => {
  const { page, problems } = await openPage(browser, served.url);
  const differing = [];
  for (const [folder, frames] of parityFolders()) {
    const web = await pageRender(page, folderFiles(folder), frames);
    const native = await nativeRender(page, folder, frames);
    assert.equal(web.length, 128 * 128);
    assert.ok(native.trace.length > 0, `${basename(folder)}: the desktop trace is empty`);
    if (!web.picture.equals(native.picture)) differing.push(`${basename(folder)}: picture`);
    if (!web.trace.equals(native.trace)) differing.push(`${basename(folder)}: trace`);
  }
  assert.deepEqual(differing, []);
  assert.deepEqual(problems, []);
});

test('the page asks for nothing beyond its own files and runs in real time', async () => {
  const requests = [];
  const page = await browser.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(String(error)));
  page.on('request', (request) => requests.push(request.url()));
  await page.goto(served.url);
  await page.waitForFunction(() => window.orvanta !== undefined);
  // The demo runs on its own from the start; a second of it runs frames on the page's clock.
  const frames = () => page.evaluate(() => window.orvanta.trace().length);
  const before = await frames();
  await page.waitForTimeout(1000);
  assert.ok((await frames()) > before, 'the trace did not grow while running');
  const policy = await page.getAttribute('meta[http-equiv="Content-Security-Policy"]', 'content');
  assert.match(policy, /default-src 'none'/);
  const foreign = requests.filter((url) => !url.startsWith(`${served.origin}/`));
  assert.deepEqual(foreign, []);
  assert.ok(requests.length > 0);
  assert.deepEqual(problems, []);
  const [mark] = await page.evaluate(() =>
    performance.getEntriesByName('orvanta-first-picture').map((entry) => entry.startTime));
  assert.ok(mark !== undefined, 'no first picture was marked');
  console.log(`first picture after ${mark.toFixed(0)} ms`);
});

test('the page opened from file:// runs the device as served', async () => {
  const { page, problems } = await openPage(browser, pathToFileURL(join(site, 'index.html')).href);
  const [folder, frames] = parityFolders()[1];
  const web = await pageRender(page, folderFiles(folder), frames);
  const native = await nativeRender(page, folder, frames);
  assert.ok(web.picture.equals(native.picture) && web.trace.equals(native.trace));
  assert.deepEqual(problems, []);
});

test('each panel pixel is a square of whole device pixels at every ratio and zoom', async () => {
  for (const ratio of [1, 1.25, 1.5, 2]) {
    const { page } = await openPage(browser, served.url, {
      deviceScaleFactor: ratio,
      viewport: { width: 900, height: 700 },
    });
    for (const zoom of ['1', '2', '3', '4', 'fit']) {
      await page.selectOption('#zoom', zoom);
      const { width, cssWidth } = await page.evaluate(() => {
        const canvas = document.getElementById('panel');
        return { width: canvas.width, cssWidth: canvas.getBoundingClientRect().width };
      });
      const expected = zoom === 'fit' ? undefined : 128 * Math.max(1, Math.round(Number(zoom) * ratio));
      assert.equal(width % 128, 0, `ratio ${ratio}, zoom ${zoom}: ${width} device pixels`);
      if (expected !== undefined) assert.equal(width, expected, `ratio ${ratio}, zoom ${zoom}`);
      assert.ok(Math.abs(cssWidth * ratio - width) < 0.1, `ratio ${ratio}, zoom ${zoom}: ${cssWidth} CSS px`);
    }
    await page.close();
  }
});

test('pause holds the device still, step runs one frame, restart powers on again', async () => {
  const { page, problems } = await openPage(browser, served.url);
  const frames = () => page.evaluate(() => Number(/(\d+) frames/.exec(document.getElementById('status').textContent)[1]));
  const traceSize = () => page.evaluate(() => window.orvanta.trace().length);
  await page.waitForFunction(() => /Running · [1-9]/.test(document.getElementById('status').textContent));
  await page.click('#pause');
  const held = await frames();
  const heldTrace = await traceSize();
  await page.waitForTimeout(400);
  assert.equal(await frames(), held);
  assert.equal(await traceSize(), heldTrace);
  await page.click('#step');
  assert.equal(await frames(), held + 1);
  assert.match(await page.textContent('#status'), /^Paused/);
  // A restart loads config.txt again in the next frame, as at power-on: the demo's title.
  const before = await traceSize();
  await page.click('#restart');
  await page.click('#step');
  const trace = await page.evaluate(() => new TextDecoder().decode(window.orvanta.trace()));
  assert.ok(trace.slice(before).includes("Loading image 'title.bmp'"), 'no power-on after the restart');
  await page.click('#pause');
  await page.waitForFunction(() => /^Running/.test(document.getElementById('status').textContent));
  assert.deepEqual(problems, []);
});
