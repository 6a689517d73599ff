// Built per mode where the program can: the code reads the mode through the
// macro SHADING_MODE, which a build for one mode defines as that number, and
// falls back to the uniform. The casters sway with "timer" in every pass.
// The reflection pass mirrors the scene in the plane y = 0, the island's top.
#version 120
attribute vec3 in_Position;
attribute vec3 in_Normal;
attribute vec2 in_TexCoord;

uniform mat4 M, V_cam, projMat, V_shadow, P_shadow;
uniform float timer;
uniform int mode;
#ifndef SHADING_MODE
#define SHADING_MODE mode
#endif

varying vec2 uv;
varying vec3 normal, world;
varying vec4 shadowCoord, screen;

// Depth over [near, far] instead of the uploaded matrices' own range.
vec4 project(mat4 p, vec3 eye, float near, float far) {
    return vec4(p[0][0] * eye.x, p[1][1] * eye.y,
                (-(far + near) * eye.z - 2.0 * far * near) / (far - near), -eye.z);
}

void main() {
    vec4 w = M * vec4(in_Position, 1.0);
    if (SHADING_MODE != 0 && SHADING_MODE != 6) w.z += sin(2.0 * timer) * 0.1 * (w.y + 20.0);
    world = w.xyz;
    shadowCoord = project(P_shadow, (V_shadow * w).xyz, 50.0, 400.0);
    if (SHADING_MODE == 7) w.y = -w.y;
    uv = in_TexCoord;
    normal = mat3(M) * in_Normal;
    vec3 eye = (V_cam * w).xyz;
    gl_Position = SHADING_MODE == -2 ? project(projMat, eye, 50.0, 400.0) : project(projMat, eye, 1.0, 2000.0);
    screen = gl_Position;
}
