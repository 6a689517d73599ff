// The page's own parts, on the default backend: the window title in the
// document's title and beside the buttons, keys as on the desktop and in the
// Keys panel, rec.cfg out to a download and in from disk, the end of the
// loop, a lost WebGL context, Start again, the page's layout, and a browser
// without WebGL 2.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import {describe, test} from 'node:test';

import {cameraKeys, displayKeys} from '../page/keys.js';
import * as island from './harness.mjs';

describe('the page', {timeout: 4 * island.patience}, () => {
    const site = island.sharedChromium('swiftshader');

    // The first page goes on from one test to the next.
    let page;

    test(
        'draws the island, says which address keys it ignores, shows every key, answers P, V and C ' +
            'in the window title, shown in the tab and beside the buttons, and Esc ends the loop',
        async () => {
        page = await island.openIsland(
            site.browser, site.server, {query: '?clock=-1&window_width=300', width: 400, height: 300});
        await island.waitForFrames(page, 1);
        const frame = await island.grabFrame(page);
        let lit = 0;
        for (let i = 0; i < frame.pixels.length; i += 4)
            if (frame.pixels[i] + frame.pixels[i + 1] + frame.pixels[i + 2] > 60) lit += 1;
        assert.ok(lit > frame.pixels.length / 8, 'most of the canvas is drawn');
        assert.deepEqual(await island.linesOf(page, 'page'), [
            'Address key clock=-1 ignored: clock needs a number of seconds, 0 or more.',
            "Address key window_width=300 ignored: the page sets window_width itself, from the canvas's size.",
        ]);
        assert.equal(await page.title(), 'island — GLFW Window');
        assert.equal(await page.textContent('#title'), 'GLFW Window');

        // P leaves playback mode, so that the script stops setting the cliff's
        // mode; then C cycles the cliff (selected at start) from 5 to 6.
        await page.keyboard.press('KeyP');
        await island.waitForLine(page, /^end playing$/);
        await page.keyboard.press('KeyC');
        await island.waitForTitle(page, 'bumpmap shading with specular');
        await page.keyboard.press('KeyV');
        await island.waitForTitle(page, 'selected object: water');
        await page.keyboard.press('KeyC');
        await island.waitForTitle(page, 'none');  // the water, from 6
        await page.keyboard.press('KeyV');
        await island.waitForTitle(page, 'selected object: cliff');
        assert.equal(await page.textContent('#title'), 'selected object: cliff');

        // The panel holds every row of the key list; Esc closes it and does
        // not reach the program.
        await page.click('#keys');
        const rows = await page.$$eval(
            '#keys-panel tbody tr', (all) => all.map((row) => [...row.cells].map((cell) => cell.textContent)));
        assert.deepEqual(rows, [...cameraKeys, ...displayKeys]);
        await page.keyboard.press('Escape');
        await page.waitForFunction(() => !document.getElementById('keys-panel').open);
        await island.waitForFrames(page, 2);
        assert.equal(await page.evaluate(() => window.island.exitStatus), null);

        await page.keyboard.press('Escape');
        await page.waitForFunction(() => window.island.exitStatus !== null);
        assert.equal(await page.evaluate(() => window.island.exitStatus), 0);
        assert.deepEqual(page.errors, []);
    });

    test(
        'the picture keeps half the page; after Esc, Start again starts the program without a ' +
            'download; a lost WebGL context stops the loop with one line and no GL error line, and ' +
            'the program starts again when the context is back',
        async () => {
            const pictureShare = () => page.evaluate(
                () => document.getElementById('canvas').clientHeight / innerHeight);
            for (const [width, height] of [[740, 360], [320, 240]]) {
                await page.setViewportSize({width, height});
                assert.ok(await pictureShare() >= 0.5, `${width}×${height}`);
            }
            const withConsole = await pictureShare();
            await page.click('#fold');
            assert.ok(await pictureShare() > withConsole, 'the folded console gives its room to the picture');
            await page.click('#fold');

            assert.ok(await page.isDisabled('#fullscreen'), 'nothing to show full screen');
            site.server.resetCount();
            await page.click('#start');
            await page.waitForFunction(() => window.island.starts === 2);
            await island.waitForFrames(page, 2);
            assert.equal(site.server.bytesSent(), 0, 'nothing downloaded again');

            await page.evaluate(() => {
                window.loseContext =
                    document.getElementById('canvas').getContext('webgl2').getExtension('WEBGL_lose_context');
                window.loseContext.loseContext();
            });
            const lost = /^The WebGL context was lost: the island has stopped/;
            await island.waitForLine(page, lost);
            assert.match(await page.textContent('#notice'), lost);
            await page.evaluate(() => window.loseContext.restoreContext());
            await page.waitForFunction(() => window.island.starts === 3);
            await island.waitForFrames(page, 2);
            const {framesWhileLost, lines} = await page.evaluate((source) => {
                const lostAt = window.island.lines.find((line) => new RegExp(source).test(line.text)).at;
                return {
                    framesWhileLost: window.island.frameStamps.filter(
                        (at) => at > lostAt && at < window.island.startedAt).length,
                    lines: window.island.lines.map((line) => line.text),
                };
            }, lost.source);
            assert.equal(framesWhileLost, 0, 'the loop stopped');
            assert.deepEqual(lines.filter((line) => line.startsWith('GL: ')), []);
            assert.equal(lines.filter((line) => line === 'Loaded OpenGL Version 3.0').length, 3);
            assert.deepEqual(page.errors, []);
            await island.closeIsland(page);
        });

    test(
        'a recording made with R, mouse look included, downloads as rec.cfg, and playing it back from ' +
            'disk moves the view',
        async () => {
            // The clock stands still, so nothing but the camera changes the picture.
            const page = await island.openIsland(
                site.browser, site.server, {query: '?clock=0', width: 320, height: 240});
            await island.waitForFrames(page, 1);
            await page.click('#canvas');  // locks the pointer for mouse look
            await page.waitForFunction(() => document.pointerLockElement?.id === 'canvas');
            await page.keyboard.press('KeyR');
            await island.waitForLine(page, /^start recording$/);
            await page.keyboard.down('KeyW');
            await island.waitForFrames(page, 12);
            const {x, y} = await page.evaluate(() => {
                const box = document.getElementById('canvas').getBoundingClientRect();
                return {x: box.x + box.width / 2, y: box.y + box.height / 2};
            });
            await page.mouse.move(x + 40, y);  // from the click: 40 pixels to the right
            await island.waitForFrames(page, 2);
            await page.keyboard.up('KeyW');
            await island.waitForFrames(page, 2);
            await page.keyboard.press('KeyR');
            await island.waitForLine(page, /^end recording$/);
            // The browser lets the pointer go on Esc; a headless one only on request.
            await page.evaluate(() => document.exitPointerLock());
            await page.waitForFunction(() => document.pointerLockElement === null);
            await page.waitForSelector('#download:not([disabled])');
            const [download] =
                await Promise.all([page.waitForEvent('download'), page.click('#download')]);
            assert.equal(download.suggestedFilename(), 'rec.cfg');
            const recording = fs.readFileSync(await download.path(), 'latin1');
            assert.match(recording, /^start0\n(\d+([ADWSBN]|_-?\d+_-?\d+) )+\nend\d+$/);
            assert.ok(recording.match(/\d+W /g).length >= 12, recording);
            assert.match(recording, / \d+_40_0 /, 'the locked pointer moved the view');

            const still = await island.grabFrame(page);
            assert.equal(
                Buffer.compare(still.pixels, (await island.grabFrame(page)).pixels), 0,
                'the picture stands still');
            // Files with nothing to play leave rec.cfg as it is.
            for (const [name, bytes] of [
                ['empty.cfg', Buffer.alloc(0)],
                ['picture.png', Buffer.from('89504e470d0a1a0a0000000d49484452', 'hex')],
            ]) {
                await page.setInputFiles('#recfile', {name, mimeType: 'text/plain', buffer: bytes});
                await island.waitForLine(page, new RegExp(`^${name.replace('.', '\\.')} has nothing to play`));
            }
            await page.setInputFiles('#recfile', {
                name: 'rec.cfg',
                mimeType: 'text/plain',
                buffer: Buffer.from(recording, 'latin1')
            });
            await island.waitForLine(page, /^rec\.cfg loaded/);
            await page.keyboard.press('KeyP');  // playback mode was on from the start
            await island.waitForLine(page, /^end playing$/);
            await page.keyboard.press('KeyP');
            await island.waitForLine(page, /^start playing$/);
            // Item i is due in the frame that sums the counts of items 1 to i,
            // counted from the frame after the one that switched playback on.
            const counts = recording.split('\n')[1].trim().split(' ').map((item) => parseInt(item));
            await island.waitForFrames(page, counts.reduce((sum, count) => sum + count) + 2);
            const moved = await island.grabFrame(page);
            const change = island.compareFrames(still, moved, 16).shareBeyond;
            assert.ok(
                change > 0.1,
                `the view has moved: ${(100 * change).toFixed(1)}% of pixels changed`);
            assert.deepEqual(page.errors, []);
            await island.closeIsland(page);
        });

    test('in a browser without WebGL 2 the program says it on the console and the notice says what to try',
        async () => {
            const context = await site.browser.newContext({viewport: {width: 400, height: 400}});
            await context.addInitScript(() => {
                const getContext = HTMLCanvasElement.prototype.getContext;
                HTMLCanvasElement.prototype.getContext = function(kind, ...options) {
                    return kind === 'webgl2' ? null : getContext.call(this, kind, ...options);
                };
            });
            const page = await context.newPage();
            const errors = [];
            page.on('pageerror', (error) => errors.push(error.message));
            await page.goto(`${site.server.url}index.html`);
            await page.waitForFunction(() => window.island.exitStatus !== null);
            assert.equal(await page.evaluate(() => window.island.exitStatus), 1);
            await island.waitForLine(page, /^Failed to initialize OpenGL window\.$/);
            assert.match(await page.textContent('#notice'), /^This browser gives the page no WebGL 2: /);
            assert.equal(await page.isDisabled('#start'), false, 'Start again is offered');
            assert.deepEqual(errors, []);
            await context.close();
        });
});
