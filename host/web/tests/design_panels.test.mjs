// The palette and the property panel in Debian's Chromium: an instrument dragged by the
// real pointer onto the display lands at the drop point as one undo step, an eleventh is
// refused with the reason shown, and the panel's fields and swatches write exactly the
// bytes they name.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { launchChromium, openPage, openSite } from './support.mjs';

let browser, served;
before(async () => {
  served = await openSite();
  browser = await launchChromium();
});
after(async () => {
  await browser?.close();
  served?.server.close();
});

// A page with the editor up and `text` as config.txt, paused after one frame.
async function pageWith(text, zoom = '3') {
  const opened = await openPage(browser, served.url, { viewport: { width: 1500, height: 900 } });
  const { page } = opened;
  await page.waitForFunction(() => typeof window.orvanta.objects === 'function', null, { timeout: 20000 });
  await page.locator('#palette .palette-item').first().waitFor();
  await page.selectOption('#zoom', zoom);
  await page.evaluate((text) => {
    window.orvanta.load({ 'config.txt': text });
    window.orvanta.run(1);
  }, text);
  return opened;
}

const fileText = (page) =>
  page.evaluate(() => new TextDecoder().decode(window.orvanta.text('config.txt')));

// Drags the palette's `keyword` with the mouse to panel pixel (x, y), in several moves.
async function dragToPanel(page, keyword, x, y) {
  const item = await page.locator(`#palette [data-keyword="${keyword}"]`).boundingBox();
  const panel = await page.locator('#panel').boundingBox();
  const to = { x: panel.x + ((x + 0.5) * panel.width) / 128, y: panel.y + ((y + 0.5) * panel.height) / 128 };
  await page.mouse.move(item.x + item.width / 2, item.y + item.height / 2);
  await page.mouse.down();
  await page.mouse.move(to.x, to.y, { steps: 8 });
  await page.mouse.up();
}

// The pixels whose line is `owner` ("config.txt:2: Kompass"), after `frames` more frames.
async function pixelsOf(page, owner, frames) {
  return page.evaluate(
    ({ owner, frames }) => {
      window.orvanta.run(frames);
      const found = [];
      for (let y = 0; y < 128; ++y)
        for (let x = 0; x < 128; ++x) if (window.orvanta.lineAt(x, y) === owner) found.push([x, y]);
      return found;
    },
    { owner, frames },
  );
}

test('an instrument dragged from the palette lands at the drop point as one undo step', async () => {
  const before = 'LED;10;10;8;0\n# kept\n';
  const { page, problems } = await pageWith(before);
  await dragToPanel(page, 'Kompass', 70, 60);
  await page.waitForFunction(() => new TextDecoder().decode(window.orvanta.text('config.txt')).includes('Kompass'));
  // Placed by its centre, in a default size that fits the panel there.
  assert.equal(await fileText(page), 'LED;10;10;8;0\nKompass;70;60;60;0\n# kept\n');
  const drawn = await pixelsOf(page, 'config.txt:2: Kompass', 3);
  assert.ok(drawn.length > 20, 'the compass is drawn');
  for (const [x, y] of drawn) assert.ok(x >= 40 && x < 100 && y >= 30 && y < 90, `(${x}, ${y}) lies in its box`);
  assert.equal(await page.locator('#palette .design-note').isVisible(), false);

  await page.locator('#editor .cm-content').click();
  await page.keyboard.press('Control+z');
  await page.waitForFunction((text) => new TextDecoder().decode(window.orvanta.text('config.txt')) === text, before);
  assert.deepEqual(problems, []);
  await page.close();
});

test('an eleventh instrument is refused and the palette says why', async () => {
  let ten = '';
  for (let i = 0; i < 10; ++i) ten += `LED;${10 * i + 5};5;4;0\n`;
  const { page, problems } = await pageWith(ten);
  await dragToPanel(page, 'LED', 64, 100);
  const note = page.locator('#palette .design-note');
  await note.waitFor({ state: 'visible' });
  assert.match(await note.textContent(), /LED not added: .*ten/);
  assert.equal(await fileText(page), ten);
  assert.deepEqual(problems, []);
  await page.close();
});

