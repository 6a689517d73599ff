#version 120
// Base program (placeholder until the shading modes land): the colour texture.
// Units: firstTexture 0.
uniform sampler2D firstTexture;
varying vec2 texCoord;

void main() {
    gl_FragColor = texture2D(firstTexture, texCoord);
}
