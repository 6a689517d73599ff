// The workbench's panel beside the picture: the Shaders button that opens
// it, a tab for each file over the editor, and the buttons Run, Examples,
// Load, Save, Reset and Copy link; over the picture's corner, what the set is and, after a
// run of an edited set has failed, a button that runs the shipped set.
// Names and texts from the visitor are shown as text only.
import {readShaderFiles} from './file_input.js';
import {setFileNames} from './set_files.js';
import {createShaderEditor} from './shader_editor.js';

const element = (id) => document.getElementById(id);
const exampleTitles = {lit: 'lit (the minimal set)', normals: 'normals as colours', fog: 'fog by depth'};

function fillTabs(tabs, editor) {
    const buttons = setFileNames.map((name) => {
        const tab = document.createElement('button');
        tab.type = 'button';
        tab.role = 'tab';
        tab.textContent = name;
        tab.addEventListener('click', () => select(name));
        tabs.append(tab);
        return tab;
    });
    function select(name) {
        editor.show(name);
        buttons.forEach((tab, index) => tab.setAttribute('aria-selected', String(setFileNames[index] === name)));
    }
    select(editor.shown());
    return select;
}

function fillExamples(menu, names) {
    for (const name of names) {
        const option = document.createElement('option');
        option.value = name;
        option.textContent = exampleTitles[name] ?? name;
        menu.append(option);
    }
}

function saveFiles(texts) {
    for (const [name, text] of Object.entries(texts)) {
        const link = document.createElement('a');
        link.href = URL.createObjectURL(new Blob([text], {type: 'text/plain'}));
        link.download = name;
        link.click();
        setTimeout(() => URL.revokeObjectURL(link.href), 60_000);
    }
}

function loadFrom(input, {say, setTexts}) {
    input.addEventListener('change', async () => {
        const {set, lines} = await readShaderFiles([...input.files]);
        input.value = '';
        for (const line of lines) say('page', line);
        setTexts(set);
    });
}

// `actions`: files {name: text}, the example names, say, and the hooks run,
// reset, example(name), changed(texts) (the changed files' names), link and
// runShipped.
export function createWorkbenchPanel(actions) {
    const panel = element('workbench');
    const shadersButton = element('shaders');
    const setState = element('set-state');
    const runShippedButton = element('run-shipped');
    const texts = () => Object.fromEntries(setFileNames.map((name) => [name, editor.text(name)]));
    const editor = createShaderEditor(element('wb-editor'), actions.files, {
        onChange: () => showChanged(),
        onRun: () => actions.run(),
    });
    const select = fillTabs(element('wb-tabs'), editor);
    fillExamples(element('wb-examples'), actions.examples);

    function showChanged() {
        const changed = actions.changed(texts());
        setState.textContent = changed.length === 0 ? '' : `Shaders changed: ${changed.join(', ')}`;
    }
    function setTexts(set) {
        for (const [name, text] of Object.entries(set)) editor.setText(name, text);
        showChanged();
    }
    // Opens the panel, at `line` of `file` where they are given.
    function open(file, line) {
        panel.hidden = false;
        shadersButton.setAttribute('aria-expanded', 'true');
        if (!setFileNames.includes(file)) return;
        select(file);
        editor.reveal(line);
    }

    shadersButton.disabled = false;
    // Focus goes to the editor, or leaves the button, so that the space bar
    // moves the camera rather than pressing the button again.
    shadersButton.addEventListener('click', () => {
        if (panel.hidden) open(); else panel.hidden = true;
        shadersButton.setAttribute('aria-expanded', String(!panel.hidden));
        if (panel.hidden) shadersButton.blur(); else editor.focus();
    });
    element('wb-run').addEventListener('click', () => actions.run());
    element('wb-reset').addEventListener('click', () => actions.reset());
    element('wb-save').addEventListener('click', () => saveFiles(texts()));
    element('wb-link').addEventListener('click', () => actions.link());
    element('wb-examples').addEventListener('change', (event) => actions.example(event.target.value));
    element('wb-load').addEventListener('click', () => element('wb-files').click());
    element('wb-load-folder').addEventListener('click', () => element('wb-folder').click());
    loadFrom(element('wb-files'), {say: actions.say, setTexts});
    loadFrom(element('wb-folder'), {say: actions.say, setTexts});
    runShippedButton.addEventListener('click', () => {
        runShippedButton.hidden = true;
        actions.runShipped();
    });
    showChanged();

    return {
        texts,
        setTexts,
        open,
        mark: (errors) => editor.mark(errors),
        offerShipped: (offer) => (runShippedButton.hidden = !offer),
        // For the tests: what is marked, which file shows, and edits as typing makes them.
        marks: () => editor.marks(),
        shown: () => editor.shown(),
        setText: (name, text) => setTexts({[name]: text}),
        text: (name) => editor.text(name),
    };
}
