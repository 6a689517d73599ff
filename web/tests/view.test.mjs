// What the page shows of the flight and of mouse look, on chromium's llvmpipe
// backend (the native capture's rasteriser, and the quicker one): a moment
// held with clock=SECONDS is island-capture's frame of that moment, and a
// cursor the page has not yet seen does not swing the view when it moves.
import assert from 'node:assert/strict';
import {describe, test} from 'node:test';

import * as island from './harness.mjs';

const width = 400;
const height = 300;

const bounds = island.tolerance.llvmpipe;

describe('the view', {timeout: 4 * island.patience, concurrency: true}, () => {
    const site = island.sharedChromium('llvmpipe');

    test('clock=S shows island-capture\'s frame at S, for S = 0, 8, 16 and 24', async () => {
        // The start, the climb, the way back down, and after the sideways leg:
        // a camera stepped once from 0 to the moment stands elsewhere (at 16 s
        // it sees only sky). The pages and the capture run side by side.
        const moments = [0, 8, 16, 24];
        const natives = island.nativeCaptures(moments, width, height);
        const frames = await Promise.all(moments.map(async (moment) => {
            const page = await island.openIsland(
                site.browser, site.server, {query: `?clock=${moment}`, width, height});
            await island.waitForFrames(page, 2);
            const frame = await island.grabFrame(page);
            assert.deepEqual(page.errors, [], `at ${moment} s`);
            await island.closeIsland(page);
            return frame;
        }));
        for (const [index, native] of (await natives).entries()) {
            const beyond2 = island.compareFrames(frames[index], native, 2).shareBeyond;
            const beyond16 = island.compareFrames(frames[index], native, 16).shareBeyond;
            assert.ok(
                beyond2 <= bounds.beyond2 && beyond16 <= bounds.beyond16,
                `at ${moments[index]} s: ${(100 * beyond2).toFixed(3)}% of pixels > 2 levels, ${
                    (100 * beyond16).toFixed(3)}% > 16`);
        }
    });

    test(
        'after P, the first move of a cursor that rested over the page turns the view by ' +
            'no more than a pixel\'s worth',
        async () => {
            // The cursor rests over the picture from before the program starts,
            // so the page has had no pointer event when P takes it as the
            // reference; the clock stands still, so only the mouse moves the view.
            const cursor = {x: 300, y: 200};
            const page = await island.openIsland(
                site.browser, site.server, {query: '?clock=0', width, height, cursor});
            await island.waitForFrames(page, 1);
            await page.keyboard.press('KeyP');
            await island.waitForLine(page, /^end playing$/);
            await island.waitForFrames(page, 1);
            const rested = await island.grabFrame(page);

            const changeAfter = async (x) => {
                await page.mouse.move(x, cursor.y);
                await island.waitForFrames(page, 2);
                const moved = await island.grabFrame(page);
                return island.compareFrames(rested, moved, 16).shareBeyond;
            };
            // Pixels more than 16 levels from the rested view, measured: 19% after
            // a turn of 0.3° (1 px), 35% after 1.5°, 49% after 6°, and 93% after
            // the swing (90° right, 60° down) of a cursor taken to rest at (0, 0).
            const firstMove = await changeAfter(cursor.x + 1);
            assert.ok(
                firstMove <= 0.3,
                `a 1 px move changed ${(100 * firstMove).toFixed(1)}% of the pixels`);
            // And the mouse still turns the view: 20 pixels on, 6°.
            const laterMove = await changeAfter(cursor.x + 21);
            assert.ok(
                laterMove >= 0.3,
                `a 20 px move changed only ${(100 * laterMove).toFixed(1)}% of the pixels`);
            assert.deepEqual(page.errors, []);
            await island.closeIsland(page);
        });
});
