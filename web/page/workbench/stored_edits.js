// The editor's changed files kept in localStorage, so that they survive a
// reload. A browser that refuses storage (private windows, a full quota)
// only loses that: the page works on.
import {setFileNames} from './set_files.js';

const storageKey = 'island.shaderEdits';

export function loadEdits() {
    try {
        const set = JSON.parse(localStorage.getItem(storageKey) ?? '{}') ?? {};
        return Object.fromEntries(setFileNames
            .filter((name) => typeof set[name] === 'string').map((name) => [name, set[name]]));
    } catch {
        return {};
    }
}

export function storeEdits(changed) {
    try {
        if (Object.keys(changed).length === 0) {
            localStorage.removeItem(storageKey);
        } else {
            localStorage.setItem(storageKey, JSON.stringify(changed));
        }
    } catch {
        // Storage refused: the edits live as long as the page.
    }
}
