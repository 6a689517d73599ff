// The console under the picture: the program's standard output and error and
// the page's own lines, shown as text, the latest ones kept. A button folds
// it away; its lower edge can be dragged to make it taller or shorter.
const shownLimit = 1000;
const browserConsole = {stdout: 'log', stderr: 'warn', page: 'info', error: 'error'};

// `lines` keeps every line said, {stream, text, at}; returns say(stream, text)
// for the streams 'stdout', 'stderr', 'page' (the page's notes) and 'error'
// (what stopped the page).
export function createConsolePanel(box, foldButton, lines) {
    foldButton.addEventListener('click', () => {
        box.hidden = !box.hidden;
        foldButton.setAttribute('aria-expanded', String(!box.hidden));
        foldButton.blur();
    });
    return (stream, text) => {
        console[browserConsole[stream]](text);
        lines.push({stream, text, at: performance.now()});
        const line = document.createElement('div');
        line.className = stream;
        line.textContent = text;
        box.appendChild(line);
        while (box.childElementCount > shownLimit) box.firstElementChild.remove();
        box.scrollTop = box.scrollHeight;
    };
}
