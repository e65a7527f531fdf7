// Tokenises configuration lines with the engine VS Code itself uses for TextMate grammars,
// and checks that each part of a line gets the scope that says how the device reads it.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import oniguruma from 'vscode-oniguruma';
import textmate from 'vscode-textmate';

const here = dirname(fileURLToPath(import.meta.url));
const require = createRequire(import.meta.url);
const grammarPath = join(here, '..', 'syntaxes', 'orvanta.tmLanguage.json');

const wasm = readFileSync(require.resolve('vscode-oniguruma/release/onig.wasm'));
await oniguruma.loadWASM(wasm.buffer.slice(wasm.byteOffset, wasm.byteOffset + wasm.byteLength));
const registry = new textmate.Registry({
    onigLib: Promise.resolve({
        createOnigScanner: (patterns) => new oniguruma.OnigScanner(patterns),
        createOnigString: (text) => new oniguruma.OnigString(text),
    }),
    loadGrammar: async (scope) =>
        scope === 'source.orvanta'
            ? textmate.parseRawGrammar(readFileSync(grammarPath, 'utf8'), grammarPath)
            : null,
});
const grammar = await registry.loadGrammar('source.orvanta');

// Tokenises a whole text as an editor does, line by line with the state carried over, and
// returns for each line its tokens as {text, scopes}.
function tokenise(text) {
    let state = textmate.INITIAL;
    return text.split(/\r\n|\r|\n/).map((line) => {
        const result = grammar.tokenizeLine(line, state);
        state = result.ruleStack;
        return result.tokens.map((t) => ({
            text: line.slice(t.startIndex, t.endIndex),
            scopes: t.scopes,
        }));
    });
}

const INSTRUMENT = 'entity.name.type.instrument.orvanta';
const COMMAND = 'keyword.control.command.orvanta';
const NUMBER = 'constant.numeric.integer.decimal.orvanta';
const JUNK = 'invalid.illegal.trailing-characters.orvanta';
const NOT_A_NUMBER = 'invalid.illegal.not-a-number.orvanta';
const SEPARATOR = 'punctuation.separator.field.orvanta';
const FILE_NAME = 'string.unquoted.file-name.orvanta';
const TEXT = 'string.unquoted.text.orvanta';
const PLAIN = null; // nothing but the file's own scope and the line's

// The innermost scope that says what a token is; the meta.line scope only groups.
function meaning(token) {
    const inner = token.scopes.filter((s) => s !== 'source.orvanta' && !s.startsWith('meta.'));
    return inner.length === 0 ? PLAIN : inner[inner.length - 1];
}

