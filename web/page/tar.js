// Reads a POSIX tar (ustar, with the pax extended headers that name long
// paths) into a list of its directories and regular files. Every header's
// checksum is checked, so a damaged archive is refused as a whole before the
// program sees any of it. The files keep their bytes in `tar` without a copy.

const blockSize = 512;
// Where each field of a header block lies: [offset, length].
const field = {
    name: [0, 100],
    size: [124, 12],
    checksum: [148, 8],
    type: [156, 1],
    magic: [257, 6],
    prefix: [345, 155],
};
// The checksum counts its own field as if it held blanks.
const checksumBlanks = 8 * 0x20;

export class TarError extends Error {}

export function readTar(tar) {
    const entries = [];
    const decoder = new TextDecoder();
    let longName = null;
    for (let at = 0; ; ) {
        if (at + blockSize > tar.length) throw new TarError(`cut short at byte ${at}`);
        const header = tar.subarray(at, at + blockSize);
        if (header.every((byte) => byte === 0)) break;  // the zero blocks at the end
        const text = ([offset, length]) =>
            decoder.decode(header.subarray(offset, offset + length)).replace(/\0.*$/s, '');
        const octal = (where) => parseInt(text(where).trim() || '0', 8);
        if (octal(field.checksum) !== checksumOf(header)) {
            throw new TarError(`bad header checksum at byte ${at}`);
        }
        const size = octal(field.size);
        const body = tar.subarray(at + blockSize, at + blockSize + size);
        if (body.length < size) throw new TarError(`cut short in ${text(field.name)}`);
        const name = text(field.name);
        const prefix = text(field.magic).startsWith('ustar') ? text(field.prefix) : '';
        const path = '/' + (longName ?? (prefix ? `${prefix}/${name}` : name)).replace(/\/$/, '');
        longName = null;
        const type = text(field.type);
        if (type === 'x') {
            longName = decoder.decode(body).match(/^\d+ path=(.*)$/m)?.[1] ?? null;
        } else if (type === '5') {
            entries.push({path, directory: true});
        } else if (type === '0' || type === '') {
            entries.push({path, directory: false, body});
        }
        at += blockSize + Math.ceil(size / blockSize) * blockSize;
    }
    return entries;
}

function checksumOf(header) {
    const [offset, length] = field.checksum;
    let sum = checksumBlanks;
    for (let i = 0; i < header.length; ++i) {
        if (i < offset || i >= offset + length) sum += header[i];
    }
    return sum;
}

// Lays the entries out in an emscripten file system.
export function writeEntries(FS, entries) {
    for (const {path, directory, body} of entries) {
        const slash = path.lastIndexOf('/');
        if (directory) {
            FS.mkdirTree(path);
            continue;
        }
        if (slash > 0) FS.mkdirTree(path.slice(0, slash));
        FS.createDataFile(path.slice(0, slash) || '/', path.slice(slash + 1), body, true, true, true);
    }
}
