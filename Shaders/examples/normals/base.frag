#version 330
// Normals shown as colours: each axis of the unit normal, from -1 to 1, as
// a channel from 0 to 1. Up (+y) is green, +x red, +z blue. Opaque, so the
// water shows its own normals rather than what lies beneath.
in vec3 worldNormal;

out vec4 fragColor;

void main() {
    fragColor = vec4(normalize(worldNormal) * 0.5 + 0.5, 1.0);
}
