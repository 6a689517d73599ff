#version 120
// Coordinate-system gizmo: each segment in the flat colour of its axis
// (normal blue, bitangent green, tangent red), fully opaque.
varying vec3 axisColour;

void main() {
    gl_FragColor = vec4(axisColour, 1.0);
}
