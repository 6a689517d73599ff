// rec.cfg between the program's file system and the visitor's disk: offered
// for download once a recording has ended, replaced by a file from disk, and
// carried from one run to the next, as it stays on disk between two runs of
// the desktop program.
import {hasItems} from './recording.js';

const noSuchFile = 44;  // ENOENT in emscripten's file system

function describeError(error) {
    return error.errno === undefined ? error.message : `${error.message} (errno ${error.errno})`;
}

// The button holds the recording's address once there is one.
function saveOnClick(downloadButton) {
    downloadButton.addEventListener('click', () => {
        const link = document.createElement('a');
        link.href = downloadButton.dataset.url;
        link.download = 'rec.cfg';
        link.click();
        downloadButton.blur();
    });
}

// `latestRun()` is the latest run's emscripten module (or null), and
// `running()` whether it still runs.
export function createRecFile({downloadButton, loadButton, fileInput, say, latestRun, running}) {
    let carried = null;
    let recordingEnded = false;

    function read() {
        try {
            return latestRun().FS.readFile('/rec.cfg');
        } catch (error) {
            if (error.errno !== noSuchFile) say('page', `rec.cfg could not be read: ${describeError(error)}`);
            return null;
        }
    }
    function offer() {
        recordingEnded = false;
        const bytes = read();
        if (bytes === null) {
            say('page', 'The recording ended, but there is no rec.cfg to download (see above).');
            return;
        }
        const url = URL.createObjectURL(new Blob([bytes], {type: 'text/plain'}));
        if (downloadButton.dataset.url) URL.revokeObjectURL(downloadButton.dataset.url);
        downloadButton.dataset.url = url;
        downloadButton.disabled = false;
    }

    saveOnClick(downloadButton);
    loadButton.addEventListener('click', () => {
        fileInput.click();
        loadButton.blur();
    });
    fileInput.addEventListener('change', async () => {
        const file = fileInput.files[0];
        fileInput.value = '';
        if (!file) return;
        const bytes = new Uint8Array(await file.arrayBuffer());
        if (!hasItems(bytes)) {
            say('page', `${file.name} has nothing to play (no key or mouse item in it): rec.cfg is unchanged.`);
            return;
        }
        carried = bytes;
        if (running()) latestRun().FS.writeFile('/rec.cfg', bytes);
        say('page',
            `rec.cfg loaded from ${file.name} (${file.size} bytes): P starts playing it ` +
            '(press P twice while the demonstration still runs).');
    });

    return {
        // rec.cfg's bytes for a run to start with, or null.
        forNextRun: () => carried,
        heard(line) {
            // The end line is written after this message, by the end of the frame.
            if (line === 'end recording') recordingEnded = true;
        },
        frameDone() {
            if (recordingEnded) offer();
        },
        runEnded() {
            carried = read() ?? carried;
            if (recordingEnded) offer();
        },
    };
}