test('the sample file: each part of a line has the scope of how the device reads it', () => {
    const sample = readFileSync(join(here, 'sample', 'config.txt'), 'utf8');
    const lines = sample.split('\n');
    const tokens = tokenise(sample);
    // [line of the sample, a part of it (its n-th occurrence with #n), the expected scope]
    const cases = [
        ['image;cockpit.bmp', 'image', COMMAND],
        ['image;cockpit.bmp', 'cockpit.bmp', FILE_NAME],
        ['GyroHorizonRect;4;16;58;47;0', 'GyroHorizonRect', INSTRUMENT],
        ['GyroHorizonRect;4;16;58;47;0', '47', NUMBER],
        ['GyroHorizonRect;4;16;58;47;0', ';#5', SEPARATOR],
        // A number reads up to its first other character; the rest is ignored.
        ['Tacho;38;10;15px;108;2', '15', NUMBER],
        ['Tacho;38;10;15px;108;2', 'px', JUNK],
        ['SetBGColor;0xF800', '0', NUMBER],
        ['SetBGColor;0xF800', 'xF800', JUNK],
        ['RoundPointer;32;36;56;-120;+120', '-120', NUMBER],
        ['RoundPointer;32;36;56;-120;+120', '+120', NUMBER],
        ['SetColor;wide', 'wide', NOT_A_NUMBER],
        // Leading blanks are skipped, so the digits after them are the number.
        ['DigitCounter; 16;16;8;2;3', '16', NUMBER],
        // The third field of ToggleText is its text, even where it starts with digits.
        ['ToggleText;10;56;12 GEAR;2;6', '56', NUMBER],
        ['ToggleText;10;56;12 GEAR;2;6', '12 GEAR', TEXT],
        ['ToggleText;10;56;12 GEAR;2;6', '6', NUMBER],
        ['ToggleText;10;56', '56', NUMBER],
        // Keywords count only written exactly, at the very start, with nothing after them.
        ['tacho;1;2;3;4;0', '*', PLAIN],
        [' Kompass;64;64;124;0', '*', PLAIN],
        ['Kompass ;64;64;124;0', '*', PLAIN],
        ['GyroHorizon;1;2;3;4;0', '*', PLAIN],
        ['# the next screen follows after eight seconds', '*', PLAIN],
        // A ';' that ends a line is no separator: it stays part of the last field.
        ['LED;64;104;40;10;', '10', NUMBER],
        ['LED;64;104;40;10;', ';#5', PLAIN],
        ['ShowFPS;', '*', PLAIN],
        ['ShowFPS', 'ShowFPS', COMMAND],
        ['SetColor;2016;', '2016', NUMBER],
        ['SetColor;2016;', ';#2', PLAIN],
        ['image;logo.bmp;', 'logo.bmp;', FILE_NAME],
        ['LoadConfig;7seg.txt;8', '7seg.txt', FILE_NAME],
    ];
    for (const [line, part, expected] of cases) {
        const index = lines.indexOf(line);
        assert.notEqual(index, -1, `the sample holds the line '${line}'`);
        if (part === '*') {
            for (const t of tokens[index]) assert.equal(meaning(t), expected, `'${t.text}' in '${line}'`);
            continue;
        }
        const [text, nth = '1'] = part.split(/#(?=\d+$)/);
        const matching = tokens[index].filter((t) => t.text === text);
        const token = matching[Number(nth) - 1];
        assert.ok(token, `'${line}' has a token '${text}' (#${nth}); tokens: ${tokens[index].map((t) => `'${t.text}'`).join(' ')}`);
        assert.equal(meaning(token), expected, `'${part}' in '${line}'`);
    }
});

// The keyword table of the C++ sources is the one list of keywords and their fields; the
// grammar must colour every keyword it lists, and every field by its kind.
function keywordTable() {
    const source = readFileSync(join(here, '..', '..', '..', 'core', 'config', 'keywords.cpp'), 'utf8');
    const entries = [...source.matchAll(/\{"(\w+)",\s*KeywordKind::(\w+),[\s\S]*?(?=\n    \{"|\n\};)/g)];
    return entries.map(([entry, name, kind]) => ({
        name,
        kind,
        fields: [...entry.matchAll(/\{"\w+", ([NCT]),/g)].map((m) => m[1]),
    }));
}

test('every keyword of the keyword table, with fields of each kind', () => {
    const table = keywordTable();
    assert.ok(table.length >= 14, `the keyword table was read (${table.length} keywords)`);
    for (const { name, kind, fields } of table) {
        // Text fields start with a digit, so that a grammar that took them for numbers fails.
        const values = fields.map((f) => (f === 'T' ? '3d view.bmp' : '-42'));
        const line = [name, ...values].join(';');
        const [tokens] = tokenise(line);
        assert.equal(tokens[0].text, name, line);
        assert.equal(meaning(tokens[0]), kind === 'Instrument' ? INSTRUMENT : COMMAND, line);
        const fieldTokens = tokens.filter((t) => t.text === '-42' || t.text === '3d view.bmp');
        assert.deepEqual(
            fieldTokens.map(meaning),
            fields.map((f) => (f === 'T' ? (name === 'ToggleText' ? TEXT : FILE_NAME) : NUMBER)),
            line,
        );
    }
});
