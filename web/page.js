// The page around the island program (island.js, built by emscripten). The
// program runs as on the desktop; the page stands in for what the desktop's
// window system and terminal give it: config.cfg with the address's keys, a
// canvas that follows the page, the console, full screen, pointer lock, and
// rec.cfg to and from the user's disk. When the program ends, or its WebGL
// context is lost, the page starts it again without downloading anything.
// The Shaders panel runs it again with a shader set of the visitor's.
//
// window.island is for tests and benchmarks: the console lines, the frames
// shown, the moment of the first one, the loop's end, and frame read-back.
import {readAddress} from './page/address.js';
import {createConsolePanel} from './page/console_panel.js';
import {DownloadError, downloadData, downloadProgram} from './page/downloads.js';
import {fillKeysPanel} from './page/keys_panel.js';
import {releaseProgram, startProgram, stopProgram} from './page/program.js';
import {createRecFile} from './page/rec_file.js';
import {describeWindowTitle, followWindowTitle} from './page/window_title.js';
import {createWorkbench} from './page/workbench/workbench.js';

const stage = document.getElementById('stage');
const notice = document.getElementById('notice');
const titleBox = document.getElementById('title');
const startButton = document.getElementById('start');
const fullscreenButton = document.getElementById('fullscreen');
const loadButton = document.getElementById('load');
const keysButton = document.getElementById('keys');
const keysPanel = document.getElementById('keys-panel');
const workbenchPanel = document.getElementById('workbench');
const stampLimit = 100000;

const island = (window.island = {
    lines: [],           // {stream: 'stdout' | 'stderr' | 'page' | 'error', text, at: performance.now()}
    starts: 0,           // runs of the program started
    frames: 0,           // frames drawn and shown, by all runs
    startedAt: null,     // performance.now() when the latest run started, where its clock starts
    firstFrameAt: null,  // performance.now() after the latest run's first frame
    lastFrameAt: null,   // performance.now() after the latest frame
    frameStamps: [],     // performance.now() after each of the first frames
    exitStatus: null,    // the latest run's exit status once its loop has ended
    downloadsDone: false,  // whether every download has succeeded or failed
    windowTitle: null,   // the program's window title
    // The next frame's pixels, read back before the browser shows it: RGBA,
    // bottom row first, as glReadPixels gives them.
    nextFrame() {
        return new Promise((resolve) => frameRequests.push(resolve));
    },
});
const frameRequests = [];
const say = createConsolePanel(
    document.getElementById('console'), document.getElementById('fold'), island.lines);
const address = readAddress(location.search);

// 'loading', then 'running', 'ended' or 'lost' (its WebGL context), or
// 'failed' for good (nothing to start the program from).
let phase = 'loading';
let canvas = document.getElementById('canvas');
let downloaded = null;   // {module, entries}: what every run starts from
let program = null;      // the latest run's emscripten module
let runningSet = null;   // the latest run's shader files, {name: ES 3.00 text}, or null: the shipped set
let framesThisRun = 0;

function showNotice(text) {
    notice.textContent = text;
}

// What stops the page: one line in the notice and on the console.
function fail(message) {
    say('error', message);
    if (phase === 'failed') return;
    if (phase === 'running' && program) stopProgram(program);
    phase = 'failed';
    showNotice(message);
    updateButtons();
}
window.addEventListener('error', (event) => fail(`page error: ${event.message}`));
window.addEventListener(
    'unhandledrejection', (event) => fail(`page error: ${event.reason?.message ?? event.reason}`));

