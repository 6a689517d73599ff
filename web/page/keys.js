// Every key the program answers, with its action: the page's Keys panel
// shows them, and the controls tables of the documentation say the same
// (a test compares the two). The texts are the tables' cells, word for word.

// Camera: [input, action].
export const cameraKeys = [
    ['mouse', 'look around: moving the cursor right turns the view right, down turns it down (0.3° per pixel). The cursor is neither hidden nor captured: move it over the window. Looking up or down stops at 90°.'],
    ['W / S', 'forward / backward along the view direction'],
    ['A / D', 'left / right'],
    ['space bar / B', 'up / down'],
    ['Left Shift (held)', 'fast: 3.2 units per frame instead of 0.3'],
];

// Light, shading and display: [key, kind, action].
export const displayKeys = [
    ['F / H', 'held', 'light −1 / +1 along x, every frame'],
    ['N / Y', 'held', 'light −1 / +1 along y'],
    ['T / G', 'held', 'light −1 / +1 along z'],
    ['V', 'on release', 'select the other object (water or cliff; the cliff is selected at start); the title says "selected object: water" or "selected object: cliff"'],
    ['C', 'on release', 'next shading mode of the selected object (none, flat shading, flat shading with specular, gouraud shading, gouraud shading with specular, bumpmap shading, bumpmap shading with specular, then none again); the title shows its name'],
    ['M', 'on release', 'wireframe on or off. The first press leaves the picture filled, the second shows wireframe'],
    ['K / L', 'held', 'polygon offset of the shadow pass +0.1 / −0.1 per frame; each change prints "polyoffset = " and the value'],
    ['R', 'on press', 'input recording on or off'],
    ['P', 'on press', 'playback mode on or off'],
    ['Esc or Q', 'held', 'quit (closing the window quits too)'],
];
