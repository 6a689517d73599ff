#version 120
// Coordinate-system gizmo: one GL_LINES segment per frame axis.
// Attributes: in_Position (model space), in_Orientation (0.0 .. 17.0, the
// point's index within its triangle's 18 points: corner * 6 + axis * 2 + end,
// axis 0 normal, 1 bitangent, 2 tangent; end 0 at the corner, 1 at the tip).
// Uniforms: mvMat (model-view, as is), projMat (the scene's projection,
// uploaded transposed, so it is transposed back here).
// Depth: the scene's projection is built with near 1 and far 3, which would
// clip the scene; like the base program, only its field of view and aspect
// are kept, with the depth range near 1 / far 2000 of the base program's
// camera, so that the segments are depth-tested against the scene.
attribute vec3 in_Position;
attribute float in_Orientation;
uniform mat4 mvMat;
uniform mat4 projMat;
varying vec3 axisColour;

const float CAMERA_NEAR = 1.0;
const float CAMERA_FAR = 2000.0;

mat4 withDepthRange(mat4 transposedProjection, float near, float far) {
    mat4 projection = transpose(transposedProjection);
    projection[2][2] = -(far + near) / (far - near);
    projection[3][2] = -2.0 * far * near / (far - near);
    return projection;
}

// Normal blue, bitangent green, tangent red: the frame's z, y and x.
vec3 colourOfAxis(float axis) {
    if (axis < 0.5) return vec3(0.0, 0.0, 1.0);
    if (axis < 1.5) return vec3(0.0, 1.0, 0.0);
    return vec3(1.0, 0.0, 0.0);
}

void main() {
    float axis = mod(floor((in_Orientation + 0.5) / 2.0), 3.0);
    axisColour = colourOfAxis(axis);
    gl_Position = withDepthRange(projMat, CAMERA_NEAR, CAMERA_FAR) * mvMat *
                  vec4(in_Position, 1.0);
}
