#version 330
// Fog by depth: every object, the sky box too, fades into the fog colour
// with its distance from the eye, exponentially: at 1 / FOG_DENSITY units
// about two thirds of it is fog. Lit as the lit set; mode 0 unlit.
// Units: firstTexture 0. Uniforms: mode, lightDirection.
in vec2 texCoord;
in vec3 worldPosition;
in vec3 worldNormal;
in float eyeDistance;

uniform sampler2D firstTexture;
uniform vec3 lightDirection;
uniform int mode;

out vec4 fragColor;

const float AMBIENT = 0.35;
const vec3 FOG_COLOUR = vec3(0.72, 0.76, 0.80);
const float FOG_DENSITY = 0.006;

void main() {
    vec4 colour = texture(firstTexture, texCoord);
    vec3 lit = colour.rgb;
    if (mode != 0) {
        vec3 toLight = normalize(lightDirection - worldPosition);
        float diffuse = max(dot(normalize(worldNormal), toLight), 0.0);
        lit *= AMBIENT + (1.0 - AMBIENT) * diffuse;
    }
    float fog = 1.0 - exp(-FOG_DENSITY * eyeDistance);
    fragColor = vec4(mix(lit, FOG_COLOUR, fog), mix(colour.a, 1.0, fog));
}
