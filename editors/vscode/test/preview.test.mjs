// The preview's parts that need no editor: byte columns turned into the editor's columns,
// the messages the webview may send, and the policy its page is held to.
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { test } from 'node:test';

const require = createRequire(import.meta.url);
const { characterOfByte } = require('../out/lib/preview_columns.js');
const { isFromPreview, isFileName } = require('../out/lib/preview_messages.js');
const { contentSecurityPolicy, previewHtml } = require('../out/lib/preview_html.js');

test('a byte column lands on the character it starts, whatever the characters take in UTF-8', () => {
    const line = 'Text;1;2;é€😀x';
    const encoder = new TextEncoder();
    // Every character's first byte maps to its own UTF-16 offset, and back again.
    for (let i = 0; i <= line.length; ++i) {
        if (i < line.length && line.charCodeAt(i) >= 0xdc00 && line.charCodeAt(i) <= 0xdfff) continue;
        assert.equal(characterOfByte(line, encoder.encode(line.slice(0, i)).length), i, `offset ${i}`);
    }
    const emoji = line.indexOf('😀');
    const emojiByte = encoder.encode(line.slice(0, emoji)).length;
    assert.equal(characterOfByte(line, emojiByte + 2), emoji, 'inside a character: its start');
    assert.equal(characterOfByte(line, 1000), line.length, 'past the end: the end');
    // A lone surrogate is written as U+FFFD, three bytes.
    assert.equal(characterOfByte('\ud800a', 3), 1);
});

test('only well-formed messages naming a file of the folder are taken', () => {
    const edit = { from: [0, 5], to: [0, 7], text: '64' };
    assert.ok(isFromPreview({ type: 'ready' }));
    assert.ok(isFromPreview({ type: 'reveal', name: 'config.txt', line: 3 }));
    assert.ok(isFromPreview({ type: 'apply', name: 'radar.txt', edits: [edit] }));
    for (const bad of [null, 'ready', { type: 'run' },
        { type: 'reveal', name: '../secret.txt', line: 3 },
        { type: 'reveal', name: 'config.txt', line: 0 },
        { type: 'reveal', name: 'config.txt', line: 1.5 },
        { type: 'apply', name: 'sub/config.txt', edits: [edit] },
        { type: 'apply', name: 'config.txt', edits: [{ ...edit, to: [0] }] },
        { type: 'apply', name: 'config.txt', edits: [{ ...edit, from: [-1, 0] }] },
        { type: 'apply', name: 'config.txt', edits: [{ ...edit, text: 64 }] },
        { type: 'apply', name: 'config.txt', edits: 'none' }])
        assert.equal(isFromPreview(bad), false, JSON.stringify(bad));
    for (const name of ['', '.', '..', 'a\\b', 'a\0b']) assert.equal(isFileName(name), false, name);
});

test("the preview's page loads only the webview's own files and fetches nothing", () => {
    const source = 'https://file+.vscode-resource.example';
    const policy = contentSecurityPolicy(source);
    const directives = new Map(policy.split('; ').map((d) => [d.split(' ')[0], d.split(' ').slice(1)]));
    assert.deepEqual(directives.get('default-src'), ["'none'"]);
    assert.deepEqual(directives.get('script-src'), [source, "'wasm-unsafe-eval'"]);
    assert.deepEqual(directives.get('style-src'), [source]);
    assert.equal(directives.has('connect-src'), false, 'no fetch of any kind');
    const html = previewHtml({ cspSource: source, engine: `${source}/e.js`, script: `${source}/p.js`,
        style: `${source}/s.css`, previewStyle: `${source}/q.css` }, 'Preview <card> & "x"');
    assert.ok(html.includes(`content="${policy.replace(/"/g, '&quot;')}"`));
    assert.ok(html.indexOf('e.js') < html.indexOf('p.js'), 'the engine before the script that uses it');
    assert.match(html, /<title>Preview &lt;card> &amp; &quot;x&quot;<\/title>/);
    assert.doesNotMatch(html, /<script>|<style>|style="/, 'nothing inline');
});
