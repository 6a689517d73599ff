#version 330
// Minimal program: positions through "mvMat" and "projMat" (the projection
// arrives transposed), one flat colour. Built at start-up to prove the
// shader path works; nothing is drawn with it.
// Attributes: in_Position. Uniforms: mvMat, projMat.
in vec3 in_Position;
uniform mat4 mvMat;
uniform mat4 projMat;

void main() {
    gl_Position = transpose(projMat) * mvMat * vec4(in_Position, 1.0);
}
