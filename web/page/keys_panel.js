// The Keys panel: the whole key table, from the one list the documentation's
// controls tables also follow, and what the page changes about the mouse and Esc.
import {cameraKeys, displayKeys} from './keys.js';

function table(headings, rows) {
    const element = document.createElement('table');
    const head = element.createTHead().insertRow();
    for (const heading of headings) head.appendChild(document.createElement('th')).textContent = heading;
    const body = element.createTBody();
    for (const row of rows) {
        const tableRow = body.insertRow();
        for (const cell of row) tableRow.insertCell().textContent = cell;
    }
    return element;
}

export function fillKeysPanel(panel) {
    panel.append(
        table(['input', 'action'], cameraKeys),
        table(['key', 'kind', 'action'], displayKeys));
}
