// Damaged and missing downloads: each failure is one line, in the notice and
// on the console, that names the file and what is wrong with it; no page
// error, no progress over it, and nothing started.
import assert from 'node:assert/strict';
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import {test} from 'node:test';

import * as island from './harness.mjs';

const data = fs.readFileSync(path.join(island.siteDir, 'island.data'));
const noise = crypto.randomBytes(200_000);
const gzipHeader = Buffer.from([0x1f, 0x8b, 0x08, 0x00, 0, 0, 0, 0, 0x00, 0x03]);
const missing = {status: 404};

// Each load breaks one or two files: [file, what it gets, the line it gives].
const loads = [
    [
        ['island.wasm', missing, /^island\.wasm: not found \(HTTP 404\)\.$/],
        ['island.data', {body: data.subarray(0, data.length / 2)},
         /^island\.data: cut short, its gzip stream ends too soon\.$/],
    ],
    [
        ['island.wasm', {body: Buffer.from('<!doctype html>')},
         /^island\.wasm: damaged, not a WebAssembly module \(.+\)\.$/],
        ['island.data', {body: Buffer.concat([gzipHeader, noise])},
         /^island\.data: damaged, not valid gzip data\.$/],
    ],
    [['island.data', missing, /^island\.data: not found \(HTTP 404\)\.$/]],
    [['island.data', {body: noise}, /^island\.data: damaged, neither gzip-compressed nor a tar archive\.$/]],
    [['island.data', {body: zlib.gzipSync(noise)},
      /^island\.data: damaged, a bad tar archive \(bad header checksum at byte 0\)\.$/]],
];

const site = island.sharedChromium('swiftshader');

test('each damaged or missing download is said in one line that names the file', async () => {
    const page = await island.openIsland(site.browser, site.server, {width: 320, height: 240});
    for (const load of loads) {
        await page.unrouteAll();
        for (const [file, answer] of load) {
            await page.route(`**/${file}`, (route) => route.fulfill({contentType: 'application/octet-stream', ...answer}));
        }
        await page.goto(`${site.server.url}index.html`);
        await page.waitForFunction(() => window.island.downloadsDone);
        const said = await island.linesOf(page, 'error');
        assert.equal(said.length, load.length, said.join('\n'));
        for (const [file, , line] of load) {
            assert.ok(said.some((text) => line.test(text)), `${file}: ${said.join('\n')}`);
        }
        assert.ok(said.includes(await page.textContent('#notice')), 'the notice says the first');
        assert.equal(await page.evaluate(() => window.island.starts), 0);
        assert.ok(await page.isDisabled('#start'));
    }
    assert.deepEqual(page.errors, []);
    await island.closeIsland(page);
});
