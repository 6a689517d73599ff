// What the browser tests and the benchmark share: build-web/site/ served by a
// plain static server (no headers beyond the content type), Debian's chromium
// on either of its WebGL backends and Debian's firefox-esr, pages opened at an
// exact canvas size, waits for what the page shows (console lines, frames,
// titles), frames read back, and the native island-capture of the same moments.
import {execFile, execFileSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import {after, before} from 'node:test';
import {fileURLToPath} from 'node:url';
import {promisify} from 'node:util';
import {chromium} from 'playwright-core';
import puppeteer from 'puppeteer-core';

const execFileAsync = promisify(execFile);

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const siteDir = path.resolve(process.env.ISLAND_SITE ?? path.join(root, 'build-web/site'));
export const nativeRunDir =
    path.resolve(process.env.ISLAND_NATIVE_RUN ?? path.join(root, 'build-web/native/run'));

// Chromium's two WebGL 2 backends on a machine without a GPU: ANGLE on
// SwiftShader (its default) and ANGLE on Mesa's llvmpipe through EGL, the
// rasteriser the native program uses under Xvfb.
export const backends = {
    swiftshader: [],
    llvmpipe: ['--use-angle=gl-egl', '--ignore-gpu-blocklist'],
};

// Generous: a busy two-core machine renders a frame in a second or more.
export const patience = 180_000;

export async function launchChromium(backend) {
    return chromium.launch({
        executablePath: process.env.CHROMIUM ??
            execFileSync('sh', ['-c', 'command -v chromium']).toString().trim(),
        args: backends[backend],
    });
}

// Debian's firefox-esr, driven through WebDriver BiDi. Headful, on the X
// display the tests run under: headless, it gives the page no WebGL here.
const firefoxes = new WeakSet();
export async function launchFirefox() {
    const browser = await puppeteer.launch({
        browser: 'firefox',
        executablePath: process.env.FIREFOX ??
            execFileSync('sh', ['-c', 'command -v firefox-esr']).toString().trim(),
        headless: false,
        protocolTimeout: patience,
    });
    firefoxes.add(browser);
    return browser;
}

// A puppeteer page seen through the few calls of playwright's Page that the
// harness and the tests make, so that one test drives either browser.
class FirefoxPage {
    constructor(page, context) {
        this.page = page;
        this.browserContext = context;
        this.keyboard = page.keyboard;
        this.errors = [];
    }
    evaluate(pageFunction, argument) {
        return this.page.evaluate(pageFunction, argument);
    }
    waitForFunction(pageFunction, argument) {
        return this.page.waitForFunction(pageFunction, {timeout: patience}, argument);
    }
    viewportSize() {
        return this.page.viewport();
    }
    setViewportSize({width, height}) {
        return this.page.setViewport({width, height, deviceScaleFactor: 1});
    }
    context() {
        return this.browserContext;
    }
}

async function openIslandInFirefox(browser, server, {query, width, height, cursor}) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    page.setDefaultTimeout(patience);
    await page.bringToFront();  // a tab in the background gets no animation frames
    const firefoxPage = new FirefoxPage(page, context);
    await firefoxPage.setViewportSize({width, height: height + 300});
    await page.setRequestInterception(true);
    const holdBack = (request) => {
        if (/\.(js|wasm|data)$/.test(new URL(request.url()).pathname)) {
            request.abort();
        } else {
            request.continue();
        }
    };
    page.on('request', holdBack);
    await page.goto(`${server.url}index.html`);
    await setCanvasSize(firefoxPage, width, height);
    if (cursor) await page.mouse.move(cursor.x, cursor.y);
    page.off('request', holdBack);
    await page.setRequestInterception(false);
    page.on('pageerror', (error) => firefoxPage.errors.push(error.message));
    await page.goto(`${server.url}index.html${query}`);
    return firefoxPage;
}

const contentTypes = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript',
    '.wasm': 'application/wasm',
};

// The site served and one chromium on `backend`, for the tests of the file or
// suite that calls this: its hooks start both before the first test and close
// them after the last.
export function sharedChromium(backend) {
    const shared = {server: null, browser: null};
    before(async () => {
        shared.server = await serveSite();
        shared.browser = await launchChromium(backend);
    });
    after(async () => {
        await shared.browser.close();
        await shared.server.close();
    });
    return shared;
}

