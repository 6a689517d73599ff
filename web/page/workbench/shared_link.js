// A shader set in the address's fragment (#shaders=…), so that a link runs
// it: the changed files as JSON, deflate-raw compressed, then base64url. What
// a fragment holds is checked as it unpacks, and a bad one comes back as one
// line saying what is wrong with it.
import {setFileNames} from './set_files.js';

export const fragmentKey = 'shaders';
// More than any set needs; it bounds what a crafted link can make the page unpack.
export const unpackedLimit = 256 * 1024;

export class LinkError extends Error {}

function toBase64Url(bytes) {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return btoa(text).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function fromBase64Url(text) {
    if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1) {
        throw new LinkError('it is not base64url text');
    }
    const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
    return Uint8Array.from(binary, (character) => character.charCodeAt(0));
}

export async function encodeSet(set) {
    const json = new TextEncoder().encode(JSON.stringify(set));
    const packed = new Response(new Blob([json]).stream().pipeThrough(new CompressionStream('deflate-raw')));
    return `${fragmentKey}=${toBase64Url(new Uint8Array(await packed.arrayBuffer()))}`;
}

// The bytes that `packed` unpacks to, refused past the limit without
// unpacking the rest.
async function inflate(packed) {
    const reader = new Blob([packed]).stream().pipeThrough(new DecompressionStream('deflate-raw')).getReader();
    const chunks = [];
    let size = 0;
    try {
        for (;;) {
            const {done, value} = await reader.read();
            if (done) break;
            size += value.length;
            if (size > unpackedLimit) {
                reader.cancel().catch(() => {});
                throw new LinkError(`it unpacks to more than ${unpackedLimit / 1024} KB`);
            }
            chunks.push(value);
        }
    } catch (error) {
        if (error instanceof LinkError) throw error;
        throw new LinkError('it is cut short or damaged, not whole deflate data');
    }
    return new Blob(chunks).text();
}

function checkedSet(json) {
    let set;
    try {
        set = JSON.parse(json);
    } catch {
        throw new LinkError('it does not hold a shader set');
    }
    if (set === null || typeof set !== 'object' || Array.isArray(set)) {
        throw new LinkError('it does not hold a shader set');
    }
    for (const [name, text] of Object.entries(set)) {
        if (!setFileNames.includes(name) || typeof text !== 'string') {
            throw new LinkError(`it holds ${JSON.stringify(name)}, which is not a file of a set`);
        }
    }
    return set;
}

// The set in `hash` (location.hash), null where it holds none; throws a
// LinkError that says what is wrong with a fragment that holds a bad one.
export async function decodeSet(hash) {
    const fields = new URLSearchParams(hash.replace(/^#/, ''));
    if (!fields.has(fragmentKey)) return null;
    return checkedSet(await inflate(fromBase64Url(fields.get(fragmentKey))));
}
