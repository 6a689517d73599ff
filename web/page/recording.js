// rec.cfg as the program's player reads it: the items follow the start line,
// separated by blanks, up to the end line; "%d_%d_%d" is a mouse item and
// "%d%c" a key item, and any other word is passed over.
const item = /^[-+]?\d+(_[-+]?\d+_[-+]?\d+|[^\d_])$/;

// Whether playing `bytes` back would replay anything at all.
export function hasItems(bytes) {
    const text = new TextDecoder('latin1').decode(bytes);
    const start = text.indexOf('\n');
    if (start < 0) return false;
    for (const word of text.slice(start + 1).split(/[ \n\r\t]+/)) {
        if (word.startsWith('end')) return false;
        if (item.test(word)) return true;
    }
    return false;
}