// Serves `directory` on 127.0.0.1 at a free port and counts the bytes it
// sends. With crossOriginIsolated, it adds the two headers that allow worker
// threads with shared memory (the benchmark's threaded build needs them).
export async function serveSite(directory = siteDir, {crossOriginIsolated = false} = {}) {
    directory = path.resolve(directory);
    let bytesSent = 0;
    const server = http.createServer((request, response) => {
        const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
        const file = path.join(directory, name.endsWith('/') ? `${name}index.html` : name);
        if (!file.startsWith(directory + path.sep) ||
            !fs.statSync(file, {throwIfNoEntry: false})?.isFile()) {
            response.writeHead(404).end();
            return;
        }
        const body = fs.readFileSync(file);
        bytesSent += body.length;
        const headers = {
            'Content-Type': contentTypes[path.extname(file)] ?? 'application/octet-stream',
            'Content-Length': body.length,
        };
        if (crossOriginIsolated) {
            headers['Cross-Origin-Opener-Policy'] = 'same-origin';
            headers['Cross-Origin-Embedder-Policy'] = 'require-corp';
        }
        response.writeHead(200, headers);
        response.end(body);
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    return {
        url: `http://127.0.0.1:${server.address().port}/`,
        bytesSent: () => bytesSent,
        resetCount: () => (bytesSent = 0),
        close: () => new Promise((resolve) => server.close(resolve)),
    };
}

// Opens the page with a canvas of exactly width × height pixels from the
// program's first frame on. The rest of the page (its bar and console) is
// measured first, and the window made that much taller. Page errors are
// collected in page.errors. With `cursor` ({x, y} in the window), the mouse
// is moved there while the page is measured, so that it rests over the page
// the program then starts in.
export async function openIsland(
    browser, server, {query = '', width = 800, height = 600, cursor = null} = {}) {
    if (firefoxes.has(browser)) {
        return openIslandInFirefox(browser, server, {query, width, height, cursor});
    }
    const context = await browser.newContext({
        viewport: {width, height: height + 300},
        deviceScaleFactor: 1,
        acceptDownloads: true,
    });
    const page = await context.newPage();
    page.setDefaultTimeout(patience);
    // The layout needs the page alone: its scripts, which would start the
    // program and fetch its data, are held back while it is measured.
    const holdBack = (route) => route.abort();
    await page.route(/\.(js|wasm|data)$/, holdBack);
    await page.goto(`${server.url}index.html`);
    await setCanvasSize(page, width, height);
    if (cursor) await page.mouse.move(cursor.x, cursor.y);
    await page.unroute(/\.(js|wasm|data)$/, holdBack);
    page.errors = [];
    page.on('pageerror', (error) => page.errors.push(error.message));
    await page.goto(`${server.url}index.html${query}`);
    return page;
}

// Makes the page's window as large as a canvas of width × height needs: the
// bar and the console below the canvas take their height at that width.
export async function setCanvasSize(page, width, height) {
    await page.setViewportSize({width, height: page.viewportSize().height});
    const rest =
        await page.evaluate(() => innerHeight - document.getElementById('canvas').clientHeight);
    await page.setViewportSize({width, height: height + rest});
}

export async function closeIsland(page) {
    await page.context().close();
}

export async function waitForLine(page, pattern) {
    await page.waitForFunction(
        (source) => window.island.lines.some((line) => new RegExp(source).test(line.text)),
        pattern.source);
}

// Waits until `count` more frames have been shown than when it was called.
export async function waitForFrames(page, count) {
    const now = await page.evaluate(() => window.island.frames);
    await page.waitForFunction((target) => window.island.frames >= target, now + count);
}

// The program's window title; the document's title is "island — " and that.
export async function waitForTitle(page, title) {
    await page.waitForFunction((expected) => document.title === expected, `island — ${title}`);
}

export function linesOf(page, stream) {
    return page.evaluate(
        (wanted) =>
            window.island.lines.filter((line) => line.stream === wanted).map((line) => line.text),
        stream);
}

// The next frame as {width, height, pixels}: RGBA rows, top row first.
export async function grabFrame(page) {
    const frame = await page.evaluate(async () => {
        const {width, height, pixels} = await window.island.nextFrame();
        let text = '';
        for (let i = 0; i < pixels.length; i += 0x8000)
            text += String.fromCharCode(...pixels.subarray(i, i + 0x8000));
        return {width, height, data: btoa(text)};
    });
    const bottomUp = Buffer.from(frame.data, 'base64');
    const rowBytes = frame.width * 4;
    const pixels = Buffer.alloc(bottomUp.length);
    for (let row = 0; row < frame.height; ++row) {
        bottomUp.copy(
            pixels, row * rowBytes, (frame.height - 1 - row) * rowBytes,
            (frame.height - row) * rowBytes);
    }
    return {width: frame.width, height: frame.height, pixels};
}

// The native island-capture's frame at `seconds` of the flight, width ×
// height, with the desktop's default configuration, on Xvfb and Mesa.
export async function nativeCapture(seconds, width, height, prepare = null) {
    return (await nativeCaptures([seconds], width, height, prepare))[0];
}

// The same for several moments in one run: the frames in the order of
// `moments`. It runs beside the tests' browsers, which it does not wait for.
// prepare(scratch), where given, changes the run directory first (its
// config.cfg, a shader set of its own).
export async function nativeCaptures(moments, width, height, prepare = null) {
    const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'island-capture-'));
    try {
        for (const data of ['Shaders', 'Models', 'Sprites'])
            fs.symlinkSync(path.join(nativeRunDir, data), path.join(scratch, data));
        prepare?.(scratch);
        await execFileAsync(
            'xvfb-run',
            [
                '-a', '-s', '-screen 0 1280x1024x24', path.join(nativeRunDir, 'island-capture'),
                '--at', moments.join(','), '--size', `${width}x${height}`, '--out', scratch,
                '--prefix', 'native'
            ],
            {cwd: scratch, timeout: patience});
        return moments.map((seconds) => {
            const pixels = execFileSync(
                'convert', [path.join(scratch, `native-${seconds}s.png`), '-depth', '8', 'rgba:-'],
                {maxBuffer: width * height * 4 + 1024});
            return {width, height, pixels};
        });
    } finally {
        fs.rmSync(scratch, {recursive: true, force: true});
    }
}

