// The page's two downloads, the compiled program and its data, each checked
// as it arrives. What can go wrong with one becomes a DownloadError whose
// message is one line naming the file and what is wrong with it.
import {readTar, TarError} from './tar.js';

export class DownloadError extends Error {}

async function fetchFile(file) {
    let response;
    try {
        response = await fetch(file);
    } catch (error) {
        throw new DownloadError(`${file}: could not be downloaded (${error.message}).`);
    }
    if (response.status === 404 || response.status === 410) {
        throw new DownloadError(`${file}: not found (HTTP ${response.status}).`);
    }
    if (!response.ok) {
        throw new DownloadError(
            `${file}: the server answered HTTP ${response.status} ${response.statusText}.`.trim());
    }
    return response;
}

// island.wasm, compiled while it downloads where the server says what it is.
export async function downloadProgram(file) {
    const response = await fetchFile(file);
    try {
        if (response.headers.get('Content-Type')?.startsWith('application/wasm')) {
            return await WebAssembly.compileStreaming(response);
        }
        return await WebAssembly.compile(await response.arrayBuffer());
    } catch (error) {
        if (error instanceof WebAssembly.CompileError) {
            throw new DownloadError(`${file}: damaged, not a WebAssembly module (${error.message}).`);
        }
        throw new DownloadError(`${file}: could not be downloaded (${error.message}).`);
    }
}

// island.data: a tar, gzip-compressed; a server may have undone the
// compression already (Content-Encoding), so the gzip magic number decides.
// onProgress(share) hears how much of it has arrived, from 0 to 1.
export async function downloadData(file, onProgress) {
    const response = await fetchFile(file);
    const bytes = await readBody(file, response, onProgress);
    const gzip = bytes[0] === 0x1f && bytes[1] === 0x8b;
    if (!gzip && !looksLikeTar(bytes)) {
        throw new DownloadError(`${file}: damaged, neither gzip-compressed nor a tar archive.`);
    }
    const tar = gzip ? await gunzip(file, bytes) : bytes;
    let entries;
    try {
        entries = readTar(tar);
    } catch (error) {
        if (!(error instanceof TarError)) throw error;
        throw new DownloadError(`${file}: damaged, a bad tar archive (${error.message}).`);
    }
    if (!entries.some((entry) => entry.path === '/config.cfg')) {
        throw new DownloadError(`${file}: damaged, the archive holds no config.cfg.`);
    }
    return entries;
}

async function readBody(file, response, onProgress) {
    // Without Content-Encoding, Content-Length counts the bytes that arrive.
    const encoded = response.headers.has('Content-Encoding');
    const total = encoded ? 0 : Number(response.headers.get('Content-Length')) || 0;
    const chunks = [];
    let received = 0;
    try {
        for (const reader = response.body.getReader();;) {
            const chunk = await reader.read();
            if (chunk.done) break;
            chunks.push(chunk.value);
            received += chunk.value.length;
            if (total > 0) onProgress(Math.min(1, received / total));
        }
    } catch (error) {
        throw new DownloadError(
            `${file}: cut short after ${received} bytes (${error.message}).`);
    }
    if (total > 0 && received < total) {
        throw new DownloadError(`${file}: cut short, ${received} of ${total} bytes.`);
    }
    const bytes = new Uint8Array(received);
    let at = 0;
    for (const chunk of chunks) {
        bytes.set(chunk, at);
        at += chunk.length;
    }
    return bytes;
}

function looksLikeTar(bytes) {
    return new TextDecoder().decode(bytes.subarray(257, 262)) === 'ustar';
}

// A gzip stream that is whole up to where it stops was cut short; one that
// goes wrong before that holds damaged data. The browsers' messages do not
// tell the two apart, so the input is written in parts, and what failed
// tells: a part, or the end.
const gzipPart = 1 << 16;
async function gunzip(file, bytes) {
    const decompression = new DecompressionStream('gzip');
    const output = new Response(decompression.readable).arrayBuffer();
    const writer = decompression.writable.getWriter();
    let wholeUpToTheEnd = false;
    try {
        for (let at = 0; at < bytes.length; at += gzipPart) {
            await writer.write(bytes.subarray(at, at + gzipPart));
        }
        wholeUpToTheEnd = true;
        await writer.close();
        return new Uint8Array(await output);
    } catch {
        output.catch(() => {});  // the same failure, said once
        throw new DownloadError(wholeUpToTheEnd ?
            `${file}: cut short, its gzip stream ends too soon.` :
            `${file}: damaged, not valid gzip data.`);
    }
}
