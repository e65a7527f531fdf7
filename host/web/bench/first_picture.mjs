// Opens a built page in headless Chromium and waits for its first picture; prints the time
// the page marked it at, or fails with what the page said. Used on the installed page:
//   node host/web/bench/first_picture.mjs /usr/share/orvanta/web/index.html
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const [page] = process.argv.slice(2);
if (!page) {
  console.error('usage: node first_picture.mjs INDEX_HTML');
  process.exit(2);
}
const browser = await chromium.launch({
  executablePath: process.env.ORVANTA_CHROMIUM ?? '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run'],
});
try {
  const tab = await browser.newPage();
  const problems = [];
  tab.on('pageerror', (error) => problems.push(String(error)));
  tab.on('console', (message) => message.type() === 'error' && problems.push(message.text()));
  await tab.goto(pathToFileURL(resolve(page)).href);
  try {
    await tab.waitForFunction(() => window.orvanta !== undefined &&
      performance.getEntriesByName('orvanta-first-picture').length > 0, null, { timeout: 20000 });
  } catch {
    throw new Error(`no first picture; the page says "${await tab.textContent('#status')}" ${problems.join('; ')}`);
  }
  // The first picture shows something: not every pixel of the panel is black.
  const lit = await tab.evaluate(() => window.orvanta.picture().some((word) => word !== 0));
  if (!lit) throw new Error('the first picture is black');
  if (problems.length) throw new Error(problems.join('; '));
  const at = await tab.evaluate(() => performance.getEntriesByName('orvanta-first-picture')[0].startTime);
  console.log(`first picture after ${at.toFixed(0)} ms`);
} finally {
  await browser.close();
}
