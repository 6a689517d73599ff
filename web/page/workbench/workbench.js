// The shader workbench: the files of the running set in an editor, run as a
// desktop user runs an edited set, by starting the program again with them
// in Shaders/300es/. GLSL 3.30 goes through the dialect writer first; the
// errors of a run are marked where they are; the set can be loaded, saved,
// reset, shared as a link, and it survives a reload.
import {findShaderErrors} from '../compile_log.js';
import {loadDialectWriter} from '../dialect_writer.js';
import {changedFiles, readSet, setFileNames, shippedFolder, writeSet} from './set_files.js';
import {decodeSet, encodeSet, LinkError} from './shared_link.js';
import {loadEdits, storeEdits} from './stored_edits.js';

export const exampleNames = ['lit', 'normals', 'fog'];

class Workbench {
    // `page` gives say(stream, text), restart(set) (null: the shipped set)
    // and island (window.island).
    constructor(page) {
        this.page = page;
        this.shipped = null;          // the shipped set, read before the first run changes it
        this.examples = {};           // name: set, those island.data holds
        this.edits = loadEdits();     // the editor's text until the editor exists
        this.runningEdited = false;   // whether the latest run is not the shipped set
        this.pendingErrors = [];      // errors found before the editor existed
        this.runLinesFrom = 0;        // where the latest run's console lines begin
        this.writer = null;
        this.panel = null;
        this.panelLoading = null;     // the panel's module (the editor), once asked for
        this.offeringShipped = false; // whether to offer the shipped set once the panel exists
    }

    // The set as ES 3.00, or null after marking what the writer refused.
    async converted(set) {
        let dialects;
        try {
            this.writer ??= loadDialectWriter(new URL('.', location.href).href);
            dialects = await this.writer;
        } catch (error) {
            this.page.say('page', `The dialect writer could not be loaded: ${error.message}`);
            return null;
        }
        const texts = {};
        const refusals = [];
        for (const [name, text] of Object.entries(set)) {
            const result = dialects.toEs300(text, name);
            if (result.error) refusals.push(result.error); else texts[name] = result.text;
        }
        for (const {file, line, message} of refusals) this.page.say('page', `${file}:${line}: ${message}`);
        if (refusals.length === 0) return texts;
        this.showErrors(refusals);
        return null;
    }

    // errors: [{file, line, message}], the file named by its path or its name.
    showErrors(found) {
        const errors = found.map((error) => ({...error, file: error.file.split('/').pop()}));
        if (!this.panel) {
            this.pendingErrors = errors;
            return;
        }
        this.panel.mark(errors);
        if (errors.length > 0) this.panel.open(errors[0].file, errors[0].line);
    }

    start(esSet) {
        this.runningEdited = esSet !== null;
        this.runLinesFrom = this.page.island.lines.length;
        this.page.restart(esSet);
    }

    async runSet(set) {
        this.page.island.runRequestedAt = performance.now();
        this.showErrors([]);
        const changed = changedFiles(set, this.shipped);
        if (Object.keys(changed).length === 0) return this.start(null);
        const esSet = await this.converted(changed);
        if (esSet) this.start(esSet);
    }

    // The first run's set: a link's, or else the shipped set (stored edits
    // wait in the editor for Run, so that a set that hangs cannot hang
    // every reload).
    async firstSet() {
        let linked = null;
        try {
            linked = await decodeSet(location.hash);
        } catch (error) {
            if (!(error instanceof LinkError)) throw error;
            this.page.say(
                'page', `The shader set in the address is not used (${error.message}); the shipped set runs.`);
        }
        if (linked === null) return null;
        this.edits = linked;
        const esSet = await this.converted(linked);
        this.runningEdited = esSet !== null;
        return esSet;
    }

    // Before each run's main(): the shipped set and the examples are read
    // before the first run changes anything, then the run's set is written.
    prepareFiles(FS, esSet) {
        if (this.shipped === null) {
            this.shipped = readSet(FS, shippedFolder);
            for (const name of exampleNames) {
                const set = readSet(FS, `/Shaders/examples/${name}/300es`);
                if (set['base.vert'] && set['base.frag']) this.examples[name] = set;
            }
        }
        if (esSet) writeSet(FS, esSet);
    }

    // The panel and its editor come in a module of their own, fetched after
    // the first frame: the page's start does not wait for the editor.
    createPanel() {
        this.panelLoading ??= import('./workbench_panel.js')
            .then(({createWorkbenchPanel}) => this.fillPanel(createWorkbenchPanel))
            .catch((error) => this.page.say('page', `The shader workbench could not be loaded: ${error.message}`));
    }

    fillPanel(createWorkbenchPanel) {
        const shipped = this.shipped;
        const texts = () => this.panel.texts();
        this.panel = createWorkbenchPanel({
            files: Object.fromEntries(setFileNames.map((name) => [name, this.edits[name] ?? shipped[name] ?? ''])),
            examples: Object.keys(this.examples),
            say: this.page.say,
            run: () => this.runSet(texts()),
            reset: () => {
                this.panel.setTexts(shipped);
                history.replaceState(null, '', location.pathname + location.search);
                this.runSet(shipped);
            },
            example: (name) => {
                this.panel.setTexts(name === '' ? shipped : {...shipped, ...this.examples[name]});
                this.runSet(texts());
            },
            changed: (edited) => {
                const changed = changedFiles(edited, shipped);
                storeEdits(changed);
                return Object.keys(changed);
            },
            link: () => this.copyLink(changedFiles(texts(), shipped)),
            runShipped: () => this.start(null),
        });
        this.showErrors(this.pendingErrors);
        this.panel.offerShipped(this.offeringShipped);
        this.page.island.workbench = this.panel;
    }

    offerShipped(offer) {
        this.offeringShipped = offer;
        this.panel?.offerShipped(offer);
    }

    async copyLink(changed) {
        const fragment = Object.keys(changed).length > 0 ? `#${await encodeSet(changed)}` : '';
        const link = `${location.origin}${location.pathname}${location.search}${fragment}`;
        history.replaceState(null, '', link);
        this.page.island.sharedLink = link;
        try {
            await navigator.clipboard.writeText(link);
            this.page.say('page', `Link copied (${link.length} characters).`);
        } catch {
            this.page.say('page', `The link (${link.length} characters) is in the address bar; the clipboard refused it.`);
        }
    }

    // After a run's first frame: the editor can open, the shipped set known.
    runDrew() {
        if (this.shipped) this.createPanel();
        this.offerShipped(false);
    }

    // A run that ended with `status`, or was stopped by a lost context (null).
    runStopped(status) {
        if (this.shipped) this.createPanel();
        if (status !== 0) this.offerShipped(this.runningEdited);
        if (status === 1 && this.runningEdited) {
            const lines = this.page.island.lines.slice(this.runLinesFrom)
                .filter((line) => line.stream === 'stdout' || line.stream === 'stderr');
            this.showErrors(findShaderErrors(lines.map((line) => line.text)));
        }
    }
}

export function createWorkbench(page) {
    return new Workbench(page);
}