// Buttons that cannot act now are disabled, and their tooltips say why.
function updateButtons() {
    const running = phase === 'running';
    const notRunning = 'The island is not running';
    fullscreenButton.disabled = !running;
    fullscreenButton.title = running ? 'The picture on the whole screen' : notRunning;
    loadButton.disabled = !running;
    loadButton.title = running ? 'A rec.cfg to play back with P' : `${notRunning}: start it again first`;
    startButton.disabled = phase !== 'ended' && phase !== 'lost';
    startButton.title =
        downloaded === null ? 'Nothing was downloaded to start from: reload the page' :
        startButton.disabled ? 'The island is running' :
                               'Start the island again, as a new program';
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
const canvasObserver = new ResizeObserver(fitCanvas);

// Each run draws on a canvas of its own, with a WebGL context as fresh as a
// new desktop window's.
function takeCanvas(next) {
    canvasObserver.disconnect();
    if (next !== canvas) canvas.replaceWith(next);
    canvas = next;
    canvasObserver.observe(canvas);
    fitCanvas();
    canvas.addEventListener('click', clickPicture);
    canvas.addEventListener('webglcontextlost', (event) => {
        // Without this the browser never gives the context back.
        event.preventDefault();
        if (event.target === canvas) loseContext();
    });
    // A visitor's set may be what lost it (a shader that never ends): that
    // one waits for the visitor, who is offered the shipped set.
    canvas.addEventListener('webglcontextrestored', (event) => {
        if (event.target === canvas && phase === 'lost' && runningSet === null) run();
    });
}
takeCanvas(canvas);

const recFile = createRecFile({
    downloadButton: document.getElementById('download'),
    loadButton,
    fileInput: document.getElementById('recfile'),
    say,
    latestRun: () => program,
    running: () => phase === 'running',
});

// Full screen takes the picture, whose canvas then follows the screen.
// A page may ask for it only from a click: config.cfg's fullscreen=true
// makes the first click on the picture ask.
let fullScreenOnClick = false;
function enterFullScreen() {
    if (document.fullscreenElement) return;
    stage.requestFullscreen().catch((error) => say('page', `Full screen refused: ${error.message}`));
}
fullscreenButton.addEventListener('click', () => {
    enterFullScreen();
    fullscreenButton.blur();
});

// A click on the picture locks the pointer for mouse look: the cursor then
// moves without end, as on a desktop where it never meets the window's edge.
function lockPointer() {
    if (document.pointerLockElement === canvas || phase !== 'running') return;
    Promise.resolve(canvas.requestPointerLock())
        .catch((error) => say('page', `The mouse stays free: ${error.message}`));
}
function clickPicture() {
    if (fullScreenOnClick) {
        // Entering full screen uses up the click; the next one locks the pointer.
        fullScreenOnClick = false;
        enterFullScreen();
    } else {
        lockPointer();
    }
}

// While the picture holds the pointer, Esc lets it go (the browser's rule)
// and does not reach the program, where it would end the loop. While the
// Keys panel is open, no key reaches the program (Esc closes the panel).
function holdBackKey(event) {
    if (keysPanel.open || (event.key === 'Escape' && document.pointerLockElement === canvas)) {
        event.stopImmediatePropagation();
    }
}
window.addEventListener('keydown', holdBackKey, true);
window.addEventListener('keyup', holdBackKey, true);

fillKeysPanel(keysPanel.querySelector('.tables'));
keysButton.addEventListener('click', () => {
    keysPanel.showModal();
    keysButton.blur();
});

followWindowTitle((title) => {
    island.windowTitle = title;
    titleBox.textContent = describeWindowTitle(title);
});

const workbench = createWorkbench({say, island, restart});

// One run of the program, over what has been downloaded, with runningSet's
// shaders. Keys typed into the workbench are the editor's alone.
function run() {
    if (island.starts > 0) takeCanvas(canvas.cloneNode(false));
    island.starts += 1;
    island.exitStatus = null;
    framesThisRun = 0;
    phase = 'running';
    showNotice('Starting…');
    updateButtons();
    program = startProgram(downloaded, {
        canvas,
        fixedClock: address.fixedClock,
        recording: recFile.forNextRun(),
        prepareFiles: (FS) => workbench.prepareFiles(FS, runningSet),
        takesKey: (event) => !workbenchPanel.contains(event.target),
        configLines: () => {
            const [width, height] = boxSize();
            return [...address.configLines, `window_width=${width}`, `window_height=${height}`];
        },
        print: printLine,
        printErr: (text) => say('stderr', text),
        started: () => (island.startedAt = performance.now()),
        frameShown,
        loopEnded,
        offerFullScreen,
        contextLost: loseContext,
        failed: fail,
    });
}

// A run with `set` in place of the latest: the running program ends first,
// as a desktop user quits before starting it again. A program that has not
// drawn yet cannot be stopped before its loop begins.
function restart(set) {
    if (downloaded === null) return;
    if (phase === 'running' && framesThisRun === 0) {
        say('page', 'The island is still starting: run the set again once it draws.');
        return;
    }
    if (phase === 'running') {
        stopProgram(program);
        endRun();
    }
    runningSet = set;
    run();
}
startButton.addEventListener('click', () => {
    startButton.blur();
    run();
});

function printLine(text) {
    say('stdout', text);
    recFile.heard(text);
}

function offerFullScreen() {
    fullScreenOnClick = true;
    say('page', 'Full screen: click the picture.');
}

function frameShown(gl) {
    const now = performance.now();
    island.frames += 1;
    framesThisRun += 1;
    island.lastFrameAt = now;
    if (framesThisRun === 1) {
        island.firstFrameAt = now;
        showNotice('');
        workbench.runDrew();
    }
    if (island.frameStamps.length < stampLimit) island.frameStamps.push(now);
    recFile.frameDone();
    if (frameRequests.length > 0) {
        const width = gl.drawingBufferWidth;
        const height = gl.drawingBufferHeight;
        const pixels = new Uint8Array(width * height * 4);
        gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
        for (const resolve of frameRequests.splice(0)) resolve({width, height, pixels});
    }
}

// What a run leaves: rec.cfg kept for the next run, the mouse let go.
function endRun() {
    releaseProgram(program);
    recFile.runEnded();
    if (document.pointerLockElement) document.exitPointerLock();
    updateButtons();
}

function loopEnded(status) {
    island.exitStatus = status;
    phase = 'ended';
    if (status === 0) {
        showNotice('The island has ended. "Start again" starts it anew.');
    } else if (document.createElement('canvas').getContext('webgl2') === null) {
        showNotice(
            'This browser gives the page no WebGL 2: turn on WebGL (hardware acceleration) in its ' +
            'settings, or open the page in another browser.');
    } else {
        showNotice('The island could not start (see the console below).');
    }
    say('page', `The program has ended with status ${status}.`);
    endRun();
    workbench.runStopped(status);
}

function loseContext() {
    if (phase !== 'running') return;
    phase = 'lost';
    stopProgram(program);
    const line = runningSet === null ?
        'The WebGL context was lost: the island has stopped, and starts again when the browser ' +
            'gives the context back ("Start again" starts it anew now).' :
        'The WebGL context was lost: the island has stopped, with your shaders, which stay in the ' +
            'editor ("Run the shipped set" runs the shipped ones, "Start again" yours).';
    showNotice(line);
    say('page', line);
    endRun();
    workbench.runStopped(null);
}

// The program's module and data are fetched at once, in parallel, with
// island.js; every run starts from them. Each failure is said as it happens.
function loadScript(file) {
    return new Promise((resolve, reject) => {
        const script = document.createElement('script');
        script.src = file;
        script.onload = resolve;
        script.onerror = () => reject(new DownloadError(`${file}: could not be loaded.`));
        document.head.append(script);
    });
}
function said(file, download) {
    return download.catch((error) => {
        fail(error instanceof DownloadError ? error.message : `${file}: ${error.message}`);
        throw error;
    });
}
// Said only when the share shown changes: the download brings hundreds of parts.
function showProgress(share) {
    const text = `Loading the island… ${Math.round(100 * share)}%`;
    if (phase === 'loading' && notice.textContent !== text) showNotice(text);
}

for (const line of address.ignored) say('page', line);
updateButtons();
Promise.allSettled([
    said('island.wasm', downloadProgram('island.wasm')),
    said('island.data', downloadData('island.data', showProgress)),
    said('island.js', loadScript('island.js')),
]).then(([module, entries, script]) => {
    island.downloadsDone = true;
    // Each failure has been said.
    if (module.status === 'rejected' || entries.status === 'rejected' || script.status === 'rejected') return;
    downloaded = {module: module.value, entries: entries.value};
    return workbench.firstSet().then((set) => {
        runningSet = set;
        run();
    });
});
