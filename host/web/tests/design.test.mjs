// Design on the display in Debian's Chromium: real pointer drags that change only the digits
// they must and undo byte for byte, resizes whose pixels stay in their boxes, a CR LF file's
// own bytes, snapping, the display's keys, inserts and reading overrides that follow lines.
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { after, before, test } from 'node:test';

import { examples, folderFiles, launchChromium, openPage, openSite } from './support.mjs';

let browser, served;
before(async () => {
  served = await openSite();
  browser = await launchChromium();
});
after(async () => {
  await browser?.close();
  served?.server.close();
});

// Opens the page at 300 % with `files` (name -> text, or base64 with `base64`), paused
// after `frames` frames.
async function openDesign(files, frames = 1, { base64 = false } = {}) {
  const opened = await openPage(browser, served.url, { viewport: { width: 1600, height: 1000 } });
  const { page } = opened;
  await page.selectOption('#zoom', '3');
  await page.evaluate(({ files, frames, base64 }) => {
    const loaded = {};
    for (const [name, content] of Object.entries(files))
      loaded[name] = base64 ? Uint8Array.from(atob(content), (c) => c.charCodeAt(0)) : content;
    window.orvanta.load(loaded);
    window.orvanta.run(frames);
  }, { files, frames, base64 });
  await page.waitForSelector('#editor .cm-content');
  return opened;
}

const text = (page, name) => page.evaluate((name) => new TextDecoder().decode(window.orvanta.text(name)), name);
const objects = (page) => page.evaluate(() => window.orvanta.objects());

// The client point of the middle of panel pixel (x, y).
async function pointOf(page, x, y) {
  const box = await page.locator('#panel').boundingBox();
  return { x: box.x + ((x + 0.5) * box.width) / 128, y: box.y + ((y + 0.5) * box.height) / 128 };
}

// A real pointer drag from panel pixel `from` by (dx, dy) panel pixels, in several moves.
async function pointerDrag(page, from, dx, dy, { alt = false, during } = {}) {
  const start = await pointOf(page, ...from);
  const scale = (await page.locator('#panel').boundingBox()).width / 128;
  await page.mouse.move(start.x, start.y);
  await page.mouse.down();
  if (alt) await page.keyboard.down('Alt');
  for (let i = 1; i <= 5; ++i) await page.mouse.move(start.x + (dx * scale * i) / 5, start.y + (dy * scale * i) / 5);
  await during?.();
  await page.mouse.up();
  if (alt) await page.keyboard.up('Alt');
}

// Every pixel whose owner is `file`:`line`, checked against a box; returns the count and
// the pixels outside it.
const ownedOutside = (page, file, line, box) =>
  page.evaluate(({ file, line, box }) => {
    const tag = `${file}:${line}:`;
    let count = 0;
    const outside = [];
    for (let y = 0; y < 128; ++y)
      for (let x = 0; x < 128; ++x) {
        if (!window.orvanta.lineAt(x, y).startsWith(tag)) continue;
        ++count;
        if (x < box[0] || y < box[1] || x >= box[2] || y >= box[3]) outside.push([x, y]);
      }
    return { count, outside };
  }, { file, line, box });

