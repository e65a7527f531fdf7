// Takes the picture of the preview beside the text that docs/editors.md shows, in the
// Theia host, with the compass selected on the display. Run after scripts/test-ide has
// built the host and unpacked the extension:
//   node editors/theia-host/bench/screenshot.mjs docs/images/ide-preview.png
import { openFile, waitForStatus } from '../test/editor.mjs';
import { openIde } from '../test/ide.mjs';
import { clickPixel, COMMAND, runCommand, waitForPreview } from '../test/preview.mjs';

const out = process.argv[2];
if (!out) {
    console.error('usage: node editors/theia-host/bench/screenshot.mjs OUT.png');
    process.exit(2);
}
const ide = await openIde();
try {
    const { page } = ide;
    await openFile(page, 'panel.txt');
    await waitForStatus(page, 'language', 'Orvanta configuration');
    await runCommand(page, COMMAND);
    const { frame } = await waitForPreview(page);
    await frame.evaluate(() => window.orvanta.run(120));
    // The compass (line 4 of the demo's panel.txt) selected by a click on its needle's ring.
    const compass = (await frame.evaluate(() => window.orvanta.objects())).find((o) => o.keyword === 'Kompass');
    await clickPixel(frame, compass.box[0] + 3, Math.floor((compass.box[1] + compass.box[3]) / 2));
    await frame.locator('#properties').scrollIntoViewIfNeeded();
    await page.waitForTimeout(500);
    await page.screenshot({ path: out });
} finally {
    await ide.close();
}
