// The program's window title, which it sets through document.title as the
// desktop's window system would show it: the tab then reads
// "island — <window title>", and onChange(title) hears each new title.
const documentTitle = Object.getOwnPropertyDescriptor(Document.prototype, 'title');
export const pageName = 'island';

export function followWindowTitle(onChange) {
    Object.defineProperty(document, 'title', {
        configurable: true,
        get: () => documentTitle.get.call(document),
        set: (title) => {
            documentTitle.set.call(document, `${pageName} — ${title}`);
            onChange(String(title));
        },
    });
}

// The frame-rate title (showfps) is a bare number; on the page it says what it counts.
export function describeWindowTitle(title) {
    return /^\s*\d+(\.\d+)?$/.test(title) ? `${title.trim()} fps` : title;
}
