// The page's dialect writer, the desktop's C++ built to WebAssembly, on the
// native test's table of GLSL 3.30 as people write it
// (tests/tools/shader_dialect_cases.txt): the ES 3.00 form of each case is
// a text that glslangValidator takes, with the source's line count, or a
// refusal naming the visitor's file and line. Then what only the page does:
// ES 3.00 passes as it is, and any other version gets the page's one line.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {test} from 'node:test';
import {fileURLToPath, pathToFileURL} from 'node:url';

import {loadDialectWriter} from '../page/dialect_writer.js';
import {siteDir} from './harness.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');

// The cases: "== what | stage | dialects that refuse | line", then the source.
function casesFrom(table) {
    const cases = [];
    for (const line of table.split('\n').slice(0, -1)) {
        if (line.startsWith('== ')) {
            const [what, stage, refusers, refusedLine] = line.slice(3).split('|').map((cell) => cell.trim());
            cases.push({what, stage, refusedBy: refusers.split(' '), refusedLine: Number(refusedLine), source: ''});
        } else if (cases.length > 0) {
            cases.at(-1).source += `${line.replaceAll('\\t', '\t').replaceAll('\\r', '\r')}\n`;
        }
    }
    return cases;
}

const writer = loadDialectWriter(pathToFileURL(`${siteDir}/`).href, {
    wasmBinary: fs.readFileSync(path.join(siteDir, 'shaderdialects_web.wasm')),
});

function lineCount(text) {
    return text.split('\n').length - 1;
}

test('the page writes each case of the table as ES 3.00 a compiler takes, or refuses it at its line', async () => {
    const {toEs300} = await writer;
    const cases = casesFrom(fs.readFileSync(path.join(root, 'tests/tools/shader_dialect_cases.txt'), 'utf8'));
    assert.ok(cases.length > 10);
    const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'dialects-'));
    const written = [];
    for (const {what, stage, refusedBy, refusedLine, source} of cases) {
        const answer = toEs300(source, `user.${stage}`);
        if (refusedBy.includes('300es')) {
            assert.equal(answer.error?.file, `user.${stage}`, what);
            assert.equal(answer.error.line, refusedLine, what);
            assert.doesNotMatch(answer.error.message, /\n/, what);
            continue;
        }
        assert.ok(answer.text, `${what}: ${JSON.stringify(answer.error)}`);
        assert.match(answer.text, /^#version 300 es/, what);
        assert.equal(lineCount(answer.text), lineCount(source), what);
        written.push(path.join(scratch, `case${written.length}.${stage}`));
        fs.writeFileSync(written.at(-1), answer.text);
    }
    try {
        execFileSync('glslangValidator', written, {stdio: 'pipe'});
    } catch (error) {
        assert.fail(`glslangValidator refuses a written text:\n${error.stdout}`);
    } finally {
        fs.rmSync(scratch, {recursive: true});
    }
});

// Faults: ES text sent through the writer (which refuses it, or writes a
// second version line); a version other than the two run or refused by the
// C++ with its own desktop message; the line of a version after comments.
test('ES 3.00 passes as it is, and any other version gets the line saying which two the page takes', async () => {
    const {toEs300} = await writer;
    const es = '#version 300 es\nprecision highp float;\nout vec4 c;\nvoid main() { c = vec4(1); }\n';
    assert.deepEqual(toEs300(es, 'base.frag'), {text: es});
    assert.deepEqual(toEs300(`// mine\r\n${es.replaceAll('\n', '\r\n')}`, 'base.frag'),
        {text: `// mine\r\n${es.replaceAll('\n', '\r\n')}`});
    for (const [source, line, found] of [
        ['#version 120\nvoid main() {}\n', 1, '"#version 120"'],
        ['#version 330 compatibility\nvoid main() {}\n', 1, '"#version 330 compatibility"'],
        ['/* a set\n   of mine */\n#version 100\nvoid main() {}\n', 3, '"#version 100"'],
        ['void main() {}\n', 1, 'no #version'],
        ['', 1, 'no #version'],
    ]) {
        const {error} = toEs300(source, 'base.vert');
        assert.equal(error?.file, 'base.vert', source);
        assert.equal(error.line, line, source);
        assert.match(error.message, /GLSL 3\.30 .*GLSL ES 3\.00/, source);
        assert.ok(error.message.includes(found), error.message);
    }
});