test("a pointer drag moves the demo's compass by exactly its digits, and Ctrl+Z restores the folder", async () => {
  const folder = folderFiles(join(examples, 'demo'));
  // The demo's title shows for 3 s, then panel.txt, which holds the compass.
  const { page, problems } = await openDesign(folder, 80, { base64: true });
  assert.equal(await page.evaluate(() => window.orvanta.lineAt(0, 127).split(':')[0]), 'panel.txt');
  const before = {};
  for (const name of Object.keys(folder)) before[name] = await page.evaluate((name) => Array.from(window.orvanta.text(name)), name);
  const compass = (await objects(page)).find((o) => o.keyword === 'Kompass');
  const [left, top, right, bottom] = compass.box;
  const centre = [Math.floor((left + right) / 2), Math.floor((top + bottom) / 2)];
  // Alt keeps snapping out of the way: the drag lands exactly where the pointer does. Before
  // the drop, the device's picture already shows the compass at its new place, while the
  // text is still as it was.
  const newBox = [left + 10, top + 5, right + 10, bottom + 5];
  const live = async () => {
    await page.waitForTimeout(150);
    const owned = await ownedOutside(page, 'panel.txt', compass.line, newBox);
    assert.ok(owned.count > 50 && owned.outside.length === 0, `mid-drag: ${JSON.stringify(owned)}`);
    assert.deepEqual(await page.evaluate(() => Array.from(window.orvanta.text('panel.txt'))), before['panel.txt']);
  };
  await pointerDrag(page, centre, 10, 5, { alt: true, during: live });
  const panel = await text(page, 'panel.txt');
  const lines = panel.split('\n');
  const was = Buffer.from(before['panel.txt']).toString().split('\n');
  const [keyword, x, y, ...rest] = was[compass.line - 1].split(';');
  assert.equal(lines[compass.line - 1], [keyword, Number(x) + 10, Number(y) + 5, ...rest].join(';'));
  lines[compass.line - 1] = was[compass.line - 1];
  assert.equal(lines.join('\n'), was.join('\n'), 'only the compass line changed');
  for (const name of Object.keys(folder))
    if (name !== 'panel.txt')
      assert.deepEqual(await page.evaluate((name) => Array.from(window.orvanta.text(name)), name), before[name], name);
  // The picture shows the compass at its new place only: by provenance, every pixel of its
  // line lies in its new box.
  const moved = (await objects(page)).find((o) => o.line === compass.line);
  assert.deepEqual(moved.box, [left + 10, top + 5, right + 10, bottom + 5]);
  await page.evaluate(() => window.orvanta.run(3));
  const owned = await ownedOutside(page, 'panel.txt', compass.line, moved.box);
  assert.ok(owned.count > 50, `the compass draws ${owned.count} pixels`);
  assert.deepEqual(owned.outside, []);
  // Ctrl+Z on the display undoes the whole drag as one step.
  await page.keyboard.press('Control+z');
  assert.deepEqual(await page.evaluate(() => Array.from(window.orvanta.text('panel.txt'))), before['panel.txt']);
  await page.screenshot({ path: process.env.ORVANTA_DESIGN_SHOT ?? '/dev/null' }).catch(() => {});
  assert.deepEqual(problems, []);
  await page.close();
});

