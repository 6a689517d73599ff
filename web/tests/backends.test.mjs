// The page on both of chromium's WebGL backends: it starts with the context
// report, flies for ten seconds without a GL error or a page error, and a
// moment of the flight drawn with the clock held still is the native
// island-capture's picture of the same moment.
import assert from 'node:assert/strict';
import {after, before, describe, test} from 'node:test';

import * as island from './harness.mjs';

// Measured against the native capture (Mesa llvmpipe, the desktop's default
// GLSL 1.20 programs) at 0, 1 and 3 s of the flight, 400 × 300, and at 1 s
// with the page opened at 320 × 240 and then made 400 × 300:
//   llvmpipe backend:    at most 38 levels apart; up to 0.06% of pixels > 2 levels, 0.02% > 16
//   SwiftShader backend: at most 152 levels (leaf edges, far water); up to 2.9% > 2, 0.04% > 16
// The same capture one frame later (the camera 0.3 units on) has 78% of its
// pixels more than 2 levels and 8% more than 16 levels apart: these bounds
// pass both backends with a margin of three (SwiftShader's small differences)
// to twelve or more, and fail a picture that is one frame off, or drawn for
// the canvas's old size.
const tolerance = {
    llvmpipe: {beyond2: 0.01, beyond16: 0.005},
    swiftshader: {beyond2: 0.1, beyond16: 0.005},
};
// Seconds of the flight: within its first leg, where the page's one script
// step from 0 lands where the capture's steps of 1/60 s do.
const moment = 1;
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
            'ten seconds of the flight, wireframe on and off twice: the context report, no GL ' +
                'error line, no page error',
            async () => {
                const page = await island.openIsland(browser, server);
                await island.waitForLine(page, /^Illegal operation caused an error message\. :\)$/);
                assert.deepEqual((await island.linesOf(page, 'stdout')).slice(0, 4), [
                    'Loaded OpenGL Version 3.0',
                    'Context is NOT forward compatible.',
                    'Doing illegal operation (glEnable(GL_TEXTURE_2D)) now...',
                    'Illegal operation caused an error message. :)',
                ]);
                // M: filled, wireframe, filled, wireframe. The shadow pass then
                // draws with the line polygon offset, where the context has it.
                for (let press = 0; press < 4; ++press) {
                    await page.keyboard.press('KeyM');
                    await island.waitForFrames(page, 2);
                }
                // The program's clock starts with it; the frames carry the page's stamps.
                await page.waitForFunction(
                    () => window.island.lastFrameAt - window.island.startedAt >= 10_000);
                assert.deepEqual(await island.linesOf(page, 'stderr'), []);
                const lineMode = await page.evaluate(
                    () => document.createElement('canvas').getContext('webgl2').getExtension(
                              'WEBGL_polygon_mode') !== null);
                const saidNoWireframe =
                    (await island.linesOf(page, 'stdout'))
                        .filter((line) => line.startsWith('Wireframe is not available'));
                assert.equal(
                    saidNoWireframe.length, lineMode ? 0 : 1, 'said once where it is missing');
                assert.deepEqual(page.errors, []);
                await island.closeIsland(page);
            });

        test(
            `the frame at ${moment} s with the clock held still is the native capture's, ` +
                'after the page has grown',
            async () => {
                // Opened smaller: the canvas, and the picture, follow the page.
                const page = await island.openIsland(
                    browser, server, {query: `?clock=${moment}`, width: 320, height: 240});
                await island.waitForFrames(page, 1);
                await island.setCanvasSize(page, width, height);
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
