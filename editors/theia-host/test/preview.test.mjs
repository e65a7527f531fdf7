// The live preview in the host: it opens from the command palette beside the text and shows
// what orvanta-cli renders; a click on a pixel selects its line, the cursor's line outlines
// its object, typing shows at once and leaves the file unsaved, closing and reopening
// loses nothing and leaves no program running, and a drag on the display is one edit that
// Ctrl+Z in the editor takes back. The times it takes are reported.
import assert from 'node:assert/strict';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';

import { openFile, placeCursor, shownLines, textBox, waitForLine, waitForStatus } from './editor.mjs';
import { cli, openIde } from './ide.mjs';
import { clickPixel, cliPicture, COMMAND, outlinedPixels, pixel, previewFrames, previewPicture, runCommand,
         waitForPreview } from './preview.mjs';

// The demo's first file, staying on show (its LoadConfig line dropped), with a steady green
// lamp on line 8 for the checks to click and move.
const LAMP_LINE = 8;
let config = '';
let ide;
let frame;
let green; // the lamp's colour as the picture's word
before(async () => {
    ide = await openIde({
        prepare: (folder) => {
            const lines = readFileSync(join(folder, 'config.txt'), 'utf8').trimEnd().split('\n')
                .filter((line) => !line.startsWith('LoadConfig'));
            assert.equal(lines.length, LAMP_LINE - 1);
            config = [...lines, 'LED;100;40;12;1', 'SetColor;2016', 'SetBGColor;2016', ''].join('\n');
            writeFileSync(join(folder, 'config.txt'), config);
        },
    });
    await openFile(ide.page, 'config.txt');
    await waitForStatus(ide.page, 'language', 'Orvanta configuration');
});
after(() => ide?.close());

test('the preview opens from the palette beside the text and shows what orvanta-cli renders', async (t) => {
    const { page, folder } = ide;
    const chosen = await runCommand(page, COMMAND);
    let shown;
    ({ frame, shown } = await waitForPreview(page));
    t.diagnostic(`first picture ${shown - chosen} ms after the command`);
    // Beside the text: the editor stays open, with the preview in a tab of its own.
    await page.locator('.lm-TabBar-tab', { hasText: 'Preview card' }).first().waitFor();
    assert.ok(await page.locator('.lm-TabBar-tab', { hasText: 'config.txt' }).first().isVisible());

    const frames = 60;
    await frame.evaluate(() => window.orvanta.pause());
    await frame.click('#restart');
    await frame.evaluate((frames) => window.orvanta.run(frames), frames);
    const expected = await cliPicture(page, cli, folder, frames);
    const shownPicture = await previewPicture(frame);
    let differing = 0;
    for (let i = 0; i < expected.length; i += 4) if (expected.readUInt32LE(i) !== shownPicture.readUInt32LE(i)) ++differing;
    assert.equal(differing, 0, `${differing} pixels differ from orvanta-cli render --frames ${frames}`);
    assert.equal(pixel(shownPicture, 100, 40), pixel(shownPicture, 98, 40), 'the lamp is drawn');
});

test('a click on a pixel selects the line that drew it in the editor', async () => {
    const { page } = ide;
    // The editor's cursor is still where the file opened it, on line 1.
    await clickPixel(frame, 100, 40);
    // The whole line is selected, while the focus stays in the preview for the keys.
    const text = await textBox(page, LAMP_LINE, 1, 'LED;100;40;12;1'.length);
    const selection = page.locator('.monaco-editor .selected-text').first();
    await selection.waitFor({ timeout: 5000 });
    const selected = await selection.boundingBox();
    assert.ok(Math.abs(selected.x - text.x) < 2 && Math.abs(selected.width - text.width) < 3 &&
        Math.abs(selected.y - text.y) < text.height, JSON.stringify({ selected, text }));
});

test("the line with the editor's cursor outlines its object's pixels", async () => {
    const { page } = ide;
    await placeCursor(page, LAMP_LINE, 3);
    await frame.waitForFunction(() => {
        const canvas = document.getElementById('panel');
        const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
        for (let i = 0; i < data.length; i += 4) if (data[i] === 255 && data[i + 1] === 0 && data[i + 2] === 255) return true;
        return false;
    }, null, { timeout: 5000 });
    // A colour line owns no pixels: nothing is outlined.
    await placeCursor(page, LAMP_LINE + 1, 3);
    for (let tries = 0; tries < 50 && (await outlinedPixels(frame)) > 0; ++tries) await page.waitForTimeout(20);
    assert.equal(await outlinedPixels(frame), 0);
});