test('a click selects what drew the pixel, else the box or the picture; the selection holds the file on show', async () => {
  const { page, problems } = await openDesign(folderFiles(join(examples, 'demo')), 80, { base64: true });
  const click = async (x, y) => {
    const at = await pointOf(page, x, y);
    await page.mouse.click(at.x, at.y);
    return page.evaluate(() => window.orvanta.selection());
  };
  const lineOf = async (keyword) => (await objects(page)).find((o) => o.keyword === keyword).line;
  // The pointer's dial is empty inside, where the picture behind shows: the dial's box wins.
  assert.match(await page.evaluate(() => window.orvanta.lineAt(32, 90)), /panel\.txt:1: image/);
  assert.deepEqual(await click(32, 90), [await lineOf('RoundPointer')]);
  // Where no instrument's box reaches, the picture's line.
  assert.deepEqual(await click(66, 110), [1]);
  // The editor's cursor follows the selection, and a cursor put on a line selects it.
  assert.equal(await page.locator('#editor .cm-activeLine').textContent(), 'image;panel.bmp');
  await page.locator('#editor .cm-content').focus();
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  assert.deepEqual(await page.evaluate(() => window.orvanta.selection()), [await lineOf('Kompass')]);
  // Tab on the display steps to the next object on show.
  await page.locator('#panel').focus();
  await page.keyboard.press('Tab');
  assert.deepEqual(await page.evaluate(() => window.orvanta.selection()), [await lineOf('RoundPointer')]);
  // panel.txt names radar.txt after 8 s; while anything is selected it stays on show.
  const fileOnShow = () => page.evaluate(() => window.orvanta.lineAt(0, 127).split(':')[0]);
  await page.evaluate(() => window.orvanta.run(200));
  assert.equal(await fileOnShow(), 'panel.txt');
  await page.keyboard.press('Escape');
  assert.deepEqual(await page.evaluate(() => window.orvanta.selection()), []);
  await page.evaluate(() => window.orvanta.run(200));
  assert.equal(await fileOnShow(), 'radar.txt');
  // Another folder loaded with a selection held starts at its own config.txt and goes on
  // along its own chain.
  await click(64, 64);
  assert.equal((await page.evaluate(() => window.orvanta.selection())).length, 1);
  const chained = await page.evaluate(() => {
    window.orvanta.run(2);
    window.orvanta.load({ 'config.txt': 'LED;10;10;8;0\nLoadConfig;b.txt;1\n', 'b.txt': 'LED;50;50;8;0\n' });
    window.orvanta.run(1);
    const first = window.orvanta.lineAt(10, 10);
    window.orvanta.run(40);
    return [first, window.orvanta.lineAt(50, 50), window.orvanta.selection().length];
  });
  assert.deepEqual(chained, ['config.txt:1: LED', 'b.txt:1: LED', 0]);
  assert.deepEqual(problems, []);
  await page.close();
});

const KINDS = [
  'Tacho;10;10;12;40;0',
  'GyroHorizonRect;30;4;40;30;2',
  'Kompass;96;24;40;0',
  'RoundPointer;24;80;30;-90;90',
  'Radar;64;64;30',
  'LED;110;110;8;1',
  'DigitCounter;40;100;3;1;0',
  'ToggleText;70;90;SPEED;1;1',
].join('\n');

test('each instrument kind, resized, draws only inside its new box', async () => {
  const { page, problems } = await openDesign({ 'config.txt': KINDS }, 2);
  for (const object of await objects(page)) {
    const handle = object.handles.includes('se') ? 'se' : object.handles[0];
    await page.evaluate(({ line, handle }) => window.orvanta.drag(line, handle, 6, 6), { line: object.line, handle });
    await page.evaluate(() => window.orvanta.run(2));
    const after = (await objects(page)).find((o) => o.line === object.line);
    assert.notDeepEqual(after.box, object.box, `${object.keyword} kept its size`);
    const owned = await ownedOutside(page, 'config.txt', object.line, after.box);
    assert.ok(owned.count > 0, `${object.keyword} draws nothing`);
    assert.deepEqual(owned.outside, [], `${object.keyword} draws outside ${after.box}`);
  }
  // A round instrument keeps one diameter, which steps by 2.
  const line = KINDS.split('\n').findIndex((l) => l.startsWith('LED')) + 1;
  assert.match((await text(page, 'config.txt')).split('\n')[line - 1], /^LED;110;110;(\d+);1$/);
  const diameter = Number(/^LED;110;110;(\d+)/.exec((await text(page, 'config.txt')).split('\n')[line - 1])[1]);
  assert.equal(diameter % 2, 0);
  assert.deepEqual(problems, []);
  await page.close();
});

