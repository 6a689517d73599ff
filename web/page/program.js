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
// rec.cfg's bytes to start with (or null), configLines() for config.cfg, and
// the page's hooks. Returns the program's emscripten module.
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
                .then((instance) => keepDocumentListeners(
                    program, () => receiveInstance(instance, downloaded.module)))
                .catch((error) => run.failed(`island.wasm: ${error.message}`));
            return {};
        },
        preRun: [() => {
            writeEntries(program.FS, downloaded.entries);
            if (run.recording) program.FS.writeFile('/rec.cfg', run.recording);
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
function keepDocumentListeners(program, startUp) {
    program.documentListeners = [];
    document.addEventListener = (...listener) => {
        program.documentListeners.push(listener);
        EventTarget.prototype.addEventListener.apply(document, listener);
    };
    try {
        startUp();
    } finally {
        delete document.addEventListener;
    }
}

// Lets go of a run that has ended: its listeners on the document go.
export function releaseProgram(program) {
    for (const listener of program.documentListeners ?? []) document.removeEventListener(...listener);
    program.documentListeners = [];
}

// Ends a run whose WebGL context is gone: no more frames, a recording ended
// as quitting would end it, and the page's keys and mouse let go.
export function stopProgram(program) {
    program._islandStop?.();
    releaseProgram(program);
}
