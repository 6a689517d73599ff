// Written from the interface alone, as a newcomer would: one program that
// branches on "mode" at run time, with defines, a helper and a uniform of its
// own. The casters sway with "timer" in every pass, the shadow pass included.
// Two attributes are placed here; the position is left to the linker. Each
// corner's own number (gl_VertexID) tilts its normal, so corners with equal
// attributes still light differently.
#version 330
#define FAR 2000.0
#define LIGHT_NEAR 50.0
#define LIGHT_FAR 400.0
#define SWAY 0.08

layout(location = 0) in vec3 in_Normal;
layout(location = 2) in vec2 in_TexCoord;
in vec3 in_Position;

uniform mat4 M, V_cam, projMat, V_shadow, P_shadow;
uniform float timer;
uniform int mode;
uniform vec3 tint;  // declared, never set

out vec2 uv;
out vec3 normal, world;
out vec4 shadowCoord, screen;

// projMat and P_shadow arrive transposed; their scale, with our own depth range.
vec4 project(mat4 p, vec3 eye, float near, float far) {
    return vec4(p[0][0] * eye.x, p[1][1] * eye.y,
                (-(far + near) * eye.z - 2.0 * far * near) / (far - near), -eye.z);
}

void main() {
    vec4 w = M * vec4(in_Position, 1.0);
    if (mode != 0 && mode != 6) w.x += sin(3.0 * timer) * SWAY * (w.y + 20.0);
    world = w.xyz;
    shadowCoord = project(P_shadow, (V_shadow * w).xyz, LIGHT_NEAR, LIGHT_FAR);
    if (mode == 7) w.y = -28.0 - w.y;  // mirrored in the water
    uv = in_TexCoord;
    normal = mat3(M) * in_Normal + 0.4 * vec3(float(gl_VertexID % 3) - 1.0);
    vec3 eye = (V_cam * w).xyz;  // the light's view in the shadow pass
    gl_Position = mode == -2 ? project(projMat, eye, LIGHT_NEAR, LIGHT_FAR)
                             : project(projMat, eye, 1.0, FAR);
    screen = gl_Position;
}
