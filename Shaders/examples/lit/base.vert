#version 330
// The smallest set that draws every object lit: one light, diffuse only.
// Attributes: in_Position, in_Normal (model space), in_TexCoord.
// Uniforms: M (model to world), V_cam (world to eye: the camera's, or the
// light's in the shadow pass), projMat (arrives transposed), lightDirection
// (the light's world position).
// The projection is built with near 1 and far 3, which would cut the scene
// off 3 units from the eye: only its field of view and aspect are kept, and
// depth is mapped over 1 to 2000 instead.
in vec3 in_Position;
in vec3 in_Normal;
in vec2 in_TexCoord;

uniform mat4 M;
uniform mat4 V_cam;
uniform mat4 projMat;

out vec2 texCoord;
out vec3 worldPosition;
out vec3 worldNormal;

const float NEAR = 1.0;
const float FAR = 2000.0;

mat4 projection() {
    mat4 p = transpose(projMat);  // uploaded transposed
    p[2][2] = -(FAR + NEAR) / (FAR - NEAR);
    p[3][2] = -2.0 * FAR * NEAR / (FAR - NEAR);
    return p;
}

void main() {
    vec4 world = M * vec4(in_Position, 1.0);
    gl_Position = projection() * V_cam * world;
    texCoord = in_TexCoord;
    worldPosition = world.xyz;
    worldNormal = mat3(M) * in_Normal;
}
