// The page on both of chromium's WebGL backends: it starts with the context
// report, flies for ten seconds without a GL error or a page error, and a
// moment of the flight drawn with the clock held still is the native
// island-capture's picture of the same moment.
import assert from 'node:assert/strict';
import {after, before, describe, test} from 'node:test';

import * as island from './harness.mjs';

// Measured at 0, 1 and 3 s of the flight, 400 × 300, against the native
// capture (Mesa llvmpipe, the desktop's default GLSL 1.20 programs):
//   llvmpipe backend:    at most 32 levels apart; 0.017% of pixels > 2 levels, 0.003% > 16
//   SwiftShader backend: at most 152 levels (leaf edges, far water); 2.9% > 2, 0.032% > 16
// The same capture one frame later (the camera 0.3 units on) has 78% of its
// pixels more than 2 levels and 8% more than 16 levels apart, so these
// bounds pass every backend with a margin of ten or more and still fail a
// picture that is one frame off.
const tolerance = {
    llvmpipe: {beyond2: 0.002, beyond16: 0.005},
    swiftshader: {beyond2: 0.1, beyond16: 0.005},
};
const moment = 1;  // seconds of the flight; inside its first leg, where one step of any length
                   // lands on the same view
const width = 400;
const height = 300;

let server;
let native;
before(async () => {
    server = await island.serveSite();
    native = island.nativeCapture(moment, width, height);
});
after(() => server.close());

for (const backend of Object.keys(island.backends)) {
    describe(`${backend} backend`, {timeout: 2 * island.patience}, () => {
        let browser;
        before(async () => (browser = await island.launchChromium(backend)));
        after(() => browser.close());

        test(
            'ten seconds of the flight: the context report, no GL error line, no page error',
            async () => {
                const page = await island.openIsland(browser, server);
                await island.waitForLine(page, /^Illegal operation caused an error message\. :\)$/);
                assert.deepEqual((await island.linesOf(page, 'stdout')).slice(0, 4), [
                    'Loaded OpenGL Version 3.0',
                    'Context is NOT forward compatible.',
                    'Doing illegal operation (glEnable(GL_TEXTURE_2D)) now...',
                    'Illegal operation caused an error message. :)',
                ]);
                // The program's clock starts with it; the frames carry the page's stamps.
                await page.waitForFunction(() => island.lastFrameAt - island.startedAt >= 10_000);
                assert.deepEqual(await island.linesOf(page, 'stderr'), []);
                assert.deepEqual(page.errors, []);
                await island.closeIsland(page);
            });

        test(
            `the frame at ${moment} s with the clock held still is the native capture's`,
            async () => {
                const page = await island.openIsland(
                    browser, server, {query: `?clock=${moment}`, width, height});
                await island.waitForFrames(page, 2);
                const frame = await island.grabFrame(page);
                assert.deepEqual([frame.width, frame.height], [width, height]);
                const beyond2 = island.compareFrames(frame, native, 2).shareBeyond;
                const beyond16 = island.compareFrames(frame, native, 16).shareBeyond;
                const report = `${(100 * beyond2).toFixed(3)}% of pixels > 2 levels, ${
                    (100 * beyond16).toFixed(3)}% > 16`;
                assert.ok(
                    beyond2 <= tolerance[backend].beyond2 &&
                        beyond16 <= tolerance[backend].beyond16,
                    report);
                assert.deepEqual(page.errors, []);
                await island.closeIsland(page);
            });
    });
}
