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
// A gzip stream is inflated as it arrives, so that little is left to do once
// the last byte is in. onProgress(share) hears how much of it has arrived,
// from 0 to 1.
export async function downloadData(file, onProgress) {
    const response = await fetchFile(file);
    const inflation = inflateAsItArrives();
    let bytes;
    try {
        bytes = await readBody(file, response, onProgress, inflation.arrived);
    } catch (error) {
        inflation.abandon();
        throw error;
    }
    const gzip = bytes[0] === 0x1f && bytes[1] === 0x8b;
    if (!gzip && !looksLikeTar(bytes)) {
        throw new DownloadError(`${file}: damaged, neither gzip-compressed nor a tar archive.`);
    }
    const tar = gzip ? await inflation.finish(file) : bytes;
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

async function readBody(file, response, onProgress, onChunk) {
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
            onChunk(chunk.value);
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
// tells: a part, or the end. The parts go in as the download brings them,
// once its first two bytes say it is gzip; what goes wrong is said by
// finish(), after the download's own failures.
const gzipPart = 1 << 16;
function inflateAsItArrives() {
    let decompression = null;
    let output = null;
    let writer = null;
    let writing = Promise.resolve();
    let damaged = false;
    let head = new Uint8Array(0);  // the first bytes, until there are two
    const write = (bytes) => {
        for (let at = 0; at < bytes.length; at += gzipPart) {
            const part = bytes.subarray(at, at + gzipPart);
            writing = writing.then(() => (damaged ? undefined : writer.write(part)))
                          .catch(() => (damaged = true));
        }
    };
    const start = () => {
        decompression = new DecompressionStream('gzip');
        output = new Response(decompression.readable).arrayBuffer();
        output.catch(() => {});  // said by finish()
        writer = decompression.writable.getWriter();
    };
    return {
        arrived(chunk) {
            if (head === null) {
                if (writer) write(chunk);
                return;
            }
            const joined = new Uint8Array(head.length + chunk.length);
            joined.set(head);
            joined.set(chunk, head.length);
            if (joined.length < 2) {
                head = joined;
                return;
            }
            head = null;
            if (joined[0] === 0x1f && joined[1] === 0x8b) {
                start();
                write(joined);
            }
        },
        async finish(file) {
            await writing;
            if (damaged) throw new DownloadError(`${file}: damaged, not valid gzip data.`);
            try {
                await writer.close();
                return new Uint8Array(await output);
            } catch {
                throw new DownloadError(`${file}: cut short, its gzip stream ends too soon.`);
            }
        },
        abandon() {
            writing.then(() => writer?.abort()).catch(() => {});
        },
    };
}
