// Packs the extension into a .vsix file and prints its path on the last line.
//
//   node scripts/package.mjs --out DIR                              the package for any system
//   node scripts/package.mjs --out DIR --target win32-x64 --bin DIR the Windows package
//   ... --preview DIR   the preview's folder (default build/web/preview, the web preset's)
//
// The preview's scripts and styles are the page's modules and engine as the web preset
// bundles them; they are copied into the package's media folder, never into this folder.
// The Windows package carries orvanta-cli.exe from the --bin folder, and orvanta.exe when
// that folder holds it too, so that a Windows user installs nothing else. The version is the
// project's, from the project() line of the top CMakeLists.txt. The extension is packed from
// a staging folder holding only what it needs, so nothing else in this folder can slip in.
import { execFileSync } from 'node:child_process';
import { cpSync, existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';

const here = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const { values } = parseArgs({
    options: {
        out: { type: 'string' }, target: { type: 'string' }, bin: { type: 'string' }, preview: { type: 'string' },
    },
});
if (!values.out || (values.target && !values.bin) || (values.bin && !values.target)) {
    console.error('usage: package.mjs --out DIR [--target win32-x64 --bin DIR] [--preview DIR]');
    process.exit(2);
}

function projectVersion() {
    const cmake = readFileSync(join(here, '..', '..', 'CMakeLists.txt'), 'utf8');
    const match = /^project\(\s*\S+\s+VERSION\s+([0-9.]+)/m.exec(cmake);
    if (!match) throw new Error('no VERSION in the project() line of CMakeLists.txt');
    return match[1];
}

const version = projectVersion();
const bundle = join(here, 'out', 'extension.js');
if (!existsSync(bundle)) throw new Error(`${bundle} is missing: run npm run compile first`);
const preview = resolve(values.preview ?? join(here, '..', '..', 'build', 'web', 'preview'));
const previewFiles = ['orvanta-preview.js', 'orvanta-engine.js', 'style.css', 'preview.css'];
for (const file of previewFiles) {
    if (!existsSync(join(preview, file))) {
        throw new Error(`${join(preview, file)} is missing: build the web preset first (cmake --build --preset web)`);
    }
}

const stage = mkdtempSync(join(tmpdir(), 'orvanta-vsix-'));
try {
    const manifest = JSON.parse(readFileSync(join(here, 'package.json'), 'utf8'));
    manifest.version = version;
    delete manifest.devDependencies;
    delete manifest.scripts;
    for (const item of ['README.md', 'language-configuration.json', 'syntaxes']) {
        cpSync(join(here, item), join(stage, item), { recursive: true });
    }
    mkdirSync(join(stage, 'out'));
    cpSync(bundle, join(stage, 'out', 'extension.js'));
    mkdirSync(join(stage, 'media'));
    for (const file of previewFiles) cpSync(join(preview, file), join(stage, 'media', file));

    const args = ['package', '--no-dependencies', '--skip-license', '--allow-missing-repository'];
    let name = `orvanta-vscode-${version}.vsix`;
    if (values.target) {
        const programs = ['orvanta-cli.exe', 'orvanta.exe'].filter((p) => existsSync(join(values.bin, p)));
        if (!programs.includes('orvanta-cli.exe')) {
            throw new Error(`${join(values.bin, 'orvanta-cli.exe')} is missing: build the windows preset first`);
        }
        mkdirSync(join(stage, 'bin'));
        for (const program of programs) cpSync(join(values.bin, program), join(stage, 'bin', program));
        manifest.files.push('bin/**');
        args.push('--target', values.target);
        name = `orvanta-vscode-${version}-${values.target}.vsix`;
    }
    writeFileSync(join(stage, 'package.json'), JSON.stringify(manifest, null, 2) + '\n');
    mkdirSync(values.out, { recursive: true });
    const vsix = resolve(values.out, name);
    args.push('--out', vsix);
    const vsce = createRequire(import.meta.url).resolve('@vscode/vsce/vsce');
    execFileSync(process.execPath, [vsce, ...args], { cwd: stage, stdio: ['ignore', 'inherit', 'inherit'] });
    console.log(vsix);
} finally {
    rmSync(stage, { recursive: true, force: true });
}
