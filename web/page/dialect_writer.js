// Stand-in until the dialect writer lands: GLSL ES 3.00 passes as it is.
export async function loadDialectWriter() {
    return {
        toEs300(text, fileName) {
            if (/^\s*#version\s+300\s+es\b/m.test(text)) return {text};
            const line = text.slice(0, text.search(/#version|$/)).split('\n').length;
            return {error: {file: fileName, line, message: `${fileName}:${line}: the page takes GLSL 3.30 or GLSL ES 3.00`}};
        },
    };
}
