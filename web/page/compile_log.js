// Stand-in until the compile log reader lands: every error is put in base.frag.
export function findShaderErrors(lines) {
    const errors = [];
    for (const text of lines) {
        for (const match of text.matchAll(/ERROR: \d+:(\d+): (.*)/g)) {
            errors.push({file: 'base.frag', line: Number(match[1]), message: match[2]});
        }
    }
    return errors;
}
