// The shader workbench, on chromium's llvmpipe backend (the native capture's
// rasteriser): an edited set runs as the desktop program runs the same files,
// its link runs it in a new page, its errors are marked where they are, and
// bad input (a link, files, a lost context) leaves the page working.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {describe, test} from 'node:test';
import {fileURLToPath} from 'node:url';

import * as island from './harness.mjs';

const width = 400;
const height = 300;
const bounds = island.tolerance.llvmpipe;
const testSets = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../tests/e2e/shader_sets');

// The water's colour, one constant of the shipped base.frag, in every dialect alike.
const deepWater = 'vec3(0.015, 0.08, 0.13)';
const redWater = 'vec3(0.6, 0.05, 0.05)';
// The ambient share of the `runtime` test set's base.frag, and a brighter one.
const brightAmbient = ['0.3 + 0.7 * diffuse', '0.6 + 0.4 * diffuse'];

// island-capture's frame at 0 s of a set written in GLSL 3.30, on the
// desktop's 3.3 core context: `files` {name: text} over the shipped 330 set.
function nativeFrameOf(files) {
    return island.nativeCapture(0, width, height, (scratch) => {
        const shipped = path.join(island.nativeRunDir, 'Shaders');
        const shaders = path.join(scratch, 'Shaders');
        fs.unlinkSync(shaders);
        fs.mkdirSync(path.join(shaders, 'set'), {recursive: true});
        for (const entry of fs.readdirSync(shipped)) fs.symlinkSync(path.join(shipped, entry), path.join(shaders, entry));
        for (const name of ['base.vert', 'base.frag', 'minimal.vert', 'minimal.frag']) {
            const text = files[name] ?? fs.readFileSync(path.join(shipped, '330', name), 'utf8');
            fs.writeFileSync(path.join(shaders, 'set', name), text);
        }
        fs.writeFileSync(path.join(scratch, 'config.cfg'), 'glMajorVersion=3\nglMinorVersion=3\nshaderversion=set\n');
    });
}

function assertLike(frame, native, what) {
    assert.deepEqual([frame.width, frame.height], [native.width, native.height], what);
    const beyond2 = island.compareFrames(frame, native, 2).shareBeyond;
    const beyond16 = island.compareFrames(frame, native, 16).shareBeyond;
    assert.ok(
        beyond2 <= bounds.beyond2 && beyond16 <= bounds.beyond16,
        `${what}: ${(100 * beyond2).toFixed(3)}% of pixels > 2 levels, ${(100 * beyond16).toFixed(3)}% > 16`);
}

const workbench = (page, call, ...args) =>
    page.evaluate(([name, values]) => window.island.workbench[name](...values), [call, args]);

// Runs the editor's set (Run, or Ctrl+Enter with `keys`) and waits for the
// program started by it to draw, with the panel closed again, so that the
// canvas has its size.
async function runAndDraw(page, {keys = false} = {}) {
    const starts = await page.evaluate(() => window.island.starts);
    if (keys) {
        // P, typed and taken back, must not reach the program, which would leave playback.
        await page.focus('.cm-content');
        await page.keyboard.press('KeyP');
        await page.keyboard.press('Backspace');
        await page.keyboard.press('Control+Enter');
    } else {
        await page.click('#wb-run');
    }
    await page.waitForFunction((count) => window.island.starts === count, starts + 1);
    await page.click('#shaders');
    await island.waitForFrames(page, 2);
}

