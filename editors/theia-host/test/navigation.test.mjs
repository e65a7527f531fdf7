// Finding one's way in a folder: the outline lists the objects of a file line by line, and
// "go to definition" on a picture's name opens that picture.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';

import { openFile, placeCursor, waitForServer } from './editor.mjs';
import { demo, openIde } from './ide.mjs';

let ide;
before(async () => {
    ide = await openIde();
    await openFile(ide.page, 'config.txt');
    await waitForServer(ide.page);
});
after(() => ide?.close());

test('the outline lists every object of the file with its line', async () => {
    const { page } = ide;
    await page.locator('#shell-tab-outline-view').click();
    const lines = readFileSync(join(demo, 'config.txt'), 'utf8').trimEnd().split('\n');
    const expected = lines.map((text, i) => `${text.split(';')[0]} line ${i + 1}`);
    const nodes = page.locator('#outline-view .theia-TreeNode');
    await nodes.nth(lines.length - 1).waitFor();
    const shown = (await nodes.allInnerTexts()).map((text) => text.replace(/\n/, ' ').replace(/:.*/, ''));
    assert.deepEqual(shown, expected);
});

test('go to definition on a picture name opens the picture', async () => {
    const { page } = ide;
    await placeCursor(page, 1, 9);
    await page.keyboard.press('F12');
    // The host asks before it opens a binary file.
    const ask = page.locator('.dialogOverlay', { hasText: "open 'title.bmp'" });
    await ask.waitFor();
    await ask.locator('.theia-button.main').click();
    await page.locator('.lm-TabBar-tab.lm-mod-current', { hasText: 'title.bmp' }).waitFor();
});
