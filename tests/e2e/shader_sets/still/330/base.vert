#version 330
// Nothing here moves with the clock, so the shadow map may be kept. The
// shadow pass cuts its casters with the normal-map sampler, whose unit the
// program sets only when the first bump-mapped object draws. The position is
// placed at location 0 here, the others are left to the linker. The
// fragment stage reads each triangle's number (gl_PrimitiveID).
layout(location = 0) in vec3 in_Position;
in vec3 in_Normal;
in vec2 in_TexCoord;

uniform mat4 M, V_cam, projMat, V_shadow, P_shadow;
uniform int mode;

out vec2 uv;
out vec3 normal, world;
out vec4 shadowCoord;

// Depth over [near, far] instead of the uploaded matrices' own range.
vec4 project(mat4 p, vec3 eye, float near, float far) {
    return vec4(p[0][0] * eye.x, p[1][1] * eye.y,
                (-(far + near) * eye.z - 2.0 * far * near) / (far - near), -eye.z);
}

void main() {
    vec4 w = M * vec4(in_Position, 1.0);
    world = w.xyz;
    shadowCoord = project(P_shadow, (V_shadow * w).xyz, 50.0, 400.0);
    if (mode == 7) w.y = -28.0 - w.y;
    uv = in_TexCoord;
    normal = mat3(M) * in_Normal;
    vec3 eye = (V_cam * w).xyz;
    gl_Position = mode == -2 ? project(projMat, eye, 50.0, 400.0) : project(projMat, eye, 1.0, 2000.0);
}
