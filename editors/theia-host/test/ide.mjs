// Starts the Theia host on a copy of a card folder, with the Orvanta extension unpacked in
// its plugins folder and orvanta-cli on PATH, and opens it in Debian's Chromium. Each test
// file gets its own host, folder and configuration folder, so no file's edits reach another.
import { spawn, spawnSync } from 'node:child_process';
import { appendFileSync, cpSync, mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { delimiter, dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

export const host = resolve(dirname(fileURLToPath(import.meta.url)), '..');
export const root = resolve(host, '..', '..');
export const demo = join(root, 'examples', 'demo');
const cliDir = process.env.ORVANTA_CLI_DIR ?? join(root, 'build', 'release');
export const cli = join(cliDir, 'orvanta-cli');

// Theia's own process and all it starts (the plugin host, and the language server under it)
// share one process group, ended as a whole. scripts/test-ide also reads the groups from
// ORVANTA_IDE_GROUPS and ends any left behind by a test run that was itself killed.
function startBackend(folder, config) {
    const backend = spawn(process.execPath,
        [join(host, 'lib', 'backend', 'main.js'), folder, '--hostname', '127.0.0.1', '--port', '0',
         `--plugins=local-dir:${join(host, 'plugins')}`],
        {
            cwd: host,
            detached: true,
            stdio: ['ignore', 'pipe', 'pipe'],
            env: { ...process.env, THEIA_CONFIG_DIR: config, PATH: `${cliDir}${delimiter}${process.env.PATH}` },
        });
    if (process.env.ORVANTA_IDE_GROUPS) appendFileSync(process.env.ORVANTA_IDE_GROUPS, `${backend.pid}\n`);
    const exited = new Promise((done) => backend.on('exit', done));
    // Should this process end without closing the host, it takes the host with it.
    const orphaned = () => {
        try {
            process.kill(-backend.pid, 'SIGKILL');
        } catch { /* already gone */ }
    };
    process.on('exit', orphaned);
    backend.on('exit', () => process.off('exit', orphaned));
    const url = new Promise((found, failed) => {
        let log = '';
        const timer = setTimeout(() => failed(new Error(`Theia did not answer within 60 s:\n${log}`)), 60000);
        const read = (chunk) => {
            log += chunk;
            const match = /listening on (http:\/\/127\.0\.0\.1:\d+)/.exec(log);
            if (match) {
                clearTimeout(timer);
                found(match[1]);
            }
        };
        backend.stdout.on('data', read);
        backend.stderr.on('data', read);
        backend.on('exit', (code) => failed(new Error(`Theia ended with ${code}:\n${log}`)));
    });
    const end = async () => {
        if (backend.exitCode !== null || backend.signalCode !== null) return;
        try {
            process.kill(-backend.pid, 'SIGTERM');
        } catch {
            return;
        }
        const late = setTimeout(() => {
            try {
                process.kill(-backend.pid, 'SIGKILL');
            } catch { /* already gone */ }
        }, 5000);
        await exited;
        clearTimeout(late);
    };
    // Whatever became of the host, this process lets go of it, so that the test file ends
    // and scripts/test-ide gets to see what was left running.
    const stop = async () => {
        try {
            await end();
        } finally {
            backend.stdout.destroy();
            backend.stderr.destroy();
            backend.unref();
        }
    };
    // The programs running in the host's session now, one command line each.
    const processes = () => {
        const listed = spawnSync('ps', ['-o', 'stat=,args=', '--sid', String(backend.pid)], { encoding: 'utf8' });
        return listed.stdout.split('\n').map((line) => line.trim()).filter((line) => line && !line.startsWith('Z'))
            .map((line) => line.replace(/^\S+\s+/, '')).sort();
    };
    return { url, stop, processes };
}

// Opens the host on a copy of examples/demo. `prepare` may change the copy before Theia
// sees it. Returns the page, the copy's path, the host's running programs and a close
// function for after().
export async function openIde({ prepare } = {}) {
    const work = mkdtempSync(join(tmpdir(), 'orvanta-ide-'));
    const folder = join(work, 'card');
    const config = join(work, 'config');
    cpSync(demo, folder, { recursive: true });
    prepare?.(folder);
    mkdirSync(config);
    // Autosave would write the tests' edits to the copy; the trust dialog would cover the
    // window on start.
    writeFileSync(join(config, 'settings.json'), JSON.stringify({
        'security.workspace.trust.enabled': false,
        'files.autoSave': 'off',
    }));
    const backend = startBackend(folder, config);
    let browser;
    const close = async () => {
        // Playwright's own close can wait on a page that hangs; the host is ended regardless.
        await Promise.race([browser?.close(), new Promise((done) => setTimeout(done, 10000).unref())])
            .catch(() => {});
        await backend.stop();
        rmSync(work, { recursive: true, force: true });
    };
    try {
        const url = await backend.url;
        browser = await chromium.launch({
            executablePath: process.env.ORVANTA_CHROMIUM ?? '/usr/bin/chromium',
            headless: true,
            // Theia serves each webview from an origin of its own, UUID.webview.HOST. Under
            // ide.localhost both are secure contexts and the same site, as a webview's service
            // worker needs (a frame of another site may not have one), and the rule sends
            // both to the host's loopback address.
            args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
                   '--disable-component-update', '--disable-sync',
                   '--host-resolver-rules=MAP *.localhost 127.0.0.1'],
        });
        const page = await browser.newPage({ viewport: { width: 1400, height: 900 } });
        await page.goto(url.replace('//127.0.0.1:', '//ide.localhost:'));
        await page.locator('#theia-app-shell').waitFor({ timeout: 60000 });
        return { page, folder, close, processes: backend.processes };
    } catch (error) {
        await close();
        throw error;
    }
}
