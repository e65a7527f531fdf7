// Takes the README's picture of the property panel: the demo at 300 %, its compass
// selected on the display. Usage: node host/web/bench/properties_screenshot.mjs OUT.png
// [SITE_DIR]
import { takePagePicture } from './page_picture.mjs';

await takePagePicture('properties_screenshot.mjs', { width: 1440, height: 860 }, async (page, shoot) => {
  await page.waitForFunction(() => typeof window.orvanta.objects === 'function');
  await page.evaluate(() => window.orvanta.pause());
  await page.selectOption('#examples', 'demo');
  await page.selectOption('#zoom', '3');
  await page.evaluate(() => window.orvanta.run(700));
  const compass = await page.evaluate(() => window.orvanta.objects().find((o) => o.keyword === 'Kompass')?.line);
  await page.evaluate((line) => window.orvanta.select([line ?? 1]), compass);
  await page.locator('#properties .property-title').waitFor();
  await page.evaluate(() => window.orvanta.run(1));
  await shoot();
});
