// The page's figures against the native program's, measured in one run so
// that the ratios hold on a machine whose speed drifts (scripts/web.sh bench):
//
// - page open to first frame: navigation start to the end of the first frame
//   (each load in a fresh browser context, nothing cached), on both WebGL
//   backends, at 800 × 600 and at 1600 × 1000; the native program's launch to
//   its first swap;
// - the median frame of the flight from 3 s to 13 s after the first frame,
//   800 × 600, in the page on both backends and in the native program;
// - the bytes one load of the page downloads;
// - with ISLAND_BASELINE_SITE naming another build of the site (of an earlier
//   commit, say), its first frames and bytes too, taken in turn with this
//   one's, and this one's first frame against it;
// - with build-web/site-threads/ present (the page built with
//   -DISLAND_WEB_THREADS=ON, served cross-origin isolated), its first frame.
//
// Every case runs once per round (ROUNDS, default 3), in turn; with
// FIRST_FRAMES=only, the flights are left out, so that many rounds of first
// frames take minutes. A benchmark, not a test: it prints a table and judges
// nothing.
import {execFileSync, spawn} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

import * as island from '../tests/harness.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const rounds = Number(process.env.ROUNDS ?? 3);
const withFlights = process.env.FIRST_FRAMES !== 'only';
const width = 800;
const height = 600;
const large = {width: 1600, height: 1000};
const flight = {
    from: 3,
    to: 13
};

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted.length === 0 ? NaN : sorted[Math.floor(sorted.length / 2)];
}

// The median interval between frames shown from `from` to `to` seconds
// after the first (stamps in milliseconds), as render_frame_bench takes it.
function medianFrame(stamps, from, to) {
    const frames = [];
    for (let i = 1; i < stamps.length; ++i) {
        if (stamps[i - 1] - stamps[0] >= from * 1000 && stamps[i] - stamps[0] <= to * 1000) {
            frames.push(stamps[i] - stamps[i - 1]);
        }
    }
    return median(frames);
}

// One load of the page in a fresh context (nothing cached): navigation start
// to the end of its first frame, and the bytes the server sent for it.
async function firstFrame(browser, server, size = {width, height}) {
    server.resetCount();
    const page = await island.openIsland(browser, server, size);
    await island.waitForFrames(page, 1);
    const result = {
        firstFrame: await page.evaluate(() => window.island.firstFrameAt),
        bytes: server.bytesSent(),
    };
    await island.closeIsland(page);
    return result;
}

async function pageFlight(browser, server) {
    const page = await island.openIsland(browser, server, {width, height});
    await page.waitForFunction(
        (seconds) => window.island.lastFrameAt - window.island.firstFrameAt >= seconds * 1000,
        flight.to + 0.5);
    const stamps = await page.evaluate(() => window.island.frameStamps);
    await island.closeIsland(page);
    return medianFrame(stamps, flight.from, flight.to);
}

