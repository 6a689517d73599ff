#version 330
// The smallest set that draws every object lit: the colour texture times an
// ambient share plus the light's diffuse share. Mode 0 (the sky box and the
// light sphere) shows the texture as it is. No shadows, no reflection: the
// shadow and reflection passes draw into targets this set never reads.
// Units: firstTexture 0. Uniforms: mode, lightDirection (the light's world
// position; it looks at the origin).
in vec2 texCoord;
in vec3 worldPosition;
in vec3 worldNormal;

uniform sampler2D firstTexture;
uniform vec3 lightDirection;
uniform int mode;

out vec4 fragColor;

const float AMBIENT = 0.35;

void main() {
    vec4 colour = texture(firstTexture, texCoord);
    if (mode == 0) {
        fragColor = colour;
        return;
    }
    vec3 toLight = normalize(lightDirection - worldPosition);
    float diffuse = max(dot(normalize(worldNormal), toLight), 0.0);
    fragColor = vec4(colour.rgb * (AMBIENT + (1.0 - AMBIENT) * diffuse), colour.a);
}
