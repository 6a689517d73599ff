// The errors found in the program's console lines point at the file and the
// line the visitor wrote.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {findShaderErrors} from '../page/compile_log.js';

const failed = 'Shader compilation failed.';
const linkFailed = 'Shader linking failed.';
const base = 'Could not compile base shader program.';
const minimal = 'Could not compile minimal shader program.';
const undeclared = "ERROR: 0:4: 'q' : undeclared identifier\nERROR: 0:4: 'constructor' : not enough data\n";

// Each row: the console's lines, then the [file, line] of each error found.
const rows = [
    // The stage of a lone failed compile is the linker's to say (chromium's words).
    ['a vertex shader alone failed',
        [failed, undeclared, linkFailed, 'Vertex shader is not compiled.\n', base],
        [['Shaders/300es/base.vert', 4], ['Shaders/300es/base.vert', 4]]],
    ['a fragment shader alone failed',
        [failed, "ERROR: 0:12: 'x' : syntax error\n", linkFailed, 'Fragment shader is not compiled.\n', base],
        [['Shaders/300es/base.frag', 12]]],
    // Two failed compiles are the vertex and the fragment shader, in that order.
    ['both failed',
        [failed, 'ERROR: 0:7: a\n', failed, 'ERROR: 0:9: b\n', linkFailed, 'Vertex shader is not compiled.\n', base],
        [['Shaders/300es/base.vert', 7], ['Shaders/300es/base.frag', 9]]],
    // The program is named by the line that closes its messages.
    ['the minimal program failed',
        ['OpenGL ES 3.0 (WebGL 2.0)', failed, 'ERROR: 0:3: c\n', linkFailed,
            'Fragment shader is not compiled.\n', minimal],
        [['Shaders/300es/minimal.frag', 3]]],
    // Mesa's and NVIDIA's forms, one line of the console each.
    ['the log forms of other drivers',
        [failed, '0:12(3): error: `x\' undeclared', failed, '0(21) : error C1008: undefined variable "y"', base],
        [['Shaders/300es/base.vert', 12], ['Shaders/300es/base.frag', 21]]],
    // Warnings, the log's summary, the link log's own errors and other lines name no place.
    ['lines that are no error of a file',
        [failed, 'WARNING: 0:2: \'x\' : unused\nERROR: 2 compilation errors.  No code generated.\nERROR: 0:5: e\n',
            linkFailed, 'ERROR: 0:8: link error\nFragment shader is not compiled.', 'GL: invalid operation', base],
        [['Shaders/300es/base.frag', 5]]],
    // Messages the closing line has not followed yet are the base program's.
    ['the start-up has not closed the messages yet', [failed, 'ERROR: 0:6: d'], [['Shaders/300es/base.vert', 6]]],
    ['no failure', ['OpenGL ES 3.0 (WebGL 2.0)', 'ERROR: 0:6: not after a failure'], []],
];

test('each error of a log is found at the file and line it names', () => {
    for (const [what, lines, expected] of rows) {
        assert.deepEqual(findShaderErrors(lines).map(({file, line}) => [file, line]), expected, what);
    }
});

test('an error keeps its message, and the set\'s folder may be another', () => {
    assert.deepEqual(findShaderErrors([failed, "ERROR: 0:4: 'q' : undeclared identifier\r\n", base],
        'Shaders/examples/fog/300es'),
    [{file: 'Shaders/examples/fog/300es/base.vert', line: 4, message: "'q' : undeclared identifier"}]);
});
