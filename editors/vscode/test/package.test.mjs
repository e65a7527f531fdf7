// Packs both .vsix files as the release does and reads them back: what an editor installs
// must name the language, the grammar and the server, and carry the Windows programs.
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { builtinModules } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { after, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import yauzl from 'yauzl';

const here = join(dirname(fileURLToPath(import.meta.url)), '..');
const work = mkdtempSync(join(tmpdir(), 'orvanta-package-'));
after(() => rmSync(work, { recursive: true, force: true }));

// The preview the web preset built; without it, stand-ins show that its files travel, and
// the package's size is left to a run after the web build (the release's).
const builtPreview = process.env.ORVANTA_PREVIEW_DIR ?? join(here, '..', '..', 'build', 'web', 'preview');
const previewFiles = ['orvanta-preview.js', 'orvanta-engine.js', 'style.css', 'preview.css'];
const previewBuilt = previewFiles.every((file) => existsSync(join(builtPreview, file)));
let preview = builtPreview;
if (!previewBuilt) {
    preview = join(work, 'preview');
    mkdirSync(preview);
    for (const file of previewFiles) writeFileSync(join(preview, file), `/* stand-in ${file} ${Date.now()} */`);
}

function pack(...args) {
    const out = execFileSync(process.execPath, [join(here, 'scripts', 'package.mjs'), '--preview', preview, ...args], {
        cwd: here, encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'],
    });
    return out.trim().split('\n').pop();
}

// Every file of a zip archive, by name.
function unzip(file) {
    return new Promise((resolve, reject) => {
        yauzl.open(file, { lazyEntries: true }, (error, zip) => {
            if (error) return reject(error);
            const files = new Map();
            zip.on('entry', (entry) => {
                zip.openReadStream(entry, (err, stream) => {
                    if (err) return reject(err);
                    const chunks = [];
                    stream.on('data', (c) => chunks.push(c));
                    stream.on('end', () => {
                        files.set(entry.fileName, Buffer.concat(chunks));
                        zip.readEntry();
                    });
                });
            });
            zip.on('end', () => resolve(files));
            zip.on('error', reject);
            zip.readEntry();
        });
    });
}

const version = /^project\(\s*\S+\s+VERSION\s+([0-9.]+)/m.exec(
    readFileSync(join(here, '..', '..', 'CMakeLists.txt'), 'utf8'))[1];

// Stand-ins for the Windows programs: the test checks that they travel, not that they run.
const windowsBin = join(work, 'windows');
mkdirSync(windowsBin);
const cliBytes = Buffer.from(`MZ stand-in orvanta-cli.exe ${Date.now()}`);
const windowBytes = Buffer.from(`MZ stand-in orvanta.exe ${Date.now()}`);
writeFileSync(join(windowsBin, 'orvanta-cli.exe'), cliBytes);
writeFileSync(join(windowsBin, 'orvanta.exe'), windowBytes);

test('the package for any system', async () => {
    const vsix = pack('--out', join(work, 'plain'));
    assert.equal(vsix, join(work, 'plain', `orvanta-vscode-${version}.vsix`));
    const files = await unzip(vsix);
    const manifest = JSON.parse(files.get('extension/package.json'));
    assert.equal(manifest.version, version, 'the project version from CMakeLists.txt');

    const [language] = manifest.contributes.languages;
    assert.equal(language.id, 'orvanta');
    assert.deepEqual(language.filenames, ['config.txt']);
    assert.equal(language.extensions, undefined, 'never every .txt file');
    assert.ok(files.has(`extension/${language.configuration.replace('./', '')}`));

    const [grammar] = manifest.contributes.grammars;
    assert.equal(grammar.language, 'orvanta');
    const packedGrammar = JSON.parse(files.get(`extension/${grammar.path.replace('./', '')}`));
    assert.equal(packedGrammar.scopeName, grammar.scopeName);

    const settings = manifest.contributes.configuration.properties;
    assert.equal(settings['orvanta.serverPath'].default, 'orvanta-cli');
    const bundle = files.get(`extension/${manifest.main.replace('./', '')}`).toString();
    assert.match(bundle, /args:\s*\[\s*"lsp"\s*\]/, 'the server is started as orvanta-cli lsp');
    assert.ok(manifest.contributes.commands.some((c) => c.command === 'orvanta.openInWindow'));

    // The package holds no node_modules, so the bundle may need nothing but the editor's
    // API and node's own modules.
    const required = [...bundle.matchAll(/require\("([^"]+)"\)/g)].map((m) => m[1]);
    const foreign = required.filter((r) => r !== 'vscode' && !builtinModules.includes(r.replace(/^node:/, '')));
    assert.deepEqual(foreign, []);
    const names = [...files.keys()];
    assert.deepEqual(names.filter((n) => /node_modules|\/src\/|\/test\/|^extension\/bin\//.test(n)), []);
    assert.doesNotMatch(files.get('extension.vsixmanifest').toString(), /TargetPlatform/);

    // The preview: its command in the palette and the editor's title bar, and the web
    // build's files in the media folder the webview may load from.
    const command = manifest.contributes.commands.find((c) => c.command === 'orvanta.openPreview');
    assert.equal(`${command?.category}: ${command?.title}`, 'Orvanta: Open Preview to the Side');
    assert.ok(manifest.contributes.menus['editor/title'].some((m) => m.command === 'orvanta.openPreview' &&
        m.when === 'editorLangId == orvanta'));
    assert.ok(manifest.activationEvents.includes('onCommand:orvanta.openPreview'));
    for (const file of previewFiles)
        assert.deepEqual(files.get(`extension/media/${file}`), readFileSync(join(preview, file)), file);
    assert.match(bundle, /"media"/, 'the webview is limited to the media folder');
});

test('the package with the built preview stays under 2 MB',
    { skip: !previewBuilt && 'the web preset has not built the preview' }, () => {
        const vsix = pack('--out', join(work, 'sized'));
        const size = statSync(vsix).size;
        assert.ok(size < 2 * 1024 * 1024, `${size} bytes`);
    });

test('the package is refused without the preview', () => {
    const result = spawnSync(process.execPath,
        [join(here, 'scripts', 'package.mjs'), '--out', join(work, 'none'), '--preview', join(work, 'nowhere')],
        { cwd: here, encoding: 'utf8' });
    assert.notEqual(result.status, 0);
    assert.match(result.stderr, /orvanta-preview\.js is missing: build the web preset first/);
});

test('the Windows package carries the programs', async () => {
    const vsix = pack('--out', join(work, 'win'), '--target', 'win32-x64', '--bin', windowsBin);
    assert.equal(vsix, join(work, 'win', `orvanta-vscode-${version}-win32-x64.vsix`));
    const files = await unzip(vsix);
    assert.deepEqual(files.get('extension/bin/orvanta-cli.exe'), cliBytes);
    assert.deepEqual(files.get('extension/bin/orvanta.exe'), windowBytes);
    assert.ok(files.has('extension/media/orvanta-preview.js'), 'the preview too');
    assert.match(files.get('extension.vsixmanifest').toString(), /TargetPlatform="win32-x64"/);
});

test('the Windows package is refused without orvanta-cli.exe', () => {
    const empty = join(work, 'empty');
    mkdirSync(empty);
    const result = spawnSync(process.execPath,
        [join(here, 'scripts', 'package.mjs'), '--out', join(work, 'none'), '--target', 'win32-x64', '--bin', empty,
         '--preview', preview],
        { cwd: here, encoding: 'utf8' });
    assert.notEqual(result.status, 0);
    assert.match(result.stderr, /orvanta-cli\.exe is missing/);
});

// The client library sets the lowest editor version the extension can run in. Arduino IDE
// 2.3 (Theia 1.41) offers the VS Code API of 1.80, so a client that needs more would lock
// those users out.
test('the editor version the extension asks for suits the client and Arduino IDE 2.3', () => {
    const manifest = JSON.parse(readFileSync(join(here, 'package.json'), 'utf8'));
    const client = JSON.parse(readFileSync(join(here, 'node_modules', 'vscode-languageclient', 'package.json'), 'utf8'));
    const lowest = (range) => range.replace(/^[\^~>=]+/, '').split('.').map(Number);
    const compare = (a, b) => a[0] - b[0] || a[1] - b[1] || a[2] - b[2];
    const ours = lowest(manifest.engines.vscode);
    assert.ok(compare(ours, lowest(client.engines.vscode)) >= 0, 'at least what the client needs');
    assert.ok(compare(ours, [1, 80, 0]) <= 0, 'at most what Arduino IDE 2.3 offers');
    assert.deepEqual(lowest(manifest.devDependencies['@types/vscode']), ours, 'typed against that version');
});
