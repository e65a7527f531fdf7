// The Readings panel in Debian's Chromium: a slider moved to the top takes the needle there
// three degrees a frame, the picture the desktop gives for the same hold, and the held
// values come back after a reload of the page.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';

import { launchChromium, nativeCli, openPage, openSite } from './support.mjs';

let browser, served;
before(async () => {
  served = await openSite();
  browser = await launchChromium();
});
after(async () => {
  await browser?.close();
  served?.server.close();
});

const NEEDLE = 'RoundPointer;64;64;100;-90;90\n';

// The desktop's picture after `frames` frames with the needle held at 87 from power-on, as
// hex of its PNG decoded by the page.
async function nativeHeld(page, frames) {
  const folder = mkdtempSync(join(tmpdir(), 'orvanta-readings-'));
  try {
    writeFileSync(join(folder, 'config.txt'), NEEDLE);
    execFileSync(nativeCli, ['render', folder, '--frames', String(frames), '--hold', 'config.txt:1=87',
                             '--png', join(folder, 'last.png')]);
    const png = readFileSync(join(folder, 'last.png')).toString('base64');
    return await page.evaluate(async (png) => {
      const bytes = Uint8Array.from(atob(png), (c) => c.charCodeAt(0));
      const bitmap = await createImageBitmap(new Blob([bytes], { type: 'image/png' }),
                                             { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
      const context = new OffscreenCanvas(128, 128).getContext('2d');
      context.drawImage(bitmap, 0, 0);
      const rgba = context.getImageData(0, 0, 128, 128).data;
      const words = [];
      for (let i = 0; i < rgba.length; i += 4) words.push(rgba[i] | (rgba[i + 1] << 8) | (rgba[i + 2] << 16));
      return words.join(',');
    }, png);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

const picture = (page) => page.evaluate(() => Array.from(window.orvanta.picture()).join(','));

test('a slider moved to the top brings the needle to its maximum at the device pace', async () => {
  const { page, problems } = await openPage(browser, served.url);
  await page.evaluate((text) => {
    window.orvanta.load({ 'config.txt': text });
    window.orvanta.run(1);
  }, NEEDLE);
  const slider = page.locator('#readings li[data-line="1"] input[type="range"]');
  assert.equal(await slider.getAttribute('max'), '87', 'the last step of 3 from -90 below 90');
  await slider.fill('87');
  const row = await page.evaluate(() => window.orvanta.readings()[0]);
  assert.equal(row.mode, 'hold');
  assert.equal(row.value, '87');
  // The first frame showed -87; 57 more frames of 3 degrees reach 84, the 58th 87.
  await page.evaluate(() => window.orvanta.run(57));
  const before = await picture(page);
  await page.evaluate(() => window.orvanta.run(1));
  const reached = await picture(page);
  assert.notEqual(reached, before, 'the needle still moves in frame 59');
  assert.equal(reached, await nativeHeld(page, 59));
  await page.evaluate(() => window.orvanta.run(5));
  assert.equal(await picture(page), reached, 'at the maximum the needle stays');
  assert.deepEqual(problems, []);
  await page.close();
});

test('held values come back after a reload and the trace says so', async () => {
  const { page, problems } = await openPage(browser, served.url);
  await page.evaluate((text) => {
    window.orvanta.load({ 'config.txt': `${text}LED;10;10;8;0\n` });
    window.orvanta.run(1);
    window.orvanta.hold('config.txt', 1, '45');
    window.orvanta.sweep('config.txt', 2);
  }, NEEDLE);
  const refused = await page.evaluate(() => {
    try {
      window.orvanta.hold('config.txt', 3, '1');
      return '';
    } catch (error) {
      return String(error.message);
    }
  });
  assert.equal(refused, "'config.txt' has no line 3 (it has 2)");
  // The folder and the overrides are written to IndexedDB shortly after they change.
  await page.waitForTimeout(1000);
  await page.reload();
  await page.waitForFunction(() => window.orvanta?.readings?.()[0]?.mode === 'hold', null, { timeout: 20000 });
  const rows = await page.evaluate(() => window.orvanta.readings().map((r) => `${r.line} ${r.mode} ${r.value}`));
  assert.deepEqual(rows, ['1 hold 45', '2 sweep ']);
  const trace = await page.evaluate(() => new TextDecoder().decode(window.orvanta.trace()));
  assert.match(trace, /Hold config\.txt:1 45\n/);
  assert.equal(await page.locator('#readings li[data-line="1"] input[type="number"]').inputValue(), '45');
  assert.deepEqual(problems, []);
  await page.close();
});