test("a CR LF file keeps its line ends, ignored lines and unended last line through every edit", async () => {
  const original = '# the title\r\nLED;20;20;8;0\r\nSetColor;2016\r\nnot a keyword\r\nTacho;60;60;10;30;0';
  const { page, problems } = await openDesign({ 'config.txt': original });
  const check = async (what) => {
    const now = await text(page, 'config.txt');
    assert.doesNotMatch(now, /[^\r]\n|\r(?!\n)/, `${what}: a line end other than CR LF`);
    assert.ok(now.startsWith('# the title\r\n'), `${what}: the comment`);
    assert.match(now, /\r\nnot a keyword\r\n/, `${what}: the ignored line`);
    return now;
  };
  await page.evaluate(() => window.orvanta.drag(2, 'move', 3, -4));
  assert.equal(await check('move'), original.replace('LED;20;20;', 'LED;23;16;'));
  await page.evaluate(() => window.orvanta.insert('LED', 100, 100));
  const inserted = await check('insert');
  assert.ok(inserted.startsWith(`${original.replace('LED;20;20;', 'LED;23;16;')}\r\nLED;100;100;`), inserted);
  assert.ok(!inserted.endsWith('\n'), 'the inserted last line gained a line end');
  await page.evaluate(() => window.orvanta.duplicate([2]));
  const duplicated = await check('duplicate');
  assert.match(duplicated, /LED;23;16;8;0\r\nSetColor;2016\r\nLED;27;20;8;0\r\nSetColor;2016\r\n/);
  await page.evaluate(() => window.orvanta.remove([2]));
  const removed = await check('remove');
  assert.ok(removed.startsWith('# the title\r\nLED;27;20;8;0\r\nSetColor;2016\r\nnot a keyword\r\nTacho;60;60;10;30;0\r\nLED;100;100;'), removed);
  assert.ok(!removed.endsWith('\n'));
  assert.deepEqual(problems, []);
  await page.close();
});

test('a drag to within 2 pixels of an edge lands on it, and with Alt it does not', async () => {
  const config = 'Tacho;10;10;20;30;0\nTacho;60;90;20;20;0\n';
  const { page, problems } = await openDesign({ 'config.txt': config });
  // The first bar's box ends at 31 (it draws one column past its width); the second bar's
  // left edge goes to 33, two pixels right of it.
  await pointerDrag(page, [70, 100], -27, 0);
  assert.equal((await text(page, 'config.txt')).split('\n')[1], 'Tacho;31;90;20;20;0');
  await page.keyboard.press('Control+z');
  assert.equal(await text(page, 'config.txt'), config);
  await pointerDrag(page, [70, 100], -27, 0, { alt: true });
  assert.equal((await text(page, 'config.txt')).split('\n')[1], 'Tacho;33;90;20;20;0');
  // G: a corner with nothing near to snap to goes to the 4-pixel grid.
  await page.keyboard.press('g');
  await pointerDrag(page, [40, 100], 6, -7);
  assert.equal((await text(page, 'config.txt')).split('\n')[1], 'Tacho;40;84;20;20;0');
  assert.deepEqual(problems, []);
  await page.close();
});

test('the display keys nudge, move a multi-selection together, duplicate and delete', async () => {
  const config = 'LED;20;20;8;0\nSetColor;2016\nLED;60;20;8;0\nTacho;10;60;20;30;0\n';
  const { page, problems } = await openDesign({ 'config.txt': config });
  const click = async (x, y, shift = false) => {
    const at = await pointOf(page, x, y);
    if (shift) await page.keyboard.down('Shift');
    await page.mouse.click(at.x, at.y);
    if (shift) await page.keyboard.up('Shift');
  };
  const picture = await page.evaluate(() => Array.from(window.orvanta.picture()).join());
  await click(20, 20);
  assert.deepEqual(await page.evaluate(() => window.orvanta.selection()), [1]);
  assert.equal(await page.evaluate(() => Array.from(window.orvanta.picture()).join()), picture,
               'the selection is drawn into the picture');
  assert.deepEqual(await page.evaluate(() => window.orvanta.select([])), []);
  await click(20, 20);
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('Shift+ArrowDown');
  assert.equal((await text(page, 'config.txt')).split('\n')[0], 'LED;21;28;8;0');
  // The device was powered on afresh for each nudge: no trail of the old places.
  await page.evaluate(() => window.orvanta.run(1));
  const led = (await objects(page))[0];
  const owned = await ownedOutside(page, 'config.txt', 1, led.box);
  assert.ok(owned.count > 0);
  assert.deepEqual(owned.outside, []);
  await click(60, 20, true);
  assert.deepEqual(await page.evaluate(() => window.orvanta.selection()), [1, 3]);
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.press('ArrowUp');
  const lines = (await text(page, 'config.txt')).split('\n');
  assert.deepEqual([lines[0], lines[2]], ['LED;20;27;8;0', 'LED;59;19;8;0']);
  await page.keyboard.press('Tab');
  await page.keyboard.press('Control+d');
  assert.match(await text(page, 'config.txt'), /\nTacho;10;60;20;30;0\nTacho;14;64;20;30;0\n/);
  await page.keyboard.press('Delete');
  assert.equal((await text(page, 'config.txt')).match(/Tacho/g).length, 1);
  await page.keyboard.press('Escape');
  assert.deepEqual(await page.evaluate(() => window.orvanta.select([])), []);
  assert.deepEqual(problems, []);
  await page.close();
});

