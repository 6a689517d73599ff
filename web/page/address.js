// The address's query: config.cfg keys (index.html?showfps=true) and the
// page's own clock=SECONDS, which stands the program's clock still at that
// moment of the flight. What the page cannot use comes back as one line each.

// The canvas follows the page, so the page writes the window size itself.
const pageSetKeys = new Set(['window_width', 'window_height']);

export function readAddress(search) {
    const configLines = [];
    const ignored = [];
    let fixedClock;
    for (const [key, value] of new URLSearchParams(search)) {
        const entry = `${key}=${value}`;
        if (/[\r\n]/.test(entry)) {
            ignored.push(`Address key ${JSON.stringify(entry)} ignored: it holds a line break.`);
        } else if (key === 'clock') {
            const seconds = value.trim() === '' ? NaN : Number(value);
            if (Number.isFinite(seconds) && seconds >= 0) {
                fixedClock = seconds;
            } else {
                ignored.push(`Address key ${entry} ignored: clock needs a number of seconds, 0 or more.`);
            }
        } else if (pageSetKeys.has(key)) {
            ignored.push(`Address key ${entry} ignored: the page sets ${key} itself, from the canvas's size.`);
        } else {
            configLines.push(entry);
        }
    }
    return {configLines, fixedClock, ignored};
}
