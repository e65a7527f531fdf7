// Measures the preview's budgets in the Theia host: the first picture after the command
// (opened, closed and opened again), and a keystroke in the editor to the picture that
// shows it. Run after scripts/test-ide has built the host and unpacked the extension:
//   node editors/theia-host/bench/preview.mjs [ROUNDS]
// It prints each time and the median of each.
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';

import { openFile, placeCursor, waitForLine, waitForStatus } from '../test/editor.mjs';
import { openIde } from '../test/ide.mjs';
import { COMMAND, pixel, previewFrames, previewPicture, runCommand, waitForPreview } from '../test/preview.mjs';

const rounds = Number(process.argv[2] ?? 7);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// A steady lamp on line 1 over a black display, moved between x = 100 and x = 110.
const ide = await openIde({
    prepare: (folder) => writeFileSync(join(folder, 'config.txt'), 'LED;100;40;12;1\nSetColor;2016\nSetBGColor;2016\nimage;none.bmp\n'),
});
try {
    const { page } = ide;
    await openFile(page, 'config.txt');
    await waitForStatus(page, 'language', 'Orvanta configuration');

    const opened = [];
    let frame;
    for (let round = 0; round < rounds; ++round) {
        const chosen = await runCommand(page, COMMAND);
        let shown;
        ({ frame, shown } = await waitForPreview(page));
        opened.push(shown - chosen);
        if (round + 1 === rounds) break;
        await page.locator('.lm-TabBar-tab', { hasText: 'Preview card' }).first().locator('.lm-TabBar-tabCloseIcon').click();
        while ((await previewFrames(page)).length > 0) await page.waitForTimeout(20);
        await openFile(page, 'config.txt');
    }
    console.log(`first picture after the command: ${opened.join(', ')} ms; median ${median(opened)} ms`);

    const green = pixel(await previewPicture(frame), 100, 40);
    const typed = [];
    for (let round = 0; round < rounds; ++round) {
        // Even rounds move the lamp to 110 and watch (114, 40); odd ones back to 100, (95, 40).
        const [to, x] = round % 2 === 0 ? ['110', 114] : ['100', 95];
        await placeCursor(page, 1, 5);
        for (let i = 0; i < 3; ++i) await page.keyboard.press('Delete');
        await page.keyboard.type(to.slice(0, 2));
        await waitForLine(page, 1, (text) => text === `LED;${to.slice(0, 2)};40;12;1`);
        await page.waitForTimeout(300);
        await frame.evaluate(([green, x]) => {
            window.lampMoved = 0;
            const watch = () => {
                if (window.orvanta.picture()[40 * 128 + x] === green) window.lampMoved = Date.now();
                else setTimeout(watch, 1);
            };
            watch();
        }, [green, x]);
        const pressed = Date.now();
        await page.keyboard.type(to.slice(2));
        await frame.waitForFunction(() => window.lampMoved > 0, null, { timeout: 5000 });
        typed.push((await frame.evaluate(() => window.lampMoved)) - pressed);
    }
    console.log(`keystroke to picture: ${typed.join(', ')} ms; median ${median(typed)} ms`);
} finally {
    await ide.close();
}