describe('the shader workbench', {timeout: 4 * island.patience, concurrency: true}, () => {
    const site = island.sharedChromium('llvmpipe');

    test(
        'a GLSL 3.30 set loaded from files, with one constant changed, runs as the desktop ' +
            'draws the same files, and a link made with "Copy link" draws it in a new page',
        async (t) => {
            // The `runtime` test set, with its ambient share changed: the
            // dialect writer, the edit and the link all stand between the
            // files and the frame.
            const loaded = Object.fromEntries(['base.vert', 'base.frag'].map(
                (name) => [name, fs.readFileSync(path.join(testSets, 'runtime/330', name), 'utf8')]));
            const edited = {...loaded, 'base.frag': loaded['base.frag'].replace(brightAmbient[0], brightAmbient[1])};
            assert.notEqual(edited['base.frag'], loaded['base.frag']);
            const native = nativeFrameOf(edited);

            const page = await island.openIsland(site.browser, site.server, {query: '?clock=0', width, height});
            await island.waitForFrames(page, 1);
            await page.click('#shaders');
            await page.setInputFiles('#wb-files', ['base.vert', 'base.frag'].map((name) => ({
                name, mimeType: 'text/plain', buffer: Buffer.from(loaded[name])})));
            await page.waitForFunction((text) => window.island.workbench.text('base.vert') === text, loaded['base.vert']);
            await workbench(page, 'setText', 'base.frag', edited['base.frag']);
            await runAndDraw(page, {keys: true});
            t.diagnostic(`Run to first frame: ${
                Math.round(await page.evaluate(() => window.island.firstFrameAt - window.island.runRequestedAt))} ms`);
            assert.deepEqual((await island.linesOf(page, 'stdout')).filter((line) => line === 'end playing'), []);
            assertLike(await island.grabFrame(page), await native, 'the edited set');

            await page.click('#shaders');
            await page.click('#wb-link');
            await page.waitForFunction(() => window.island.sharedLink);
            const link = await page.evaluate(() => window.island.sharedLink);
            t.diagnostic(`link: ${link.length} characters`);
            const linked = await island.openIsland(
                site.browser, site.server, {query: link.slice(link.indexOf('?')), width, height});
            await island.waitForFrames(linked, 2);
            assertLike(await island.grabFrame(linked), await native, 'the link\'s set');
            assert.deepEqual([...page.errors, ...linked.errors], []);
            await island.closeIsland(linked);
            await island.closeIsland(page);
        });

    test(
        'a corrupt link runs the shipped set with one line; bad files get one line each; a ' +
            'syntax error is marked at its line; Reset runs the shipped set; a lost context ' +
            'offers the shipped set, which then draws',
        async () => {
            const page = await island.openIsland(
                site.browser, site.server, {query: '?clock=0#shaders=Q1ZKSixO1UsrSkxXslJSLkstKs7Mz1MwNjBQSC2OySvLz0xRyE3MzNPQVKiu', width, height});
            await island.waitForFrames(page, 1);
            const pageLines = () => island.linesOf(page, 'page');
            assert.deepEqual((await pageLines()).filter((line) => /address/.test(line)), [
                'The shader set in the address is not used (it is cut short or damaged, not whole deflate ' +
                'data); the shipped set runs.']);

            // The link above is a set's, cut short. Then a 50 MB file, binary data, a name that is no shader's, with markup in it.
            const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'island-workbench-'));
            const files = ['base.frag', 'base.vert', '<b>notes.txt'].map((name) => path.join(scratch, name));
            fs.closeSync(fs.openSync(files[0], 'w'));
            fs.truncateSync(files[0], 50 * 1024 * 1024);
            fs.writeFileSync(files[1], Buffer.from([0x23, 0x76, 0x00, 0xff]));
            fs.writeFileSync(files[2], '<i>text</i>');
            await page.click('#shaders');
            const before = await workbench(page, 'texts');
            await page.setInputFiles('#wb-files', files);
            await page.waitForFunction(() => window.island.lines.filter((line) => /left out/.test(line.text)).length === 3);
            fs.rmSync(scratch, {recursive: true, force: true});
            assert.deepEqual((await pageLines()).filter((line) => /left out/.test(line)), [
                'base.frag: left out, 52428800 bytes, more than the 256 KB a shader file may have.',
                'base.vert: left out, binary data, not text.',
                '<b>notes.txt: left out, not a file of a shader set (base.vert, base.frag, minimal.vert, minimal.frag).',
            ]);
            assert.equal(await page.locator('#console b').count(), 0, 'markup shown as text');
            assert.deepEqual(await workbench(page, 'texts'), before);

            // A version the page does not take, on line 3 after a comment: marked
            // there, and nothing runs.
            const starts = await page.evaluate(() => window.island.starts);
            await workbench(page, 'setText', 'base.vert', '// mine\n\n#version 450\nvoid main() {}\n');
            await page.click('#wb-run');
            await island.waitForLine(page, /^base\.vert:3: the page takes GLSL 3\.30/);
            assert.deepEqual(
                (await workbench(page, 'marks')).map(({file, line}) => `${file}:${line}`), ['base.vert:3']);
            assert.equal(await page.evaluate(() => window.island.starts), starts);
            await workbench(page, 'setText', 'base.vert', before['base.vert']);

            // Line 20 of base.frag refuses to compile.
            const lines = before['base.frag'].split('\n');
            lines.splice(19, 0, 'this is no GLSL;');
            const broken = lines.join('\n');
            await workbench(page, 'setText', 'base.frag', broken);
            await page.click('#wb-run');
            await page.waitForFunction(() => window.island.exitStatus === 1);
            await page.waitForFunction(() => window.island.workbench.marks().length > 0);
            assert.deepEqual(
                (await workbench(page, 'marks')).map(({file, line}) => `${file}:${line}`).slice(0, 1), ['base.frag:20']);
            assert.equal(await workbench(page, 'shown'), 'base.frag');
            assert.equal(await workbench(page, 'text', 'base.frag'), broken);
            const said = await island.linesOf(page, 'stdout');
            assert.ok(said.includes('Shader compilation failed.'));
            assert.ok(said.some((line) => /^ERROR: 0:20:/m.test(line)), 'the driver\'s message for line 20');
            assert.ok(await page.isVisible('#run-shipped'));
            assert.match(await page.textContent('#set-state'), /base\.frag/);

            await page.click('#wb-reset');
            await page.waitForFunction(() => window.island.exitStatus === null && window.island.firstFrameAt > window.island.startedAt);
            assert.deepEqual(await workbench(page, 'texts'), before);
            assert.equal(await page.textContent('#set-state'), '');
            assert.equal(await page.evaluate(() => localStorage.getItem('island.shaderEdits')), null);

            // An edited set whose context is lost offers the shipped set.
            await workbench(page, 'setText', 'base.frag', before['base.frag'].replace(deepWater, redWater));
            await runAndDraw(page);
            const runsBeforeLoss = await page.evaluate(() => {
                document.getElementById('canvas').getContext('webgl2').getExtension('WEBGL_lose_context').loseContext();
                return window.island.starts;
            });
            await island.waitForLine(page, /^The WebGL context was lost/);
            assert.ok(await page.isVisible('#run-shipped'));
            await page.click('#run-shipped');
            await page.waitForFunction((count) => window.island.starts === count, runsBeforeLoss + 1);
            await island.waitForFrames(page, 1);
            assert.match(await workbench(page, 'text', 'base.frag'), /0\.6, 0\.05, 0\.05/, 'the edit is kept');
            assert.deepEqual(page.errors, []);
            await island.closeIsland(page);
        });
});
