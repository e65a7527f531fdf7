// Takes the README's picture of a drag in progress on the display: the demo's compass,
// at 300 %, held part way off the panel's right edge with the pointer still down.
// Usage: node host/web/bench/design_screenshot.mjs OUT.png [SITE_DIR]
import { takePagePicture } from './page_picture.mjs';

await takePagePicture('design_screenshot.mjs', { width: 1400, height: 800 }, async (page, shoot) => {
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
  await shoot();
  await page.mouse.up();
});