// A 24-bit BMP of 2 x 2 pixels, as the device draws it.
function smallBmp() {
  const bytes = Buffer.alloc(70);
  bytes.write('BM', 0, 'latin1');
  bytes.writeUInt32LE(70, 2);
  bytes.writeUInt32LE(54, 10);
  bytes.writeUInt32LE(40, 14);
  bytes.writeInt32LE(2, 18);
  bytes.writeInt32LE(2, 22);
  bytes.writeUInt16LE(1, 26);
  bytes.writeUInt16LE(24, 28);
  bytes.fill(0xff, 54);
  return bytes.toString('base64');
}

test('the picture from the palette asks which BMP of the folder to draw', async () => {
  const { page, problems } = await pageWith('LED;10;10;8;0\n');
  await page.evaluate((base64) => {
    const bmp = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    window.orvanta.load({ 'config.txt': 'LED;10;10;8;0\n', 'b.bmp': bmp, 'a.BMP': bmp, 'notes.txt': 'x' });
    window.orvanta.run(1);
  }, smallBmp());
  await dragToPanel(page, 'image', 50, 50);
  const chooser = page.locator('dialog.picture-chooser');
  await chooser.waitFor();
  assert.deepEqual(await chooser.locator('button.picture-choice').allTextContents(), ['a.BMP', 'b.bmp']);
  await chooser.locator('button.picture-choice', { hasText: 'b.bmp' }).click();
  await page.waitForFunction(() => new TextDecoder().decode(window.orvanta.text('config.txt')).includes('image'));
  assert.equal(await fileText(page), 'LED;10;10;8;0\nimage;b.bmp\n');
  assert.deepEqual(problems, []);
  await page.close();
});

test('a field edited in the property panel changes exactly its digits', async () => {
  const before = 'Tacho; 12px;20;30;40;0\r\n# note\r\nLED;5;5;4;0';
  const { page, problems } = await pageWith(before);
  await page.evaluate(() => window.orvanta.select([1]));
  const panel = page.locator('#properties');
  await panel.locator('.property-title').waitFor();
  assert.match(await panel.textContent(), /left.*pixels.*left edge of the gauge rectangle/s);
  const left = panel.locator('input[data-field="1"]');
  assert.equal(await left.inputValue(), '12px');
  await left.fill('-7');
  await left.press('Enter');
  await page.waitForFunction(() => new TextDecoder().decode(window.orvanta.text('config.txt')).includes('-7'));
  assert.equal(await fileText(page), 'Tacho; -7px;20;30;40;0\r\n# note\r\nLED;5;5;4;0');

  // A value outside 32 bits changes nothing and says why.
  const height = panel.locator('input[data-field="4"]');
  await height.fill('4294967296');
  await height.press('Enter');
  await panel.locator('.design-note').waitFor({ state: 'visible' });
  assert.match(await panel.locator('.design-note').textContent(), /outside the 32-bit/);
  assert.equal(await fileText(page), 'Tacho; -7px;20;30;40;0\r\n# note\r\nLED;5;5;4;0');
  assert.deepEqual(problems, []);
  await page.close();
});

test('a colour picked for an object inserts its colour line, or edits the one that sets it', async () => {
  const { page, problems } = await pageWith('LED;5;5;4;0\nTacho;0;0;5;5;0\nSetColor;7\n');
  const panel = page.locator('#properties');
  const pick = async (line, command, hex) => {
    await page.evaluate((line) => window.orvanta.select([line]), line);
    await panel.locator(`.orvanta-swatch[data-colour="${command}"]`).click();
    await panel.locator('input[type="color"]').fill(hex);
  };
  await pick(1, 'SetColor', '#00ff00');
  await page.waitForFunction(() => new TextDecoder().decode(window.orvanta.text('config.txt')).includes('2016'));
  assert.equal(await fileText(page), 'LED;5;5;4;0\nSetColor;2016\nTacho;0;0;5;5;0\nSetColor;7\n');
  await pick(3, 'SetColor', '#0000ff');
  await page.waitForFunction(() => new TextDecoder().decode(window.orvanta.text('config.txt')).endsWith('SetColor;31\n'));
  assert.equal(await fileText(page), 'LED;5;5;4;0\nSetColor;2016\nTacho;0;0;5;5;0\nSetColor;31\n');
  // The swatch shows the colour the device now shows, and the LED's reading control is here.
  await page.evaluate(() => window.orvanta.select([1]));
  await panel.locator('.reading-controls').waitFor();
  assert.match(await panel.locator('.orvanta-swatch[data-colour="SetColor"]').getAttribute('aria-label'), /2016/);
  assert.deepEqual(problems, []);
  await page.close();
});
