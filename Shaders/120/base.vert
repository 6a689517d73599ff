#version 120
// Base program (placeholder until the shading modes land): textured geometry.
// Attributes: in_Position, in_FlatNormal, in_Normal, in_FlatTangent, in_Tangent,
// in_X, in_Y, in_TexCoord. Uniforms: mvMat, projMat (transposed), M, V_cam,
// invmvpMat, timer, mode.
attribute vec3 in_Position;
attribute vec2 in_TexCoord;
uniform mat4 mvMat;
uniform mat4 projMat;
varying vec2 texCoord;

void main() {
    texCoord = in_TexCoord;
    gl_Position = transpose(projMat) * mvMat * vec4(in_Position, 1.0);
}
