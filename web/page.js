// The page around the island program (island.js, built by emscripten). The
// program runs as on the desktop; the page stands in for what the desktop's
// window system and terminal give it: config.cfg with the address's keys, a
// canvas that follows the page, the console, full screen, pointer lock, and
// rec.cfg to and from the user's disk.
//
// The address's query sets config.cfg keys (index.html?showfps=true), after
// the page's defaults. One key is the page's own: clock=SECONDS stands the
// program's clock still at that moment of the flight (for pictures and tests).
//
// window.island is for tests and benchmarks: the console lines, the frames
// shown, the moment of the first one, the loop's end, and frame read-back.
'use strict';

(function() {
const canvas = document.getElementById('canvas');
const stage = document.getElementById('stage');
const consoleBox = document.getElementById('console');
const notice = document.getElementById('notice');
const downloadButton = document.getElementById('download');
const loadButton = document.getElementById('load');
const recFile = document.getElementById('recfile');
const fullscreenButton = document.getElementById('fullscreen');
const query = new URLSearchParams(location.search);
const pageKeys = new Set(['clock']);
const consoleLimit = 1000;
const stampLimit = 100000;

const island = (window.island = {
    lines: [],           // {stream: 'stdout' | 'stderr' | 'page', text, at: performance.now()}
    frames: 0,           // frames drawn and shown
    startedAt: null,     // performance.now() when the program started, where its clock starts
    firstFrameAt: null,  // performance.now() after the first frame
    lastFrameAt: null,   // performance.now() after the latest frame
    frameStamps: [],     // performance.now() after each of the first frames
    exitStatus: null,    // the program's exit status once its loop has ended
    // The next frame's pixels, read back before the browser shows it: RGBA,
    // bottom row first, as glReadPixels gives them.
    nextFrame() {
        return new Promise((resolve) => frameRequests.push(resolve));
    },
});
const frameRequests = [];

function say(stream, text) {
    island.lines.push({stream, text, at: performance.now()});
    const line = document.createElement('div');
    line.className = stream;
    line.textContent = text;
    consoleBox.appendChild(line);
    while (consoleBox.childElementCount > consoleLimit) consoleBox.firstElementChild.remove();
    consoleBox.scrollTop = consoleBox.scrollHeight;
}
function sayFromPage(text) {
    console.info(text);
    say('page', text);
}

// The canvas's drawing buffer follows its box on the page, in device
// pixels, as a resized window's framebuffer follows the window.
function boxSize() {
    const scale = window.devicePixelRatio || 1;
    return [
        Math.max(1, Math.round(canvas.clientWidth * scale)),
        Math.max(1, Math.round(canvas.clientHeight * scale)),
    ];
}
function fitCanvas() {
    const [width, height] = boxSize();
    if (canvas.width !== width) canvas.width = width;
    if (canvas.height !== height) canvas.height = height;
}
new ResizeObserver(fitCanvas).observe(canvas);
fitCanvas();

// config.cfg: the page's defaults (packed with the data), then the keys of
// the address, then the window size, which is the canvas's.
function writeConfig() {
    let text = Module.FS.readFile('/config.cfg', {encoding: 'utf8'});
    if (!text.endsWith('\n')) text += '\n';
    for (const [key, value] of query) {
        if (!pageKeys.has(key)) text += `${key}=${value}\n`;
    }
    const [width, height] = boxSize();
    text += `window_width=${width}\nwindow_height=${height}\n`;
    Module.FS.writeFile('/config.cfg', text);
}

// rec.cfg lives in the program's memory file system: it is offered for
// download once a recording has ended, and a file from disk replaces it.
let recordingEnded = false;
function offerRecording() {
    recordingEnded = false;
    let bytes;
    try {
        bytes = Module.FS.readFile('/rec.cfg');
    } catch (error) {
        return;
    }
    const url = URL.createObjectURL(new Blob([bytes], {type: 'text/plain'}));
    if (downloadButton.dataset.url) URL.revokeObjectURL(downloadButton.dataset.url);
    downloadButton.dataset.url = url;
    downloadButton.disabled = false;
}
downloadButton.addEventListener('click', () => {
    const link = document.createElement('a');
    link.href = downloadButton.dataset.url;
    link.download = 'rec.cfg';
    link.click();
    downloadButton.blur();
});
loadButton.addEventListener('click', () => {
    recFile.click();
    loadButton.blur();
});
recFile.addEventListener('change', async () => {
    const file = recFile.files[0];
    if (!file || !Module.FS) return;
    Module.FS.writeFile('/rec.cfg', new Uint8Array(await file.arrayBuffer()));
    recFile.value = '';
    sayFromPage(
        `rec.cfg loaded from ${file.name} (${file.size} bytes): P starts playing it ` +
        '(press P twice while the demonstration still runs).');
});

// Full screen takes the picture, whose canvas then follows the screen.
// A page may ask for it only from a click: config.cfg's fullscreen=true
// makes the first click on the picture ask.
let fullScreenOnClick = false;
function enterFullScreen() {
    if (document.fullscreenElement) return;
    stage.requestFullscreen().catch(
        (error) => sayFromPage(`Full screen refused: ${error.message}`));
}
fullscreenButton.addEventListener('click', () => {
    enterFullScreen();
    fullscreenButton.blur();
});

// A click on the picture locks the pointer for mouse look: the cursor then
// moves without end, as on a desktop where it never meets the window's edge.
function lockPointer() {
    if (document.pointerLockElement === canvas || island.exitStatus !== null) return;
    Promise.resolve(canvas.requestPointerLock())
        .catch((error) => sayFromPage(`The mouse stays free: ${error.message}`));
}
canvas.addEventListener('click', () => {
    if (fullScreenOnClick) {
        // Entering full screen uses up the click; the next one locks the pointer.
        fullScreenOnClick = false;
        enterFullScreen();
    } else {
        lockPointer();
    }
});

// While the picture holds the pointer, Esc lets it go (the browser's rule)
// and does not reach the program, where it would end the loop.
window.addEventListener(
    'keydown',
    (event) => {
        if (event.key === 'Escape' && document.pointerLockElement === canvas) {
            event.stopImmediatePropagation();
        }
    },
    true,
);

// The program and its data are fetched at once, in parallel, before
// island.js has even loaded: the compiled module goes to the runtime through
// its instantiateWasm hook, the data into its file system before main().
const wasmCompiled =
    WebAssembly.compileStreaming(fetch('island.wasm'))
        .catch(
            () => fetch('island.wasm')  // a server that does not say application/wasm
                      .then((response) => response.arrayBuffer())
                      .then((bytes) => WebAssembly.compile(bytes)));
const dataArrived = fetchData('island.data');

// island.data is a tar, gzip-compressed; a server may have undone the
// compression already (Content-Encoding), so the gzip magic number decides.
async function fetchData(url) {
    const response = await fetch(url);
    if (!response.ok) throw new Error(`${url}: ${response.status} ${response.statusText}`);
    const total = Number(response.headers.get('Content-Length')) || 0;
    const reader = response.body.getReader();
    let received = 0;
    const read = async () => {
        const chunk = await reader.read();
        if (!chunk.done) {
            received += chunk.value.length;
            if (total > 0) {
                Module.setStatus(`Loading the island… ${Math.round(100 * received / total)}%`);
            }
        }
        return chunk;
    };
    const first = await read();
    const stream = new ReadableStream({
        start(controller) {
            if (!first.done) controller.enqueue(first.value);
        },
        async pull(controller) {
            const chunk = await read();
            if (chunk.done) {
                controller.close();
            } else {
                controller.enqueue(chunk.value);
            }
        },
    });
    const gzip = !first.done && first.value[0] === 0x1f && first.value[1] === 0x8b;
    const tar = gzip ? stream.pipeThrough(new DecompressionStream('gzip')) : stream;
    return new Uint8Array(await new Response(tar).arrayBuffer());
}

// Regular files and directories of a POSIX tar (ustar, with the pax
// extended headers that name long paths); the files keep their bytes in
// `tar` without a copy.
function unpackTar(FS, tar) {
    const decoder = new TextDecoder();
    const text = (at, length) =>
        decoder.decode(tar.subarray(at, at + length)).replace(/\0.*$/s, '');
    let longName = null;
    for (let at = 0; at + 512 <= tar.length;) {
        const name = text(at, 100);
        if (name === '') break;  // the zero blocks at the end
        const size = parseInt(text(at + 124, 12).trim() || '0', 8);
        const type = String.fromCharCode(tar[at + 156]);
        const prefix = text(at + 257, 6).startsWith('ustar') ? text(at + 345, 155) : '';
        const body = tar.subarray(at + 512, at + 512 + size);
        const path = '/' + (longName ?? (prefix ? `${prefix}/${name}` : name)).replace(/\/$/, '');
        longName = null;
        if (type === 'x') {
            const record = decoder.decode(body).match(/^\d+ path=(.*)$/m);
            if (record) longName = record[1];
        } else if (type === '5') {
            FS.mkdirTree(path);
        } else if (type === '0' || type === '\0') {
            const slash = path.lastIndexOf('/');
            if (slash > 0) FS.mkdirTree(path.slice(0, slash));
            FS.createDataFile(
                path.slice(0, slash) || '/', path.slice(slash + 1), body, true, true, true);
        }
        at += 512 + Math.ceil(size / 512) * 512;
    }
}

const fixedClock = query.has('clock') ? Number(query.get('clock')) : undefined;

window.Module = {
    canvas,
    fixedClock: Number.isFinite(fixedClock) && fixedClock >= 0 ? fixedClock : undefined,
    print(text) {
        console.log(text);
        say('stdout', text);
        // The end line is written after this message, by the end of the frame.
        if (text === 'end recording') recordingEnded = true;
    },
    printErr(text) {
        console.warn(text);
        say('stderr', text);
    },
    setStatus(text) {
        if (island.frames === 0 && island.exitStatus === null)
            notice.textContent = text || 'Starting…';
    },
    instantiateWasm(imports, receiveInstance) {
        // The module goes along for worker threads, where a build has them.
        wasmCompiled
            .then(
                (module) => WebAssembly.instantiate(module, imports)
                                .then((instance) => receiveInstance(instance, module)))
            .catch((error) => fail(`island.wasm: ${error.message}`));
        return {};
    },
    preRun: [() => {
        Module.addRunDependency('island.data');
        dataArrived
            .then((tar) => {
                unpackTar(Module.FS, tar);
                Module.removeRunDependency('island.data');
            })
            .catch((error) => fail(`island.data: ${error.message}`));
    }],
    onRuntimeInitialized() {
        writeConfig();
        island.startedAt = performance.now();
    },
    offerFullScreen() {
        fullScreenOnClick = true;
        sayFromPage('Full screen: click the picture.');
    },
    onFrameShown(gl) {
        const now = performance.now();
        island.frames += 1;
        island.lastFrameAt = now;
        if (island.frames === 1) {
            island.firstFrameAt = now;
            notice.textContent = '';
        }
        if (island.frameStamps.length < stampLimit) island.frameStamps.push(now);
        if (recordingEnded) offerRecording();
        if (frameRequests.length > 0) {
            const width = gl.drawingBufferWidth;
            const height = gl.drawingBufferHeight;
            const pixels = new Uint8Array(width * height * 4);
            gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
            for (const resolve of frameRequests.splice(0)) resolve({width, height, pixels});
        }
    },
    onLoopEnded(status) {
        island.exitStatus = status;
        if (recordingEnded) offerRecording();
        if (document.pointerLockElement) document.exitPointerLock();
        notice.textContent = status === 0 ?
            'The island has ended. Reload the page to start again.' :
            'The island could not start (see the console below).';
        sayFromPage(`The program has ended with status ${status}.`);
    },
};

function fail(message) {
    notice.textContent = 'The page failed (see the console below).';
    console.error(message);
    say('stderr', `page error: ${message}`);
}
window.addEventListener('error', (event) => fail(event.message));
})();
