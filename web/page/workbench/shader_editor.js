// The editor of the workbench: CodeMirror 6 with C-like highlighting (GLSL's
// syntax is C's), line numbers, undo, search, and the errors of the latest
// run marked at their lines. Each file keeps a state of its own, its undo
// history included; one view shows the file whose tab is chosen.
import {forEachDiagnostic, lintGutter, setDiagnostics} from '@codemirror/lint';
import {EditorState, Prec} from '@codemirror/state';
import {keymap} from '@codemirror/view';
import {cpp} from '@codemirror/lang-cpp';
import {basicSetup, EditorView} from 'codemirror';

const darkTheme = EditorView.theme({
    '&': {height: '100%', backgroundColor: '#141414', color: '#ddd'},
    '.cm-scroller': {fontFamily: 'monospace', fontSize: '12px'},
    '.cm-gutters': {backgroundColor: '#1b1b1b', color: '#777', borderRight: '1px solid #333'},
    '.cm-activeLine': {backgroundColor: '#1f2227'},
    '.cm-activeLineGutter': {backgroundColor: '#1f2227'},
    '&.cm-focused .cm-cursor': {borderLeftColor: '#ddd'},
    '&.cm-focused .cm-selectionBackground, .cm-selectionBackground': {backgroundColor: '#35466a'},
    '.cm-panels': {backgroundColor: '#1b1b1b', color: '#ddd'},
    '.cm-tooltip': {backgroundColor: '#222', color: '#ddd'},
}, {dark: true});

// A driver may name a line past the end (an unclosed block).
const lineWithin = (doc, line) => Math.min(Math.max(1, line), doc.lines);

function diagnosticsOf(doc, errors) {
    return errors.map((error) => {
        const line = doc.line(lineWithin(doc, error.line));
        return {from: line.from, to: line.to, severity: 'error', message: error.message};
    });
}

// `files` {name: text} gives the files and their order; onChange() hears
// every edit, onRun() Ctrl+Enter (Cmd+Enter on a Mac).
export function createShaderEditor(host, files, {onChange, onRun}) {
    const extensions = [
        Prec.highest(keymap.of([{key: 'Mod-Enter', run: () => (onRun(), true)}])),
        basicSetup,
        cpp(),
        lintGutter(),
        darkTheme,
        EditorView.updateListener.of((update) => update.docChanged && onChange()),
    ];
    const states = new Map(
        Object.entries(files).map(([name, text]) => [name, EditorState.create({doc: text, extensions})]));
    let shown = Object.keys(files)[0];
    const view = new EditorView({state: states.get(shown), parent: host});

    const stateOf = (name) => (name === shown ? view.state : states.get(name));
    // A transaction on the file's state, shown or not.
    function apply(name, change) {
        if (name === shown) {
            view.dispatch(change);
        } else {
            states.set(name, states.get(name).update(change).state);
        }
    }

    return {
        show(name) {
            if (name === shown) return;
            states.set(shown, view.state);
            shown = name;
            view.setState(states.get(name));
        },
        shown: () => shown,
        text: (name) => stateOf(name).doc.toString(),
        // A change like any edit: it can be undone.
        setText(name, text) {
            const doc = stateOf(name).doc;
            if (doc.toString() !== text) apply(name, {changes: {from: 0, to: doc.length, insert: text}});
        },
        // errors: [{file, line, message}]; a file not named loses its marks.
        mark(errors) {
            for (const name of states.keys()) {
                const state = stateOf(name);
                apply(name, setDiagnostics(state, diagnosticsOf(state.doc, errors.filter((error) => error.file === name))));
            }
        },
        // What is marked: [{file, line, message}].
        marks() {
            const found = [];
            for (const name of states.keys()) {
                const state = stateOf(name);
                forEachDiagnostic(state, (diagnostic, from) => found.push(
                    {file: name, line: state.doc.lineAt(from).number, message: diagnostic.message}));
            }
            return found;
        },
        // Puts the cursor on `line` of the file shown, in sight.
        reveal(line) {
            const at = view.state.doc.line(lineWithin(view.state.doc, line)).from;
            view.dispatch({selection: {anchor: at}, effects: EditorView.scrollIntoView(at, {y: 'center'})});
        },
        focus: () => view.focus(),
    };
}