// How far a frame of the page may be from the native capture of the same
// moment. Measured against it (Mesa llvmpipe, the desktop's default
// GLSL 1.20 programs) at 0, 1 and 3 s of the flight, 400 × 300, and at 1 s
// with the page opened at 320 × 240 and then made 400 × 300:
//   llvmpipe backend:    at most 38 levels apart; up to 0.06% of pixels > 2 levels, 0.02% > 16
//   SwiftShader backend: at most 152 levels (leaf edges, far water); up to 2.9% > 2, 0.04% > 16
//   firefox-esr (its WebGL on Mesa llvmpipe): at most 21 levels; up to 0.03% > 2, 0.004% > 16
// and, opened at 400 × 300 with the clock held at 0, 8, 16 and 24 s, on the
// llvmpipe backend and in firefox-esr alike: at most 46 levels; up to 0.13% > 2, 0.003% > 16.
// The same capture one frame later (the camera 0.3 units on) has 78% of its
// pixels more than 2 levels and 8% more than 16 levels apart: these bounds
// pass each browser with a margin of three (SwiftShader's small differences)
// to twelve or more, and fail a picture that is one frame off, or drawn for
// the canvas's old size.
export const tolerance = {
    llvmpipe: {beyond2: 0.01, beyond16: 0.005},
    swiftshader: {beyond2: 0.1, beyond16: 0.005},
    firefox: {beyond2: 0.01, beyond16: 0.005},
};
// How two frames of one size differ: the largest difference of a colour
// channel, and the share of pixels with a channel more than `levels` apart.
export function compareFrames(a, b, levels) {
    let largest = 0;
    let beyond = 0;
    for (let i = 0; i < a.pixels.length; i += 4) {
        const difference = Math.max(
            Math.abs(a.pixels[i] - b.pixels[i]), Math.abs(a.pixels[i + 1] - b.pixels[i + 1]),
            Math.abs(a.pixels[i + 2] - b.pixels[i + 2]));
        largest = Math.max(largest, difference);
        if (difference > levels) beyond += 1;
    }
    return {largest, shareBeyond: beyond / (a.pixels.length / 4)};
}
