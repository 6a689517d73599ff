// Shader files from the visitor's disk, given to Load one by one or as a
// folder, matched by name. Each file is checked before it is read whole:
// a name that is no file of a set, a size no shader has, or bytes that are
// not UTF-8 text get one line each, and the file is left out.
import {setFileNames} from './set_files.js';

export const fileSizeLimit = 256 * 1024;

function baseName(file) {
    return (file.webkitRelativePath || file.name).split('/').pop();
}

async function readText(file) {
    if (file.size > fileSizeLimit) {
        throw new Error(`${file.size} bytes, more than the ${fileSizeLimit / 1024} KB a shader file may have`);
    }
    const bytes = new Uint8Array(await file.arrayBuffer());
    if (bytes.includes(0)) throw new Error('binary data, not text');
    try {
        return new TextDecoder('utf-8', {fatal: true}).decode(bytes);
    } catch {
        throw new Error('not UTF-8 text');
    }
}

// {set, lines}: the files read, by name, and one line for each left out.
export async function readShaderFiles(fileList) {
    const set = {};
    const lines = [];
    for (const file of fileList) {
        const name = baseName(file);
        const shown = file.webkitRelativePath || file.name;
        if (!setFileNames.includes(name)) {
            lines.push(`${shown}: left out, not a file of a shader set (${setFileNames.join(', ')}).`);
            continue;
        }
        try {
            set[name] = await readText(file);
        } catch (error) {
            lines.push(`${shown}: left out, ${error.message}.`);
        }
    }
    return {set, lines};
}
