// The page on both of chromium's WebGL backends and in firefox-esr: it starts
// with the context report, flies for ten seconds without a GL error or a page
// error, and a moment of the flight drawn with the clock held still is the
// native island-capture's picture of the same moment.
import assert from 'node:assert/strict';
import {after, before, describe, test} from 'node:test';

import * as island from './harness.mjs';

const browsers = {
    swiftshader: () => island.launchChromium('swiftshader'),
    llvmpipe: () => island.launchChromium('llvmpipe'),
    firefox: () => island.launchFirefox(),
};
const moment = 1;  // seconds of the flight
const width = 400;
const height = 300;

let server;
let native;
before(async () => {
    server = await island.serveSite();
    native = await island.nativeCapture(moment, width, height);
});
after(() => server.close());

// The browsers run side by side: ten seconds of the flight take ten seconds
// however busy the machine is, and every wait is for what the page shows.
describe('each browser', {concurrency: true}, () => {
    for (const [backend, launch] of Object.entries(browsers)) {
        const name = backend === 'firefox' ? 'firefox-esr' : `chromium, ${backend} backend`;
        describe(name, {timeout: 2 * island.patience}, () => {
            let browser;
            before(async () => (browser = await launch()));
            after(() => browser.close());

            test(
                'ten seconds of the flight, wireframe on and off twice: the context report, no GL ' +
                    'error line, no page error',
                async () => {
                    const page = await island.openIsland(browser, server);
                    await island.waitForLine(
                        page, /^Illegal operation caused an error message\. :\)$/);
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
                        beyond2 <= island.tolerance[backend].beyond2 &&
                            beyond16 <= island.tolerance[backend].beyond16,
                        report);
                    assert.deepEqual(page.errors, []);
                    await island.closeIsland(page);
                });
        });
    }
});
