#version 120
// Coordinate-system gizmo: one GL_LINES segment per frame axis.
// Attributes: in_Position (model space), in_Orientation (0.0 .. 17.0, the
// point's index within its triangle's 18 points: corner * 6 + axis * 2 + end,
// axis 0 normal, 1 bitangent, 2 tangent; end 0 at the corner, 1 at the tip).
// Uniforms: mvMat (model-view, as is), projMat (the projection, uploaded
// transposed, so it is transposed back here).
attribute vec3 in_Position;
attribute float in_Orientation;
uniform mat4 mvMat;
uniform mat4 projMat;
varying vec3 axisColour;

// Normal blue, bitangent green, tangent red: the frame's z, y and x.
vec3 colourOfAxis(float axis) {
    if (axis < 0.5) return vec3(0.0, 0.0, 1.0);
    if (axis < 1.5) return vec3(0.0, 1.0, 0.0);
    return vec3(1.0, 0.0, 0.0);
}

void main() {
    float axis = mod(floor((in_Orientation + 0.5) / 2.0), 3.0);
    axisColour = colourOfAxis(axis);
    gl_Position = transpose(projMat) * mvMat * vec4(in_Position, 1.0);
}
