// Which files the extension takes for configuration files, and which programs it starts.
import assert from 'node:assert/strict';
import { mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, test } from 'node:test';

const require = createRequire(import.meta.url);
const { isConfigurationFile } = require('../out/lib/documents.js');
const { locateProgram } = require('../out/lib/programs.js');

const root = mkdtempSync(join(tmpdir(), 'orvanta-documents-'));
after(() => rmSync(root, { recursive: true, force: true }));
for (const file of ['card/config.txt', 'card/radar.txt', 'card/NOTES.TXT', 'card/panel.bmp',
                    'card/old/spare.txt', 'letters/readme.txt', 'capital/Config.txt', 'capital/a.txt']) {
    mkdirSync(join(root, file, '..'), { recursive: true });
    writeFileSync(join(root, file), '');
}

test('a text file is a configuration file only as config.txt or beside one', () => {
    const cases = [
        ['card/config.txt', true],
        ['card/radar.txt', true],
        ['card/NOTES.TXT', true],
        ['card/panel.bmp', false],
        ['card/old/spare.txt', false], // a subfolder is no card of its own without config.txt
        ['letters/readme.txt', false],
        ['elsewhere/config.txt', true], // the name alone decides, as the manifest's filenames do
        ['capital/a.txt', false], // the device opens config.txt exactly, capitals included
    ];
    // Windows compares file names without case, so there Config.txt stands for config.txt.
    if (process.platform === 'win32') cases.pop();
    for (const [file, expected] of cases) {
        assert.equal(isConfigurationFile(join(root, file)), expected, file);
    }
});

test('the server and the window: the setting, else the Windows copy, else PATH', () => {
    const ext = join('ext', 'dir');
    const bundled = (name) => join(ext, 'bin', `${name}.exe`);
    const carries = () => true;
    const lacks = () => false;
    const cases = [
        // [program, setting, system, package carries the program?, expected]
        ['orvanta-cli', 'orvanta-cli', 'linux', lacks, 'orvanta-cli'],
        ['orvanta-cli', '/opt/orvanta/bin/orvanta-cli', 'linux', lacks, '/opt/orvanta/bin/orvanta-cli'],
        ['orvanta-cli', 'orvanta-cli', 'win32', carries, bundled('orvanta-cli')],
        ['orvanta-cli', 'orvanta-cli', 'win32', lacks, 'orvanta-cli'],
        ['orvanta-cli', 'D:\\tools\\orvanta-cli.exe', 'win32', carries, 'D:\\tools\\orvanta-cli.exe'],
        ['orvanta', 'orvanta', 'win32', carries, bundled('orvanta')],
    ];
    for (const [name, setting, platform, exists, expected] of cases) {
        assert.equal(locateProgram(name, setting, platform, ext, exists), expected,
                     `${name} with setting ${JSON.stringify(setting)} on ${platform}`);
    }
});
