// Bundles the page into one static folder, and the preview of the editor extension into
// another:
//   node build.mjs ENGINE_JS PICTURES_JS EXAMPLES_DIR OUT_DIR PREVIEW_DIR
// ENGINE_JS is the device module's glue (orvanta-engine.js, its .wasm beside it); the
// module's bytes and the examples of EXAMPLES_DIR (the demo and every gallery folder) are
// put into the page's script. PICTURES_JS is the picture module's glue, which the page
// loads when it first converts or saves a picture: its bytes are put into that script.
// Both modules travel deflated, then in base64: that halves the folder's largest parts,
// and the browser decodes and inflates them natively in a few milliseconds.
import { build } from 'esbuild';
import { copyFile, mkdir, readdir, readFile, writeFile } from 'node:fs/promises';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { deflateRawSync } from 'node:zlib';
import { zipSync } from 'fflate';

const [engine, pictures, examples, out, previewOut] = process.argv.slice(2);
if (!previewOut) {
  console.error('usage: node build.mjs ENGINE_JS PICTURES_JS EXAMPLES_DIR OUT_DIR PREVIEW_DIR');
  process.exit(2);
}
const here = dirname(fileURLToPath(import.meta.url));

// The device module's bytes and the examples as modules, both in base64.
const builtIn = {
  name: 'orvanta-built-in',
  setup(b) {
    b.onResolve({ filter: /^orvanta:(examples|engine-wasm)$/ }, (args) => ({
      path: args.path.slice('orvanta:'.length),
      namespace: 'orvanta',
    }));
    b.onLoad({ filter: /^engine-wasm$/, namespace: 'orvanta' }, async () => {
      const wasm = engine.replace(/\.js$/, '.wasm');
      const base64 = deflateRawSync(await readFile(wasm), { level: 9 }).toString('base64');
      return { contents: `export default ${JSON.stringify(base64)};`, loader: 'js', watchFiles: [wasm] };
    });
    // Every example as one zip, deflated at the highest level: the demo's pictures shrink to
    // a fraction, which keeps the page small. Entries are EXAMPLE/FILE, the example named
    // 'demo' or 'gallery/NAME'.
    b.onLoad({ filter: /^examples$/, namespace: 'orvanta' }, async () => {
      const gallery = join(examples, 'gallery');
      const names = ['demo', ...(await readdir(gallery, { withFileTypes: true }))
        .filter((entry) => entry.isDirectory())
        .map((entry) => `gallery/${entry.name}`)
        .sort()];
      const entries = {};
      for (const name of names)
        for (const entry of await readdir(join(examples, name), { withFileTypes: true }))
          if (entry.isFile()) entries[`${name}/${entry.name}`] = await readFile(join(examples, name, entry.name));
      const zip = Buffer.from(zipSync(entries, { level: 9, mtime: new Date('2000-01-01T00:00:00Z') }));
      return {
        contents: `export const names = ${JSON.stringify(names)};\nexport const zip = ${JSON.stringify(zip.toString('base64'))};`,
        loader: 'js',
        watchFiles: [examples],
      };
    });
  },
};

await mkdir(out, { recursive: true });
// Two scripts: the page's (orvanta.js), which shows the first picture, and the editor's
// (orvanta-editor.js, CodeMirror and what works with it), which the page loads after it.
// Modules both import are in both; only pure functions and constants are.
// The preview (orvanta-preview.js) is a third host of the same modules and engine, which
// the extension's webview loads with the engine's glue and the page's style; the extension
// copies the folder into its package.
await mkdir(previewOut, { recursive: true });
for (const [entry, script] of [['main.ts', join(out, 'orvanta.js')], ['editor_entry.ts', join(out, 'orvanta-editor.js')],
                               ['preview/preview_entry.ts', join(previewOut, 'orvanta-preview.js')]])
  await build({
    entryPoints: [join(here, 'src', entry)],
    outfile: script,
    bundle: true,
    format: 'iife', // a classic script: module scripts do not load from file://
    target: 'es2020',
    minify: true,
    legalComments: 'none',
    plugins: [builtIn],
    logLevel: 'warning',
  });
await copyFile(engine, join(out, 'orvanta-engine.js'));
// The picture module's glue defines createOrvantaPictures(); its bytes follow as a global
// the page reads once the script has loaded (src/pictures.ts).
const picturesWasm = deflateRawSync(await readFile(pictures.replace(/\.js$/, '.wasm')), { level: 9 }).toString('base64');
await writeFile(join(out, 'orvanta-pictures.js'),
  `${await readFile(pictures, 'utf8')}\nvar orvantaPicturesWasm = ${JSON.stringify(picturesWasm)};\n`);
for (const file of ['index.html', 'style.css']) await copyFile(join(here, 'src', file), join(out, file));
await copyFile(engine, join(previewOut, 'orvanta-engine.js'));
await copyFile(join(here, 'src', 'style.css'), join(previewOut, 'style.css'));
await copyFile(join(here, 'src', 'preview', 'preview.css'), join(previewOut, 'preview.css'));
