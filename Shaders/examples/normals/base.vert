#version 330
// Normals shown as colours: the smooth normal of every object, in world
// space. Attributes: in_Position, in_Normal. Uniforms: M, V_cam, projMat
// (arrives transposed; its depth range, near 1 and far 3, is replaced).
in vec3 in_Position;
in vec3 in_Normal;

uniform mat4 M;
uniform mat4 V_cam;
uniform mat4 projMat;

out vec3 worldNormal;

const float NEAR = 1.0;
const float FAR = 2000.0;

void main() {
    mat4 projection = transpose(projMat);
    projection[2][2] = -(FAR + NEAR) / (FAR - NEAR);
    projection[3][2] = -2.0 * FAR * NEAR / (FAR - NEAR);
    gl_Position = projection * V_cam * M * vec4(in_Position, 1.0);
    worldNormal = mat3(M) * in_Normal;
}
