// The preview as a user meets it in the host: opened from the command palette, found among
// the page's frames (a webview is an iframe), and read through its window.orvanta.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

export const COMMAND = 'Orvanta: Open Preview to the Side';

// Runs the command from the palette; resolves to the time the command was chosen.
export async function runCommand(page, title) {
    await page.keyboard.press('F1');
    const input = page.locator('.quick-input-widget input');
    await input.waitFor();
    await input.fill(`>${title}`);
    const row = page.locator('.quick-input-list .monaco-list-row', { hasText: title }).first();
    await row.waitFor();
    const chosen = Date.now();
    await page.keyboard.press('Enter');
    return chosen;
}

// The preview's frames: those whose document runs the device.
export async function previewFrames(page) {
    const found = [];
    for (const frame of page.frames()) {
        try {
            if (await frame.evaluate(() => typeof window.orvanta === 'object' && !!document.getElementById('panel')))
                found.push(frame);
        } catch { /* a frame being replaced */ }
    }
    return found;
}

// Waits for the preview's first picture (window.orvanta is set once it is drawn); resolves
// to the frame and the time it was found.
export async function waitForPreview(page, timeout = 20000) {
    const deadline = Date.now() + timeout;
    while (Date.now() < deadline) {
        const [frame] = await previewFrames(page);
        if (frame) return { frame, shown: Date.now() };
        await page.waitForTimeout(10);
    }
    throw new Error('no preview showed a picture');
}

// The preview's picture as the surface's words, in a Buffer.
export async function previewPicture(frame) {
    const base64 = await frame.evaluate(() => {
        const picture = window.orvanta.picture();
        const bytes = new Uint8Array(picture.buffer, picture.byteOffset, picture.byteLength);
        let text = '';
        for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
        return btoa(text);
    });
    return Buffer.from(base64, 'base64');
}

export const pixel = (picture, x, y) => picture.readUInt32LE((y * 128 + x) * 4);

// `orvanta-cli render` of `folder` after `frames` frames, as the surface's words, its PNG
// decoded by the host's page.
export async function cliPicture(page, cli, folder, frames) {
    const out = mkdtempSync(join(tmpdir(), 'orvanta-render-'));
    try {
        execFileSync(cli, ['render', folder, '--frames', String(frames), '--png', join(out, 'last.png')]);
        const png = readFileSync(join(out, 'last.png')).toString('base64');
        const rgba = await page.evaluate(async (png) => {
            const bytes = Uint8Array.from(atob(png), (c) => c.charCodeAt(0));
            const bitmap = await createImageBitmap(new Blob([bytes], { type: 'image/png' }),
                { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
            const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
            const context = canvas.getContext('2d');
            context.drawImage(bitmap, 0, 0);
            return Array.from(context.getImageData(0, 0, bitmap.width, bitmap.height).data);
        }, png);
        const picture = Buffer.alloc(rgba.length);
        for (let i = 0; i < rgba.length; i += 4)
            picture.writeUInt32LE(rgba[i] | (rgba[i + 1] << 8) | (rgba[i + 2] << 16), i);
        return picture;
    } finally {
        rmSync(out, { recursive: true, force: true });
    }
}

// Clicks panel pixel (x, y) of the preview's display.
export async function clickPixel(frame, x, y) {
    const canvas = frame.locator('#panel');
    const box = await canvas.boundingBox();
    await canvas.click({ position: { x: ((x + 0.5) * box.width) / 128, y: ((y + 0.5) * box.height) / 128 } });
}

// How many canvas pixels of the display are the outline's magenta.
export async function outlinedPixels(frame) {
    return frame.evaluate(() => {
        const canvas = document.getElementById('panel');
        const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
        let count = 0;
        for (let i = 0; i < data.length; i += 4)
            if (data[i] === 255 && data[i + 1] === 0 && data[i + 2] === 255) ++count;
        return count;
    });
}
