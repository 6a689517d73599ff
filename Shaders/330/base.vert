#version 330
// Base program, vertex stage (GLSL 3.30; Shaders/120/base.vert is the same
// program for GLSL 1.20 and must keep the same look).
//
// Attributes: in_Position, in_FlatNormal, in_Normal, in_Tangent (zero on
// meshes built without tangents), in_TexCoord.
// Uniforms: mvMat, M (world), V_cam (the view of this draw), projMat,
// mode, lightDirection (the light's world position; it looks at the origin),
// V_shadow, P_shadow, texture_matrix.
// Conventions: projMat and P_shadow arrive transposed (uploaded with GL_TRUE).
// Both projections are built with near 1 and far 3, which would clip the
// scene; only their field of view and aspect are used here, with a depth range
// of our own: near 1 / far 2000 for the camera, and for the light a band of
// +-150 around the light's distance to the origin, the same in the shadow pass
// (mode -2) and in the shadow lookup.
//
// Modes: 0 texture only; 1, 2 flat (in_FlatNormal); 3, 4 Gouraud (per vertex
// from in_Normal); 5, 6 normal-mapped per pixel; even modes add specular.
// -2 shadow pass (depth only); 7 reflection pass (mirrored in the water).

in vec3 in_Position;
in vec3 in_FlatNormal;
in vec3 in_Normal;
in vec3 in_Tangent;
in vec2 in_TexCoord;

uniform mat4 mvMat;
uniform mat4 M;
uniform mat4 V_cam;
uniform mat4 projMat;
uniform int mode;
uniform vec3 lightDirection;
uniform mat4 V_shadow;
uniform mat4 P_shadow;
uniform mat4 texture_matrix;

out vec2 texCoord;
out vec3 worldPosition;
out vec3 worldNormal;      // flat or smooth, by mode
out vec3 worldTangent;
out vec3 toEye;
out vec3 toLight;
out vec4 shadowCoord;      // light clip coordinates, shadow bias applied
out vec4 clipPosition;     // for screen-space lookups of the reflection
out vec2 gouraudLight;     // diffuse and specular of modes 3 and 4

const float WATER_HEIGHT = -14.0;
const float CAMERA_NEAR = 1.0;
const float CAMERA_FAR = 2000.0;
const float LIGHT_DEPTH_BAND = 150.0;
const float SPECULAR_POWER = 24.0;
// World size of one shadow texel per unit of light distance (20 degree
// frustum over 1800 texels).
const float SHADOW_TEXEL_PER_DISTANCE = 0.000196;

// A projection with its field of view and aspect kept and its depth mapping
// replaced by [near, far]. `transposedProjection` is as uploaded.
mat4 withDepthRange(mat4 transposedProjection, float near, float far) {
    mat4 projection = transpose(transposedProjection);
    projection[2][2] = -(far + near) / (far - near);
    projection[3][2] = -2.0 * far * near / (far - near);
    return projection;
}

// The light's distance to the origin from a light view (a rigid lookAt at the
// origin, so the length of its translation).
float lightDistance(mat4 lightView) {
    return length(lightView[3].xyz);
}

mat4 lightProjection(mat4 transposedProjection, mat4 lightView) {
    float lightRange = lightDistance(lightView);
    return withDepthRange(transposedProjection, max(lightRange - LIGHT_DEPTH_BAND, 1.0),
                          lightRange + LIGHT_DEPTH_BAND);
}

vec3 cameraPosition(mat4 view) {
    return -transpose(mat3(view)) * view[3].xyz;
}

// The shadow lookup position: moved off the surface along its normal (more at
// grazing light) and towards the light, so that a surface never shadows
// itself and the filter footprint stays in front of it.
vec4 shadowCoordinates(vec3 position, vec3 normal) {
    vec3 lightVector = normalize(lightDirection - position);
    float texel = SHADOW_TEXEL_PER_DISTANCE * lightDistance(V_shadow);
    float grazing = 1.0 - clamp(dot(normal, lightVector), 0.0, 1.0);
    vec3 biased = position + normal * texel * (1.5 + 4.0 * grazing) + lightVector * texel;
    return texture_matrix * lightProjection(P_shadow, V_shadow) * V_shadow * vec4(biased, 1.0);
}

vec2 gouraudLighting(vec3 normal, vec3 lightVector, vec3 eyeVector) {
    float diffuse = max(dot(normal, lightVector), 0.0);
    float specular = 0.0;
    if (diffuse > 0.0) {
        specular = pow(max(dot(normal, normalize(lightVector + eyeVector)), 0.0), SPECULAR_POWER);
    }
    return vec2(diffuse, specular);
}

void main() {
    vec4 position = vec4(in_Position, 1.0);
    texCoord = in_TexCoord;
    vec4 world = M * position;
    worldPosition = world.xyz;
    worldNormal = normalize(mat3(M) * in_Normal);
    worldTangent = mat3(M) * in_Tangent;
    toEye = cameraPosition(V_cam) - world.xyz;
    toLight = lightDirection - world.xyz;
    gouraudLight = vec2(0.0);

    if (mode == -2) {
        // V_cam is the light's view in this pass.
        gl_Position = lightProjection(projMat, V_cam) * mvMat * position;
        clipPosition = gl_Position;
        shadowCoord = vec4(0.0);
        return;
    }

    mat4 cameraProjection = withDepthRange(projMat, CAMERA_NEAR, CAMERA_FAR);
    if (mode == 7) {
        // Mirrored in the water plane; lit where the geometry really is.
        vec4 mirrored = vec4(world.x, 2.0 * WATER_HEIGHT - world.y, world.z, 1.0);
        gl_Position = cameraProjection * V_cam * mirrored;
    } else {
        gl_Position = cameraProjection * mvMat * position;
    }
    clipPosition = gl_Position;
    shadowCoord = shadowCoordinates(world.xyz, worldNormal);

    if (mode == 1 || mode == 2) {
        worldNormal = normalize(mat3(M) * in_FlatNormal);
    } else if (mode == 3 || mode == 4) {
        gouraudLight = gouraudLighting(worldNormal, normalize(toLight), normalize(toEye));
    }
}
