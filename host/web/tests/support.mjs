// What the browser tests share: the built site served on loopback, Debian's Chromium driven
// by Playwright, a folder read into the shape window.orvanta.load() takes, and the desktop
// program's render of that folder.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

function required(name) {
  const value = process.env[name];
  if (!value) throw new Error(`${name} is not set (run the suite through ctest --preset web)`);
  return value;
}

export const site = required('ORVANTA_SITE');
export const examples = required('ORVANTA_EXAMPLES');
export const nativeCli = required('ORVANTA_NATIVE_CLI');

const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css' };

// Serves the site folder on 127.0.0.1 at a free port; resolves to the server and its origin.
export async function serveSite() {
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const file = join(site, path.endsWith('/') ? `${path}index.html` : path);
    try {
      const body = readFileSync(file);
      response.writeHead(200, { 'content-type': types[extname(file)] ?? 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { server, origin: `http://127.0.0.1:${server.address().port}` };
}

// Playwright starts Chromium on a fresh profile of its own, removed when it closes.
export async function launchChromium() {
  return chromium.launch({
    executablePath: process.env.ORVANTA_CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
}

// Opens the page and waits until window.orvanta is there.
export async function openPage(browser, url, options = {}) {
  const page = await browser.newPage(options);
  const problems = [];
  page.on('pageerror', (error) => problems.push(String(error)));
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(message.text());
  });
  await page.goto(url);
  await page.waitForFunction(() => window.orvanta !== undefined, null, { timeout: 20000 });
  return { page, problems };
}

// A folder's files as name -> base64, for load() in the page.
export function folderFiles(folder) {
  const files = {};
  for (const name of readdirSync(folder).sort())
    if (statSync(join(folder, name)).isFile()) files[name] = readFileSync(join(folder, name)).toString('base64');
  return files;
}

// Loads a folder into the page, runs `frames` frames and returns the picture (the panel's
// words) and the trace, both as Buffers.
export async function pageRender(page, files, frames) {
  const result = await page.evaluate(
    ({ files, frames }) => {
      const bytes = (base64) => Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
      const loaded = {};
      for (const [name, base64] of Object.entries(files)) loaded[name] = bytes(base64);
      window.orvanta.load(loaded);
      window.orvanta.run(frames);
      const text = (array) => {
        let s = '';
        for (let i = 0; i < array.length; i += 0x8000)
          s += String.fromCharCode(...array.subarray(i, i + 0x8000));
        return btoa(s);
      };
      const picture = window.orvanta.picture();
      return { picture: text(new Uint8Array(picture.buffer, picture.byteOffset, picture.byteLength)),
               length: picture.length, trace: text(window.orvanta.trace()) };
    },
    { files, frames },
  );
  return { length: result.length, picture: Buffer.from(result.picture, 'base64'),
           trace: Buffer.from(result.trace, 'base64') };
}

// The desktop program's render of `folder`: the last picture as the surface's words (red in
// bits 0-7, little endian as the page gives them), decoded from its PNG by the browser, and
// the trace.
export async function nativeRender(page, folder, frames) {
  const out = mkdtempSync(join(tmpdir(), 'orvanta-native-'));
  try {
    execFileSync(nativeCli, ['render', folder, '--frames', String(frames), '--png', join(out, 'last.png'),
                             '--trace', join(out, 'trace')]);
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
    for (let i = 0; i < rgba.length; i += 4) picture.writeUInt32LE(rgba[i] | (rgba[i + 1] << 8) | (rgba[i + 2] << 16), i);
    return { picture, trace: readFileSync(join(out, 'trace')) };
  } finally {
    rmSync(out, { recursive: true, force: true });
  }
}

// The folders the page must render as the desktop does, with the frames each runs: the
// demo long enough to go through its chain of files, each gallery folder for a while.
export function parityFolders() {
  const gallery = join(examples, 'gallery');
  return [[join(examples, 'demo'), 1500],
          ...readdirSync(gallery).sort().map((name) => [join(gallery, name), 400])];
}

// The site as the suite opens it: served on loopback, or, with ORVANTA_PAGE_FROM_FILE=1,
// straight from its folder as a double-click on index.html opens it. `url` is the page's
// address, `origin` what every address of its own files starts with, `served` whether it
// comes from a server.
export async function openSite() {
  if (process.env.ORVANTA_PAGE_FROM_FILE === '1') {
    const origin = pathToFileURL(site).href.replace(/\/$/, '');
    return { server: { close() {} }, origin, url: `${origin}/index.html`, served: false };
  }
  const { server, origin } = await serveSite();
  return { server, origin, url: `${origin}/`, served: true };
}

// Runs `click` in the page and resolves to the bytes of the download it starts.
export async function downloadOf(page, click) {
  const [download] = await Promise.all([page.waitForEvent('download', { timeout: 30000 }), click()]);
  return { name: download.suggestedFilename(), bytes: readFileSync(await download.path()) };
}

// Runs orvanta-cli with `args` in `cwd`; resolves to its standard output, whatever its
// exit status.
export function runNativeCli(args, cwd) {
  try {
    return execFileSync(nativeCli, args, { cwd, encoding: 'utf8' });
  } catch (error) {
    if (typeof error.stdout === 'string') return error.stdout;
    throw error;
  }
}
