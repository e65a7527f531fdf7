// Takes the README's picture of the page: the demo loaded, at a size that shows every
// region. Usage: node host/web/bench/screenshot.mjs OUT.png [SITE_DIR]
import { takePagePicture } from './page_picture.mjs';

await takePagePicture('screenshot.mjs', { width: 1280, height: 720 }, async (page, shoot) => {
  // The demo's cockpit panel, a few seconds in: paused on the same frame every time.
  await page.evaluate(() => window.orvanta.pause());
  await page.selectOption('#examples', 'demo');
  await page.evaluate(() => window.orvanta.run(700));
  await shoot();
});
