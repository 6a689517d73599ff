// The shaders a visitor gives the page, in the one dialect WebGL 2 compiles:
// GLSL ES 3.00 is taken as it is, and GLSL 3.30, as written for the desktop's
// 330 folder, is written into ES 3.00 by the desktop's own dialect writer
// (shaderdialects_web.js, built from the same C++). The writer keeps every
// line where it was, so a compiler's message about the written text points
// at the visitor's line; where it refuses, it names that line itself.

const takes = 'the page takes GLSL 3.30 ("#version 330", as written for the desktop\'s 330 folder) ' +
    'or GLSL ES 3.00 ("#version 300 es")';

// The #version directive that opens `text` after white space and comments
// at most: {line, version} with version the directive's words after
// "version" ("330 core"), or null where the text does not open with one.
export function versionDirective(text) {
    let at = 0;
    let line = 1;
    for (;;) {
        const space = /^[^\S\n]*/.exec(text.slice(at, at + 4096))[0];
        at += space.length;
        if (text[at] === '\n') {
            line += 1;
            at += 1;
        } else if (text.startsWith('//', at)) {
            at = text.indexOf('\n', at);
            if (at < 0) return null;
        } else if (text.startsWith('/*', at)) {
            const end = text.indexOf('*/', at + 2);
            if (end < 0) return null;
            line += text.slice(at, end).split('\n').length - 1;
            at = end + 2;
        } else {
            break;
        }
    }
    const directive = /^#[ \t]*version\b([^\n/]*)/.exec(text.slice(at, at + 200));
    if (!directive) return null;
    return {line, version: directive[1].trim().split(/\s+/).join(' ')};
}

// What the writer answers, '+' and the written text or '-' and
// "<file>:<line>: <what>", as toEs300 answers.
function answerOf(answer, fileName) {
    if (answer.startsWith('+')) return {text: answer.slice(1)};
    const refusal = /^(\d+): (.*)$/.exec(answer.slice(fileName.length + 2));
    if (!refusal) return {error: {file: fileName, line: 1, message: answer.slice(1)}};
    return {error: {file: fileName, line: Number(refusal[1]), message: refusal[2]}};
}

// The writer over a started shaderdialects_web module.
export function dialectWriterOf(module) {
    function written(text, fileName) {
        const length = module.lengthBytesUTF8(text);
        const source = module._malloc(length + 1);
        const origin = module._malloc(module.lengthBytesUTF8(fileName) + 1);
        try {
            if (source === 0 || origin === 0) {
                return {error: {file: fileName, line: 1, message: 'too long to be written as GLSL ES 3.00'}};
            }
            module.stringToUTF8(text, source, length + 1);
            module.stringToUTF8(fileName, origin, module.lengthBytesUTF8(fileName) + 1);
            const fragment = fileName.endsWith('.frag') ? 1 : 0;
            return answerOf(module.UTF8ToString(module._writeEs300(source, length, fragment, origin)), fileName);
        } finally {
            module._free(source);
            module._free(origin);
        }
    }
    return {
        // {text} in GLSL ES 3.00, or {error: {file, line, message}}.
        toEs300(text, fileName) {
            const directive = versionDirective(text);
            if (directive?.version === '300 es') return {text};
            if (directive?.version === '330' || directive?.version === '330 core') {
                try {
                    return written(text, fileName);
                } catch (error) {
                    // The module has stopped (out of memory, say); the text stays the visitor's.
                    return {error: {file: fileName, line: 1, message: `the dialect writer stopped: ${error.message}`}};
                }
            }
            const found = directive ? `it opens with "#version ${directive.version}"` : 'it has no #version line';
            return {error: {file: fileName, line: directive?.line ?? 1, message: `${takes}; ${found}`}};
        },
    };
}

// Loads shaderdialects_web.js from the site at `baseUrl` and starts it;
// `settings` go to the module as it starts (a test outside a browser gives
// it wasmBinary, the .wasm file's bytes).
export async function loadDialectWriter(baseUrl, settings = {}) {
    const base = new URL(baseUrl, globalThis.document?.baseURI);
    const {default: createDialectWriter} = await import(new URL('shaderdialects_web.js', base).href);
    const module = await createDialectWriter({
        locateFile: (file) => new URL(file, base).href,
        ...settings,
    });
    return dialectWriterOf(module);
}
