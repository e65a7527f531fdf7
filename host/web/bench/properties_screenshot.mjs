// Takes the README's picture of the property panel: the demo at 300 %, its compass
// selected on the display. Usage: node host/web/bench/properties_screenshot.mjs OUT.png
// [SITE_DIR] (SITE_DIR defaults to build/web/site; the page must be built).
import { resolve } from 'node:path';

const [out, siteDir = 'build/web/site'] = process.argv.slice(2);
if (!out) {
  console.error('usage: node properties_screenshot.mjs OUT.png [SITE_DIR]');
  process.exit(2);
}
process.env.ORVANTA_SITE = resolve(siteDir);
process.env.ORVANTA_EXAMPLES ??= 'unused';
process.env.ORVANTA_NATIVE_CLI ??= 'unused';
const { launchChromium, openPage, serveSite } = await import('../tests/support.mjs');

const { server, origin } = await serveSite();
const browser = await launchChromium();
try {
  const { page } = await openPage(browser, `${origin}/`, { viewport: { width: 1440, height: 860 } });
  await page.waitForFunction(() => typeof window.orvanta.objects === 'function');
  await page.evaluate(() => window.orvanta.pause());
  await page.selectOption('#examples', 'demo');
  await page.selectOption('#zoom', '3');
  await page.evaluate(() => window.orvanta.run(700));
  const compass = await page.evaluate(() => window.orvanta.objects().find((o) => o.keyword === 'Kompass')?.line);
  await page.evaluate((line) => window.orvanta.select([line ?? 1]), compass);
  await page.locator('#properties .property-title').waitFor();
  await page.evaluate(() => window.orvanta.run(1));
  await page.screenshot({ path: resolve(out) });
  console.log(resolve(out));
} finally {
  await browser.close();
  server.close();
}
