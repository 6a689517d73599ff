// The errors a shader compiler's log names, found in the program's console
// lines, each with the file and the line of the visitor's text it points at.
//
// The program prints "Shader compilation failed." and the compiler's log for
// each shader that fails, then "Shader linking failed." and the linker's log,
// then "Could not compile <minimal|base> shader program."; the messages do
// not name the file. Within one program the vertex shader is compiled before
// the fragment shader, so two failed compiles are its .vert and its .frag;
// where only one failed, the linker's log says which ("Vertex shader is not
// compiled." in chromium). The program compiles the files' text as it is,
// and the dialect writer keeps every line where it was, so the log's line is
// the line of the file the visitor wrote.

// "ERROR: 0:12: message" (ANGLE, as every browser's WebGL reports, and
// glslang), "0:12(3): error: message" (Mesa), "0(12) : error C1008: message"
// (NVIDIA).
const errorForms = [
    /^ERROR: \d+:(\d+): (.*)$/,
    /^\d+:(\d+)\(\d+\): error: (.*)$/,
    /^\d+\((\d+)\) : error (.*)$/,
];
const programEnd = /^Could not compile (minimal|base) shader program\.$/;

function errorIn(line) {
    for (const form of errorForms) {
        const found = form.exec(line);
        if (found) return {line: Number(found[1]), message: found[2].trim()};
    }
    return null;
}

// The stage of a lone failed compile, as the linker's log names it.
function stageOf(linkLog) {
    if (/\bfragment\b/i.test(linkLog) && !/\bvertex\b/i.test(linkLog)) return 'frag';
    return 'vert';
}

// The errors of one program's messages: compiles, each [error...], and the
// linker's log as one text.
function errorsOfProgram(program, compiles, linkLog, directory) {
    const stages = compiles.length >= 2 ? ['vert', 'frag'] : [stageOf(linkLog)];
    return compiles.slice(0, 2).flatMap((errors, index) =>
        errors.map((error) => ({file: `${directory}/${program}.${stages[index]}`, ...error})));
}

// [{file, line, message}] for each error that `lines` (the console's lines
// as the program printed them, a line may hold several) name, in order;
// `file` is `directory` and the file's name. A program whose closing line has
// not come yet is taken for the base program, which is built after the
// minimal one and ends the start-up's messages.
export function findShaderErrors(lines, directory = 'Shaders/300es') {
    const found = [];
    let compiles = [];
    let linkLog = '';
    let block = null;
    const close = (program) => {
        found.push(...errorsOfProgram(program, compiles, linkLog, directory));
        compiles = [];
        linkLog = '';
        block = null;
    };
    for (const line of lines.flatMap((text) => String(text).split(/\r?\n/))) {
        if (line === 'Shader compilation failed.') {
            compiles.push([]);
            block = 'compile';
        } else if (line === 'Shader linking failed.') {
            block = 'link';
        } else if (programEnd.test(line)) {
            close(programEnd.exec(line)[1]);
        } else if (block === 'compile') {
            const error = errorIn(line);
            if (error) compiles.at(-1).push(error);
        } else if (block === 'link') {
            linkLog += `${line}\n`;
        }
    }
    if (compiles.length > 0) close('base');
    return found;
}