test('typing shows in the running preview at once and leaves the file unsaved', async (t) => {
    const { page, folder } = ide;
    await frame.evaluate(() => window.orvanta.resume());
    const before = await previewPicture(frame);
    green = pixel(before, 100, 40);
    assert.notEqual(pixel(before, 114, 40), green);
    // LED;100 becomes LED;10, then LED;110: the last key moves the lamp over (114, 40).
    await placeCursor(page, LAMP_LINE, 6);
    await page.keyboard.press('Delete');
    await waitForLine(page, LAMP_LINE, (text) => text === 'LED;10;40;12;1');
    await frame.evaluate((green) => {
        window.lampMoved = 0;
        const watch = () => {
            if (window.orvanta.picture()[40 * 128 + 114] === green) window.lampMoved = Date.now();
            else setTimeout(watch, 2);
        };
        watch();
    }, green);
    const pressed = Date.now();
    await page.keyboard.type('1');
    await frame.waitForFunction(() => window.lampMoved > 0, null, { timeout: 5000 });
    t.diagnostic(`keystroke to picture ${(await frame.evaluate(() => window.lampMoved)) - pressed} ms`);
    await waitForLine(page, LAMP_LINE, (text) => text === 'LED;110;40;12;1');
    assert.equal(readFileSync(join(folder, 'config.txt'), 'utf8'), config, 'nothing written to the file');
    await page.locator('.lm-TabBar-tab.theia-mod-dirty', { hasText: 'config.txt' }).waitFor();
});

test('closing and reopening the preview loses nothing and leaves no program behind', async () => {
    const { page, folder } = ide;
    const running = ide.processes();
    assert.equal(running.filter((p) => /orvanta-cli lsp/.test(p)).length, 1, running.join('\n'));
    // The command again only shows the one preview of the folder.
    await runCommand(page, COMMAND);
    await page.waitForTimeout(500);
    assert.equal((await previewFrames(page)).length, 1);

    await page.locator('.lm-TabBar-tab', { hasText: 'Preview card' }).first().locator('.lm-TabBar-tabCloseIcon').click();
    for (let tries = 0; tries < 100 && (await previewFrames(page)).length > 0; ++tries) await page.waitForTimeout(50);
    assert.equal((await previewFrames(page)).length, 0, 'the preview is gone');
    assert.deepEqual(ide.processes(), running, 'no program started or left by the preview');

    await openFile(page, 'config.txt');
    await runCommand(page, COMMAND);
    ({ frame } = await waitForPreview(page));
    // The unsaved edit is in the new preview too, and still only in the editor.
    await frame.waitForFunction((green) => window.orvanta.picture()[40 * 128 + 114] === green, green, { timeout: 5000 });
    assert.equal((await shownLines(page))[LAMP_LINE - 1], 'LED;110;40;12;1');
    assert.equal(readFileSync(join(folder, 'config.txt'), 'utf8'), config);
    assert.equal((await previewFrames(page)).length, 1);
    assert.deepEqual(ide.processes(), running);
});