// An X server of its own for the native program, started before the clock.
async function startXvfb() {
    const server = spawn(
        'Xvfb', ['-displayfd', '1', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
        {stdio: ['ignore', 'pipe', 'ignore']});
    const display = await new Promise((resolve, reject) => {
        server.stdout.once('data', (data) => resolve(`:${data.toString().trim()}`));
        server.once('exit', () => reject(new Error('Xvfb did not start')));
    });
    return {display, stop: () => server.kill()};
}

// The native program in a scratch directory, its swaps stamped by
// bench/render/swap_stamp.c (preloaded), stopped 13.5 s after its first frame.
async function nativeFlight(scratch, stampLibrary, round) {
    const run = path.join(scratch, `native-${round}`);
    fs.mkdirSync(run);
    for (const data of ['Shaders', 'Models', 'Sprites', 'config.cfg']) {
        fs.symlinkSync(path.join(island.nativeRunDir, data), path.join(run, data));
    }
    const stampFile = path.join(run, 'swaps');
    fs.writeFileSync(stampFile, '');
    const monotonicSeconds = () => Number(process.hrtime.bigint()) / 1e9;  // the stamps' clock
    const xvfb = await startXvfb();
    const launched = monotonicSeconds();
    const child = spawn(path.join(island.nativeRunDir, 'island'), [], {
        cwd: run,
        stdio: 'ignore',
        env: {
            ...process.env,
            DISPLAY: xvfb.display,
            LD_PRELOAD: stampLibrary,
            ISLAND_SWAP_STAMPS: stampFile
        },
    });
    const readStamps = () =>
        fs.readFileSync(stampFile, 'utf8').split('\n').filter(Boolean).map(Number);
    for (;;) {
        await new Promise((resolve) => setTimeout(resolve, 100));
        const stamps = readStamps();
        if (stamps.length > 0 && stamps.at(-1) - stamps[0] >= flight.to + 0.5) break;
        if (monotonicSeconds() - launched > island.patience / 1000) {
            throw new Error('the native program shows no flight');
        }
    }
    child.kill();
    await new Promise((resolve) => child.once('exit', resolve));
    xvfb.stop();
    const stamps = readStamps();
    return {
        firstFrame: (stamps[0] - launched) * 1000,
        frame: medianFrame(stamps.map((seconds) => seconds * 1000), flight.from, flight.to),
    };
}

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'island-bench-'));
try {
    const stampLibrary = path.join(scratch, 'swap_stamp.so');
    execFileSync('cc', [
        '-shared', '-fPIC', '-O2', '-o', stampLibrary, path.join(root, 'bench/render/swap_stamp.c'),
        '-ldl'
    ]);
    const server = await island.serveSite();
    const baselineServer = process.env.ISLAND_BASELINE_SITE ?
        await island.serveSite(process.env.ISLAND_BASELINE_SITE) :
        null;
    const threadsSite = path.join(root, 'build-web/site-threads');
    const threadsServer = fs.existsSync(threadsSite) ?
        await island.serveSite(threadsSite, {crossOriginIsolated: true}) :
        null;

    // Rounds of every case in turn, so that a change of the machine's load
    // falls on all of them; each figure is the median over the rounds, and
    // each ratio the median of the rounds' ratios.
    const backends = Object.keys(island.backends);
    const browsers = {};
    for (const backend of backends) browsers[backend] = await island.launchChromium(backend);
    const samples = {native: {firstFrame: [], frame: []}, threaded: {}, baseline: {}};
    for (const backend of backends) {
        samples.baseline[backend] =
            {firstFrame: [], largeFirstFrame: [], bytes: [], ratio: [], largeRatio: []};
        samples[backend] = {firstFrame: [], largeFirstFrame: [], frame: [], ratio: [], bytes: []};
        samples.threaded[backend] = [];
    }
    for (let round = 0; round < rounds; ++round) {
        const native = withFlights ? await nativeFlight(scratch, stampLibrary, round) : null;
        if (native) {
            samples.native.firstFrame.push(native.firstFrame);
            samples.native.frame.push(native.frame);
        }
        for (const backend of backends) {
            const load = await firstFrame(browsers[backend], server);
            samples[backend].firstFrame.push(load.firstFrame);
            samples[backend].bytes.push(load.bytes);
            samples[backend].largeFirstFrame.push(
                (await firstFrame(browsers[backend], server, large)).firstFrame);
            if (baselineServer) {
                const baseline = samples.baseline[backend];
                const before = await firstFrame(browsers[backend], baselineServer);
                const largeBefore = await firstFrame(browsers[backend], baselineServer, large);
                baseline.firstFrame.push(before.firstFrame);
                baseline.largeFirstFrame.push(largeBefore.firstFrame);
                baseline.bytes.push(before.bytes);
                baseline.ratio.push(load.firstFrame / before.firstFrame);
                baseline.largeRatio.push(
                    samples[backend].largeFirstFrame.at(-1) / largeBefore.firstFrame);
            }
            if (threadsServer) {
                samples.threaded[backend].push(
                    (await firstFrame(browsers[backend], threadsServer)).firstFrame);
            }
            if (native) {
                const frame = await pageFlight(browsers[backend], server);
                samples[backend].frame.push(frame);
                samples[backend].ratio.push(frame / native.frame);
            }
        }
    }
    for (const backend of backends) await browsers[backend].close();

    const ms = (values) => (values.length > 0 ? `${median(values).toFixed(0)} ms` : "—");
    const frameMs = (values) => `${median(values).toFixed(1)} ms`;
    const ratio = (values) => `${median(values).toFixed(2)}×`;
    console.log(
        `\n${os.cpus().length} cores, load ${os.loadavg()[0].toFixed(1)} at the end; ` +
        `${width}×${height}; medians of ${rounds} rounds\n`);
    console.log(
        '| | native (Xvfb, llvmpipe) | page, llvmpipe backend | page, SwiftShader backend |');
    console.log('|---|---|---|---|');
    console.log(
        `| first frame: from launch (native), from opening the page | ` +
        `${ms(samples.native.firstFrame)} | ${ms(samples.llvmpipe.firstFrame)} | ` +
        `${ms(samples.swiftshader.firstFrame)} |`);
    console.log(
        `| the page's first frame at ${large.width}×${large.height} | | ` +
        `${ms(samples.llvmpipe.largeFirstFrame)} | ${ms(samples.swiftshader.largeFirstFrame)} |`);
    if (baselineServer) {
        const baseline = samples.baseline;
        console.log(
            `| the baseline site's first frame, ${width}×${height} | | ` +
            `${ms(baseline.llvmpipe.firstFrame)} | ${ms(baseline.swiftshader.firstFrame)} |`);
        console.log(
            `| the baseline site's first frame, ${large.width}×${large.height} | | ` +
            `${ms(baseline.llvmpipe.largeFirstFrame)} | ` +
            `${ms(baseline.swiftshader.largeFirstFrame)} |`);
        console.log(
            `| first frame, this site / the baseline, ${width}×${height} | | ` +
            `${ratio(baseline.llvmpipe.ratio)} | ${ratio(baseline.swiftshader.ratio)} |`);
        console.log(
            `| first frame, this site / the baseline, ${large.width}×${large.height} | | ` +
            `${ratio(baseline.llvmpipe.largeRatio)} | ${ratio(baseline.swiftshader.largeRatio)} |`);
    }
    if (threadsServer) {
        console.log(
            `| the same, assets read on 2 worker threads (cross-origin isolated) | | ` +
            `${ms(samples.threaded.llvmpipe)} | ${ms(samples.threaded.swiftshader)} |`);
    }
    if (withFlights) {
        console.log(
            `| median frame, flight 3–13 s | ${frameMs(samples.native.frame)} | ` +
            `${frameMs(samples.llvmpipe.frame)} | ${frameMs(samples.swiftshader.frame)} |`);
        console.log(
            `| the same, page / native | | ${ratio(samples.llvmpipe.ratio)} | ` +
            `${ratio(samples.swiftshader.ratio)} |`);
    }
    console.log(
        `| bytes downloaded by one load | | ${median(samples.llvmpipe.bytes)} | ` +
        `${median(samples.swiftshader.bytes)} |`);
    if (baselineServer) {
        console.log(
            `| bytes downloaded by one load of the baseline site | | ` +
            `${median(samples.baseline.llvmpipe.bytes)} | ` +
            `${median(samples.baseline.swiftshader.bytes)} |`);
    }
    await server.close();
    if (threadsServer) await threadsServer.close();
    if (baselineServer) await baselineServer.close();
} finally {
    fs.rmSync(scratch, {recursive: true, force: true});
}
