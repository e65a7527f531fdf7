// Takes the README's picture of the page: the demo loaded, at a size that shows every
// region. Usage: node host/web/bench/screenshot.mjs OUT.png [SITE_DIR]
// (SITE_DIR defaults to build/web/site; the page must be built).
import { resolve } from 'node:path';

const [out, siteDir = 'build/web/site'] = process.argv.slice(2);
if (!out) {
  console.error('usage: node screenshot.mjs OUT.png [SITE_DIR]');
  process.exit(2);
}
process.env.ORVANTA_SITE = resolve(siteDir);
process.env.ORVANTA_EXAMPLES ??= 'unused';
process.env.ORVANTA_NATIVE_CLI ??= 'unused';
const { launchChromium, openPage, serveSite } = await import('../tests/support.mjs');

const { server, origin } = await serveSite();
const browser = await launchChromium();
try {
  const { page } = await openPage(browser, `${origin}/`, { viewport: { width: 1280, height: 720 } });
  // The demo's cockpit panel, a few seconds in: paused on the same frame every time.
  await page.evaluate(() => {
    window.orvanta.pause();
  });
  await page.selectOption('#examples', 'demo');
  await page.evaluate(() => window.orvanta.run(700));
  await page.screenshot({ path: resolve(out) });
  console.log(resolve(out));
} finally {
  await browser.close();
  server.close();
}
