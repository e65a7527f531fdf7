// Takes the README's picture of a drag in progress on the display: the demo's compass,
// at 300 %, held part way off the panel's right edge with the pointer still down.
// Usage: node host/web/bench/design_screenshot.mjs OUT.png [SITE_DIR]
// (SITE_DIR defaults to build/web/site; the page must be built).
import { resolve } from 'node:path';

const [out, siteDir = 'build/web/site'] = process.argv.slice(2);
if (!out) {
  console.error('usage: node design_screenshot.mjs OUT.png [SITE_DIR]');
  process.exit(2);
}
process.env.ORVANTA_SITE = resolve(siteDir);
process.env.ORVANTA_EXAMPLES ??= 'unused';
process.env.ORVANTA_NATIVE_CLI ??= 'unused';
const { launchChromium, openPage, serveSite } = await import('../tests/support.mjs');

const { server, origin } = await serveSite();
const browser = await launchChromium();
try {
  const { page } = await openPage(browser, `${origin}/`, { viewport: { width: 1400, height: 800 } });
  await page.evaluate(() => window.orvanta.pause());
  await page.selectOption('#examples', 'demo');
  await page.selectOption('#zoom', '3');
  // The cockpit panel, a few seconds in, with the compass selected.
  await page.evaluate(() => window.orvanta.run(700));
  const compass = await page.evaluate(() => window.orvanta.objects().find((o) => o.keyword === 'Kompass'));
  const box = await page.locator('#panel').boundingBox();
  const at = (x, y) => [box.x + ((x + 0.5) * box.width) / 128, box.y + ((y + 0.5) * box.height) / 128];
  const [x, y] = at((compass.box[0] + compass.box[2]) / 2, (compass.box[1] + compass.box[3]) / 2);
  await page.mouse.move(x, y);
  await page.mouse.down();
  for (let i = 1; i <= 10; ++i) await page.mouse.move(x + i * 6, y + i * 1.5);
  // The live picture follows within the preview's delay.
  await page.waitForTimeout(300);
  await page.screenshot({ path: resolve(out) });
  await page.mouse.up();
  console.log(resolve(out));
} finally {
  await browser.close();
  server.close();
}
