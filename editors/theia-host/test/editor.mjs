// What a user does in the host's editor, through its page: open a file from the explorer,
// read the lines shown, point at a character, type. Lines and columns are 1-based, as the
// editor's status bar counts them.

// The explorer lists the folder; a double click opens the file in the main area.
export async function openFile(page, name) {
    const explorer = page.locator('#files');
    if (!(await explorer.isVisible())) await page.locator('#shell-tab-explorer-view-container').click();
    await explorer.locator('.theia-TreeNode', { hasText: name }).first().dblclick();
    await page.locator('.lm-TabBar-tab.lm-mod-current', { hasText: name }).first().waitFor();
    const editor = page.locator('.monaco-editor').first();
    await editor.locator('.view-lines').waitFor();
    return editor;
}

// The text of every line the editor shows, top to bottom, with the editor's non-breaking
// spaces read back as spaces.
export async function shownLines(page) {
    return page.evaluate(() => {
        const lines = [...document.querySelectorAll('.monaco-editor .view-lines .view-line')];
        lines.sort((a, b) => parseFloat(a.style.top) - parseFloat(b.style.top));
        const text = (line) => [...line.querySelectorAll('span > span')]
            .filter((span) => !span.classList.contains('colorpicker-color-decoration'))
            .map((span) => span.textContent).join('');
        return lines.map((line) => text(line).replace(/\u00a0/g, ' '));
    });
}

export async function waitForLine(page, line, predicate, timeout = 10000) {
    const deadline = Date.now() + timeout;
    let lines = [];
    while (Date.now() < deadline) {
        lines = await shownLines(page);
        if (predicate(lines[line - 1] ?? '')) return lines[line - 1];
        await page.waitForTimeout(100);
    }
    throw new Error(`line ${line} never matched; the editor shows:\n${lines.join('\n')}`);
}

// The box on screen of the characters [column, column + length) of a line, measured from
// the rendered text itself.
export async function textBox(page, line, column, length = 1) {
    return page.evaluate(([line, column, length]) => {
        const lines = [...document.querySelectorAll('.monaco-editor .view-lines .view-line')];
        lines.sort((a, b) => parseFloat(a.style.top) - parseFloat(b.style.top));
        const element = lines[line - 1];
        if (!element) throw new Error(`line ${line} is not shown`);
        // The colour swatches are drawn as spans of their own, holding no text of the file.
        const walker = document.createTreeWalker(element, NodeFilter.SHOW_TEXT, (node) =>
            node.parentElement.closest('.colorpicker-color-decoration')
                ? NodeFilter.FILTER_REJECT : NodeFilter.FILTER_ACCEPT);
        const range = document.createRange();
        let offset = 0;
        let started = false;
        for (let node = walker.nextNode(); node; node = walker.nextNode()) {
            const size = node.textContent.length;
            if (!started && column - 1 < offset + size) {
                range.setStart(node, column - 1 - offset);
                started = true;
            }
            if (started && column - 1 + length <= offset + size) {
                range.setEnd(node, column - 1 + length - offset);
                const box = range.getBoundingClientRect();
                return { x: box.x, y: box.y, width: box.width, height: box.height };
            }
            offset += size;
        }
        throw new Error(`line ${line} has no column ${column + length - 1}`);
    }, [line, column, length]);
}

// Clicks into a line before the given column, as a user places the cursor.
export async function placeCursor(page, line, column) {
    const box = await textBox(page, line, column);
    await page.mouse.click(box.x + 1, box.y + box.height / 2);
    await waitForStatus(page, 'cursor-position', `Ln ${line}, Col ${column}`);
}

// Waits until an item of the editor's status bar ('language', 'cursor-position') reads
// exactly `text`.
export async function waitForStatus(page, item, text) {
    const id = `status-bar-editor-status-${item}`;
    try {
        await page.waitForFunction(([id, text]) => document.getElementById(id)?.textContent === text,
            [id, text], { timeout: 10000 });
    } catch {
        const shown = await page.evaluate((id) => document.getElementById(id)?.textContent, id);
        throw new Error(`the status bar's ${item} reads ${JSON.stringify(shown)}, not ${JSON.stringify(text)}`);
    }
}

export async function hoverText(page, line, column) {
    const box = await textBox(page, line, column);
    const hover = page.locator('.monaco-hover:visible').first();
    // The editor asks for a hover only when the pointer comes to rest over the word; in a
    // host that has just started, the first rest can pass while the editor is still busy,
    // so the pointer comes again, as a user's would, before the hover counts as missing.
    for (let attempt = 1; ; ++attempt) {
        await page.mouse.move(5, 5);
        await page.mouse.move(box.x + box.width / 2 - 2, box.y + box.height / 2);
        await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
        try {
            await hover.waitFor({ timeout: 5000 });
            break;
        } catch (error) {
            if (attempt === 3) throw error;
        }
    }
    await page.waitForTimeout(300);
    const text = await hover.innerText();
    await page.mouse.move(5, 5);
    await page.keyboard.press('Escape');
    return text;
}

// A new last line holding `text`, typed as a user types it.
export async function typeLastLine(page, text) {
    // A click into the text gives the editor the keyboard, wherever an earlier step left it.
    await page.locator('.monaco-editor .view-lines').first().click({ position: { x: 5, y: 5 } });
    await page.keyboard.press('Control+End');
    const lines = await shownLines(page);
    if (lines[lines.length - 1] !== '') await page.keyboard.press('Enter');
    await page.keyboard.type(text);
    const line = lines[lines.length - 1] === '' ? lines.length : lines.length + 1;
    // The editor draws typed text a moment later; the line is measured only once drawn.
    await waitForLine(page, line, (shown) => shown === text);
    return line;
}

// The squiggles under the text: severity, line, and the box they span on screen.
export async function squiggles(page) {
    return page.evaluate(() => {
        const editor = document.querySelector('.monaco-editor');
        const tops = [...editor.querySelectorAll('.view-lines .view-line')]
            .map((line) => parseFloat(line.style.top)).sort((a, b) => a - b);
        return [...editor.querySelectorAll('.view-overlays > div')].flatMap((row) =>
            [...row.querySelectorAll('[class*=squiggly-]')].map((squiggle) => {
                const box = squiggle.getBoundingClientRect();
                return {
                    severity: /squiggly-(\w+)/.exec(squiggle.className)[1],
                    line: tops.indexOf(parseFloat(row.style.top)) + 1,
                    x: box.x,
                    width: box.width,
                };
            }));
    });
}

export async function waitForSquiggles(page, predicate, timeout = 15000) {
    const deadline = Date.now() + timeout;
    let found = [];
    while (Date.now() < deadline) {
        found = await squiggles(page);
        if (predicate(found)) return found;
        await page.waitForTimeout(100);
    }
    throw new Error(`the squiggles never matched: ${JSON.stringify(found)} (${predicate})`);
}

// The colour swatches come from the language server, so once they show, it answers.
export async function waitForServer(page) {
    await page.locator('.monaco-editor .colorpicker-color-decoration').first().waitFor({ timeout: 30000 });
}
