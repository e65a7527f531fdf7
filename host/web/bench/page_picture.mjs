// What the page's screenshot scripts share: their arguments (OUT.png [SITE_DIR], the site
// defaulting to build/web/site, which must be built), the page served in Chromium at a
// viewport, and the picture written to OUT. `pose(page)` brings the page to what is shown.
import { resolve } from 'node:path';

export async function takePagePicture(script, viewport, pose) {
  const [out, siteDir = 'build/web/site'] = process.argv.slice(2);
  if (!out) {
    console.error(`usage: node ${script} OUT.png [SITE_DIR]`);
    process.exit(2);
  }
  process.env.ORVANTA_SITE = resolve(siteDir);
  process.env.ORVANTA_EXAMPLES ??= 'unused';
  process.env.ORVANTA_NATIVE_CLI ??= 'unused';
  const { launchChromium, openPage, serveSite } = await import('../tests/support.mjs');

  const { server, origin } = await serveSite();
  const browser = await launchChromium();
  try {
    const { page } = await openPage(browser, `${origin}/`, { viewport });
    await pose(page, () => page.screenshot({ path: resolve(out) }));
    console.log(resolve(out));
  } finally {
    await browser.close();
    server.close();
  }
}
