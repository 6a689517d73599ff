// The page's own parts, on the default backend: the window title in the
// document's title, keys as on the desktop, rec.cfg out to a download and in
// from disk, and the end of the loop.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import {after, before, describe, test} from 'node:test';

import * as island from './harness.mjs';

describe('the page', {timeout: 4 * island.patience}, () => {
    let server;
    let browser;
    before(async () => {
        server = await island.serveSite();
        browser = await island.launchChromium('swiftshader');
    });
    after(async () => {
        await browser.close();
        await server.close();
    });

    test('draws the island, answers P, V and C in its title, and Esc ends the loop', async () => {
        const page = await island.openIsland(browser, server, {width: 400, height: 300});
        await island.waitForFrames(page, 1);
        const frame = await island.grabFrame(page);
        let lit = 0;
        for (let i = 0; i < frame.pixels.length; i += 4)
            if (frame.pixels[i] + frame.pixels[i + 1] + frame.pixels[i + 2] > 60) lit += 1;
        assert.ok(lit > frame.pixels.length / 8, 'most of the canvas is drawn');
        assert.equal(await page.title(), 'GLFW Window');

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

        await page.keyboard.press('Escape');
        await page.waitForFunction(() => window.island.exitStatus !== null);
        assert.equal(await page.evaluate(() => window.island.exitStatus), 0);
        assert.deepEqual(page.errors, []);
        await island.closeIsland(page);
    });

    test(
        'a recording made with R, mouse look included, downloads as rec.cfg, and playing it back from ' +
            'disk moves the view',
        async () => {
            // The clock stands still, so nothing but the camera changes the picture.
            const page = await island.openIsland(
                browser, server, {query: '?clock=0', width: 320, height: 240});
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
});
