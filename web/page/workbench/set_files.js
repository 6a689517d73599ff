// The four files of a shader set, as the program reads them from
// Shaders/300es/: base.* draws everything, minimal.* must compile and link.
// A set here is {name: text}; a name it lacks keeps the shipped file.
export const setFileNames = ['base.vert', 'base.frag', 'minimal.vert', 'minimal.frag'];

export const shippedFolder = '/Shaders/300es';

// The files of `folder` in a program's file system, those that exist.
export function readSet(FS, folder) {
    const set = {};
    for (const name of setFileNames) {
        try {
            set[name] = FS.readFile(`${folder}/${name}`, {encoding: 'utf8'});
        } catch {
            // The folder lacks it: an example shares the shipped minimal program.
        }
    }
    return set;
}

// Writes `set`'s files over the shipped ones, where the program reads them.
export function writeSet(FS, set) {
    for (const [name, text] of Object.entries(set)) FS.writeFile(`${shippedFolder}/${name}`, text);
}

// The files of `set` whose text differs from `shipped`'s.
export function changedFiles(set, shipped) {
    return Object.fromEntries(Object.entries(set).filter(([name, text]) => text !== shipped[name]));
}
