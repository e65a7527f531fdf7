// The checker's findings as a user meets them in the host: the language is given, a mistake
// is underlined on its own columns with its code, its quick fix mends it, and a picture saved
// into the folder clears the finding that named it.
import assert from 'node:assert/strict';
import { copyFileSync, rmSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';

import { hoverText, openFile, placeCursor, shownLines, textBox, typeLastLine, waitForLine, waitForSquiggles,
         waitForStatus } from './editor.mjs';
import { demo, openIde } from './ide.mjs';

let ide;
before(async () => {
    ide = await openIde({ prepare: (folder) => rmSync(join(folder, 'title.bmp')) });
    await openFile(ide.page, 'config.txt');
});
after(() => ide?.close());

test('config.txt opens in the Orvanta language', async () => {
    await waitForStatus(ide.page, 'language', 'Orvanta configuration');
});

test('a missing picture is underlined until the picture is saved into the folder', async () => {
    const { page, folder } = ide;
    assert.equal((await shownLines(page))[0], 'image;title.bmp');
    const name = await textBox(page, 1, 7, 'title.bmp'.length);
    await waitForSquiggles(page, (found) => found.some((s) => s.line === 1 && s.severity === 'error' &&
        Math.abs(s.x - name.x) < 1.5 && Math.abs(s.width - name.width) < 2));
    assert.match(await hoverText(page, 1, 10), /picture-not-found/);

    copyFileSync(join(demo, 'title.bmp'), join(folder, 'title.bmp'));
    await waitForSquiggles(page, (found) => !found.some((s) => s.line === 1));
});

test('a misspelt keyword is underlined on its columns with its code, and its quick fix mends it', async () => {
    const { page } = ide;
    const line = await typeLastLine(page, 'Kompas;64;64;50;0');
    const keyword = await textBox(page, line, 1, 'Kompas'.length);
    // While the findings of the finished line are on their way, the editor stretches the
    // squiggle of a half-typed one: only the last answer counts.
    await waitForSquiggles(page, (found) => found.some((s) => s.line === line && s.severity === 'error' &&
        Math.abs(s.x - keyword.x) < 1.5 && Math.abs(s.width - keyword.width) < 2));
    assert.match(await hoverText(page, line, 3), /orvanta\(unknown-keyword\)/);

    await placeCursor(page, line, 3);
    await page.keyboard.press('Control+.');
    await page.locator('.action-widget', { hasText: "Replace with 'Kompass'" }).waitFor();
    await page.keyboard.press('Enter');
    await waitForLine(page, line, (text) => text === 'Kompass;64;64;50;0');
    await waitForSquiggles(page, (found) => found.length === 0);
});
