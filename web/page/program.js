// One run of the island program: island.js's createIsland over the compiled
// module and the data already downloaded, so that starting again fetches
// nothing. Each run is a new program, with its own memory and file system,
// started as a desktop user starts the program anew.
import {writeEntries} from './tar.js';

// Lines after the page's defaults in config.cfg, as the desktop's would be.
function appendConfig(FS, lines) {
    let text = FS.readFile('/config.cfg', {encoding: 'utf8'});
    if (!text.endsWith('\n')) text += '\n';
    FS.writeFile('/config.cfg', text + lines.map((line) => `${line}\n`).join(''));
}

// `downloaded` is {module, entries}: the compiled island.wasm and the
// entries of island.data. `run` gives the canvas, the clock (fixedClock),
// rec.cfg's bytes to start with (or null), configLines() for config.cfg,
// prepareFiles(FS) to change the files before main(), takesKey(event) to
// say which key events reach the program, and the page's hooks. Returns the
// program's emscripten module.
export function startProgram(downloaded, run) {
    const program = {
        canvas: run.canvas,
        fixedClock: run.fixedClock,
        print: run.print,
        printErr: run.printErr,
        onFrameShown: run.frameShown,
        onLoopEnded: run.loopEnded,
        offerFullScreen: run.offerFullScreen,
        instantiateWasm(imports, receiveInstance) {
            WebAssembly.instantiate(downloaded.module, imports)
                .then((instance) => keepRuntimeListeners(
                    program, run.takesKey, () => receiveInstance(instance, downloaded.module)))
                .catch((error) => run.failed(`island.wasm: ${error.message}`));
            return {};
        },
        preRun: [() => {
            writeEntries(program.FS, downloaded.entries);
            if (run.recording) program.FS.writeFile('/rec.cfg', run.recording);
            run.prepareFiles?.(program.FS);
        }],
        onRuntimeInitialized() {
            appendConfig(program.FS, run.configLines());
            run.started();
        },
        // A context lost between two frames ends the run before the next
        // one, so that no GL call meets the lost context.
        preMainLoop() {
            if (!program.ctx?.isContextLost()) return true;
            run.contextLost();
            return false;
        },
    };
    try {
        window.createIsland(program).catch((error) => run.failed(`island.js: ${error.message ?? error}`));
    } catch (error) {
        run.failed(`island.js: ${error.message}`);
    }
    return program;
}

// The runtime adds listeners to the document (pointer lock, full screen)
// when the program opens its window, and never takes them away: they would
// keep every ended run, and all its memory, alive. The program's start-up,
// main() included, runs within receiveInstance, so the listeners added then
// are its own (with no setStatus hook, the runtime calls main() at once).
// Its key listeners sit on the window, ahead of every other element, so
// each hears only the events that takesKey(event) lets through: a text
// field of the page keeps its keys.
const keyEvents = new Set(['keydown', 'keypress', 'keyup']);
function keepRuntimeListeners(program, takesKey, startUp) {
    program.documentListeners = [];
    program.windowKeyListeners = [];
    document.addEventListener = (...listener) => {
        program.documentListeners.push(listener);
        EventTarget.prototype.addEventListener.apply(document, listener);
    };
    window.addEventListener = (type, listener, ...options) => {
        if (keyEvents.has(type) && takesKey) {
            const heard = listener;
            listener = (event) => takesKey(event) && heard(event);
            program.windowKeyListeners.push([type, listener, ...options]);
        }
        EventTarget.prototype.addEventListener.call(window, type, listener, ...options);
    };
    try {
        startUp();
    } finally {
        delete document.addEventListener;
        delete window.addEventListener;
    }
}

// Lets go of a run that has ended: its listeners on the document go, and
// its key listeners on the window, which the runtime cannot find to remove.
export function releaseProgram(program) {
    for (const listener of program.documentListeners ?? []) document.removeEventListener(...listener);
    for (const listener of program.windowKeyListeners ?? []) window.removeEventListener(...listener);
    program.documentListeners = [];
    program.windowKeyListeners = [];
}

// Ends a run whose WebGL context is gone: no more frames, a recording ended
// as quitting would end it, and the page's keys and mouse let go.
export function stopProgram(program) {
    program._islandStop?.();
    releaseProgram(program);
}
