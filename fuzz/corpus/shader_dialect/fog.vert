#version 330
// Fog by depth: the lit set, with the distance from the eye handed on.
// Attributes: in_Position, in_Normal, in_TexCoord. Uniforms: M, V_cam,
// projMat (arrives transposed; its depth range, near 1 and far 3, is
// replaced).
in vec3 in_Position;
in vec3 in_Normal;
in vec2 in_TexCoord;

uniform mat4 M;
uniform mat4 V_cam;
uniform mat4 projMat;

out vec2 texCoord;
out vec3 worldPosition;
out vec3 worldNormal;
out float eyeDistance;

const float NEAR = 1.0;
const float FAR = 2000.0;

void main() {
    vec4 world = M * vec4(in_Position, 1.0);
    vec4 eye = V_cam * world;
    mat4 projection = transpose(projMat);
    projection[2][2] = -(FAR + NEAR) / (FAR - NEAR);
    projection[3][2] = -2.0 * FAR * NEAR / (FAR - NEAR);
    gl_Position = projection * eye;
    texCoord = in_TexCoord;
    worldPosition = world.xyz;
    worldNormal = mat3(M) * in_Normal;
    eyeDistance = length(eye.xyz);
}