test('an insert lands at its point, the eleventh object is refused, overrides follow and return', async () => {
  const config = 'LED;10;10;8;0\nSetColor;2016\nRoundPointer;64;64;40;-90;90\n';
  const { page, problems } = await openDesign({ 'config.txt': config });
  await page.evaluate(() => window.orvanta.hold('config.txt', 3, '45'));
  const added = await page.evaluate(() => window.orvanta.insert('Tacho', 90, 20));
  assert.deepEqual(added, [4]);
  assert.match((await text(page, 'config.txt')).split('\n')[3], /^Tacho;90;20;/);
  // The first LED goes with its colour line: the pointer moves up two lines, its hold too.
  await page.evaluate(() => window.orvanta.remove([1]));
  assert.ok((await text(page, 'config.txt')).startsWith('RoundPointer;64;64;40;-90;90\n'));
  const held = () => page.evaluate(() => window.orvanta.readings().filter((r) => r.mode !== 'random').map((r) => `${r.line} ${r.mode} ${r.value}`));
  assert.deepEqual(await held(), ['1 hold 45']);
  await page.locator('#panel').focus();
  await page.keyboard.press('Control+z');
  await page.evaluate(() => window.orvanta.run(1));
  assert.deepEqual(await held(), ['3 hold 45']);
  await page.keyboard.press('Control+y');
  await page.evaluate(() => window.orvanta.run(1));
  assert.deepEqual(await held(), ['1 hold 45']);
  // Ten objects leave no room for an eleventh.
  const ten = Array.from({ length: 10 }, (_, i) => `LED;${10 + i * 10};10;8;0`).join('\n');
  await page.evaluate((ten) => { window.orvanta.load({ 'config.txt': ten }); window.orvanta.run(1); }, ten);
  const refusal = await page.evaluate(() => {
    try {
      window.orvanta.insert('LED', 50, 50);
      return '';
    } catch (error) {
      return error.message;
    }
  });
  assert.notEqual(refusal, '');
  assert.equal(await text(page, 'config.txt'), ten);
  // Removing one of ten brings an eleventh to life: the page asks, and a no changes nothing.
  const eleven = `${ten}\nTacho;5;60;20;30;0`;
  await page.evaluate((eleven) => { window.orvanta.load({ 'config.txt': eleven }); window.orvanta.run(1); }, eleven);
  const asked = [];
  page.once('dialog', (dialog) => { asked.push(dialog.message()); void dialog.dismiss(); });
  const declined = await page.evaluate(() => { try { window.orvanta.remove([1]); return ''; } catch (e) { return e.message; } });
  assert.equal(asked.length, 1);
  assert.notEqual(declined, '');
  assert.equal(await text(page, 'config.txt'), eleven);
  page.once('dialog', (dialog) => void dialog.accept());
  await page.evaluate(() => window.orvanta.remove([1]));
  assert.equal(await text(page, 'config.txt'), eleven.split('\n').slice(1).join('\n'));
  assert.deepEqual(problems, []);
  await page.close();
});
