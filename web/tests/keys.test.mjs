// The page's key list and the documentation's controls tables are one list:
// a key added, changed or dropped in one and not the other fails here.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import {test} from 'node:test';

import {cameraKeys, displayKeys} from '../page/keys.js';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
// Where the controls tables are documented.
const controlsDocument = path.join(root, 'docs/controls.md');

// The rows of the first Markdown table after `heading`, as lists of cells.
function tableAfter(markdown, heading) {
    const lines = markdown.split('\n');
    const start = lines.indexOf(heading);
    assert.ok(start >= 0, `${heading} in ${controlsDocument}`);
    const first = lines.findIndex((line, index) => index > start && line.startsWith('|'));
    const rows = [];
    for (let index = first + 2; lines[index]?.startsWith('|'); ++index) {
        rows.push(lines[index].replace(/^\||\|$/g, '').split('|').map((cell) => cell.trim()));
    }
    return rows;
}

test('the Keys panel lists the documented controls, row for row', () => {
    const markdown = fs.readFileSync(controlsDocument, 'utf8');
    for (const [heading, keys] of [
        ['## Camera', cameraKeys],
        ['## Light, shading and display', displayKeys],
    ]) {
        assert.deepEqual(keys, tableAfter(markdown, heading), heading);
    }
});
