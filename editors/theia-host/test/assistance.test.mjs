// What the language server offers while a user writes: hovers that explain a keyword and a
// colour, completion of a keyword with its fields to fill in, and a colour picker that
// writes the RGB565 number the device reads.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { hoverText, openFile, shownLines, typeLastLine, waitForLine, waitForServer } from './editor.mjs';
import { openIde } from './ide.mjs';

let ide;
before(async () => {
    ide = await openIde();
    await openFile(ide.page, 'config.txt');
    await waitForServer(ide.page);
});
after(() => ide?.close());

test('a hover explains a keyword with its fields, and a colour with its RGB', async () => {
    const { page } = ide;
    const lines = await shownLines(page);
    assert.equal(lines[1], 'ToggleText;28;114;SYSTEM CHECK;1;6');
    const keyword = await hoverText(page, 2, 3);
    assert.match(keyword, /ToggleText;x;y;text;scale;interval/);
    assert.match(keyword, /interval \(frames\): works every n-th frame/);

    assert.equal(lines[2], 'SetColor;64800');
    assert.match(await hoverText(page, 3, 12), /Colour 64800 shows as RGB 255, 165, 0 \(#FFA500\)/);
});

test('completion writes a keyword with its fields as places to fill in', async () => {
    const { page } = ide;
    const line = await typeLastLine(page, 'ToggleTe');
    await page.keyboard.press('Control+Space');
    await page.locator('.suggest-widget .monaco-list-row', { hasText: 'ToggleText' }).first().waitFor();
    await page.keyboard.press('Enter');
    await waitForLine(page, line, (text) => text === 'ToggleText;x;y;text;scale;interval');
    // The first field is selected; Tab moves to the next.
    await page.keyboard.type('12');
    await page.keyboard.press('Tab');
    await page.keyboard.type('34');
    await waitForLine(page, line, (text) => text === 'ToggleText;12;34;text;scale;interval');
});

test('the colour picker writes the RGB565 number of the colour picked', async () => {
    const { page } = ide;
    assert.equal((await shownLines(page))[2], 'SetColor;64800');
    await page.locator('.monaco-editor .colorpicker-color-decoration').first().hover();
    const box = page.locator('.colorpicker-widget .saturation-box');
    await box.waitFor();
    // The box's top left corner is white at any hue.
    await box.click({ position: { x: 0, y: 0 } });
    await waitForLine(page, 3, (text) => text === 'SetColor;65535');
    await page.keyboard.press('Escape');
});
