// Finding one's way in a folder: the outline lists the objects of a file line by line,
// "go to definition" on a picture's name opens that picture, and the command palette offers
// the extension's commands.
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

test("the command palette offers the extension's commands while a configuration file is open", async () => {
    const { page } = ide;
    await page.locator('.lm-TabBar-tab', { hasText: 'config.txt' }).first().click();
    await page.keyboard.press('F1');
    const input = page.locator('.quick-input-widget input');
    await input.fill('>Orvanta: ');
    const rows = page.locator('.quick-input-list .monaco-list-row');
    await rows.first().waitFor();
    await page.waitForTimeout(300);
    const titles = (await rows.allInnerTexts()).map((text) => text.split('\n')[0]).sort();
    await page.keyboard.press('Escape');
    assert.deepEqual(titles, ['Orvanta: Open Preview to the Side', 'Orvanta: Open This Folder in the Orvanta Window',
                              'Orvanta: Restart the Language Server']);
});