test('a drag in the preview changes only the digits it must, and Ctrl+Z in the editor restores the text', async () => {
    const { page, folder } = ide;
    const before = await shownLines(page);
    assert.equal(before[LAMP_LINE - 1], 'LED;110;40;12;1');
    const lamp = (await frame.evaluate(() => window.orvanta.objects())).find((o) => o.line === LAMP_LINE);
    assert.equal(lamp?.keyword, 'LED');

    await frame.evaluate((line) => window.orvanta.drag(line, 'move', -30, 12), LAMP_LINE);
    await waitForLine(page, LAMP_LINE, (text) => text === 'LED;80;52;12;1');
    const expected = [...before];
    expected[LAMP_LINE - 1] = 'LED;80;52;12;1';
    assert.deepEqual(await shownLines(page), expected);
    assert.equal(readFileSync(join(folder, 'config.txt'), 'utf8'), config, 'the file stays unsaved');
    // The preview shows the lamp at its new place.
    await frame.waitForFunction((green) => window.orvanta.picture()[52 * 128 + 80] === green, green, { timeout: 5000 });

    // One step of the editor's history undoes the whole drag.
    await placeCursor(page, 1, 1);
    await page.keyboard.press('Control+Z');
    await waitForLine(page, LAMP_LINE, (text) => text === 'LED;110;40;12;1');
    assert.deepEqual(await shownLines(page), before);
    await frame.waitForFunction((green) => window.orvanta.picture()[40 * 128 + 114] === green, green, { timeout: 5000 });

    // The same with the pointer: a press on the lamp selects it, dragging it down moves it.
    const canvas = await frame.locator('#panel').boundingBox();
    const scale = canvas.width / 128;
    const [x, y] = [canvas.x + 110.5 * scale, canvas.y + 40.5 * scale];
    await page.mouse.move(x, y);
    await page.mouse.down();
    for (let step = 1; step <= 10; ++step) await page.mouse.move(x, y + step * 2 * scale);
    await page.mouse.up();
    await waitForLine(page, LAMP_LINE, (text) => text !== 'LED;110;40;12;1');
    const dragged = await shownLines(page);
    const [, newX, newY] = /^LED;(\d+);(\d+);12;1$/.exec(dragged[LAMP_LINE - 1]) ?? [];
    assert.ok(Math.abs(newX - 110) <= 4 && newY > 50, dragged[LAMP_LINE - 1]);
    assert.deepEqual(dragged.filter((_, i) => i !== LAMP_LINE - 1), before.filter((_, i) => i !== LAMP_LINE - 1));
    await placeCursor(page, 1, 1);
    await page.keyboard.press('Control+Z');
    await waitForLine(page, LAMP_LINE, (text) => text === 'LED;110;40;12;1');
    assert.deepEqual(await shownLines(page), before);

    // Nudged with the keys on the display, a step each, and undone a step at a time.
    await clickPixel(frame, 110, 40);
    await page.keyboard.press('ArrowRight');
    await waitForLine(page, LAMP_LINE, (text) => text === 'LED;111;40;12;1');
    await page.keyboard.press('Shift+ArrowDown');
    await waitForLine(page, LAMP_LINE, (text) => text === 'LED;111;48;12;1');
    await placeCursor(page, 1, 1);
    await page.keyboard.press('Control+Z');
    await waitForLine(page, LAMP_LINE, (text) => text === 'LED;111;40;12;1');
    await page.keyboard.press('Control+Z');
    await waitForLine(page, LAMP_LINE, (text) => text === 'LED;110;40;12;1');
    assert.deepEqual(await shownLines(page), before);

    // Ctrl+Z on the display: the host hands the key to its editor, whose history it undoes.
    await clickPixel(frame, 110, 40);
    await page.keyboard.press('ArrowRight');
    await waitForLine(page, LAMP_LINE, (text) => text === 'LED;111;40;12;1');
    await page.keyboard.press('Control+Z');
    await waitForLine(page, LAMP_LINE, (text) => text === 'LED;110;40;12;1');
    assert.deepEqual(await shownLines(page), before);
});

test('an instrument dragged from the preview\'s palette lands in the text as one edit', async () => {
    const { page, folder } = ide;
    const before = await shownLines(page);
    const item = await frame.locator('#palette [data-keyword="LED"]').boundingBox();
    const canvas = await frame.locator('#panel').boundingBox();
    const scale = canvas.width / 128;
    await page.mouse.move(item.x + item.width / 2, item.y + item.height / 2);
    await page.mouse.down();
    await page.mouse.move(canvas.x + 20.5 * scale, canvas.y + 100.5 * scale, { steps: 8 });
    await page.mouse.up();
    // The new line follows the colour lines of the last object, and nothing else changes.
    const added = LAMP_LINE + 3;
    await waitForLine(page, added, (text) => /^LED;20;100;\d+;\d+$/.test(text));
    const after = await shownLines(page);
    assert.deepEqual([...after.slice(0, added - 1), ...after.slice(added)], before);
    assert.equal(readFileSync(join(folder, 'config.txt'), 'utf8'), config, 'the file stays unsaved');
    await frame.waitForFunction((line) => window.orvanta.lineAt(20, 100) === `config.txt:${line}: LED`, added, { timeout: 5000 });

    await placeCursor(page, 1, 1);
    await page.keyboard.press('Control+Z');
    await waitForLine(page, added, (text) => text === before[added - 1]);
    assert.deepEqual(await shownLines(page), before);
});
