#version 330
// Base program, vertex stage.
//
// Attributes: in_Position, in_FlatNormal, in_Normal, in_Tangent (zero on
// meshes built without tangents), in_TexCoord.
// Uniforms: M (world), V_cam (the view of this draw), projMat,
// mode, lightDirection (the light's world position; it looks at the origin),
// V_shadow, P_shadow, texture_matrix, shadow_texel_size.
// Conventions: projMat and P_shadow arrive transposed (uploaded with GL_TRUE).
// Both projections are built with near 1 and far 3, which would clip the
// scene; only their field of view and aspect are used here, with a depth range
// of our own: near 1 / far 2000 for the camera, and for the light a band of
// +-150 around the light's distance to the origin, the same in the shadow pass
// and in the shadow lookup. The light's field of view is widened, where it is
// too narrow, to take in everything that casts a shadow (see
// lightFrustumScale).
//
// Positions go through M and V_cam rather than mvMat, so that the mirrored
// reflection pass and the others share one path.
//
// Modes (the MODE_ constants below): none is the texture only; flat takes
// in_FlatNormal; Gouraud lights per vertex from in_Normal; bump map is
// normal-mapped per pixel; each "specular" variant adds specular. The shadow
// pass draws depth only; the reflection pass mirrors in the water.

in vec3 in_Position;
in vec3 in_FlatNormal;
in vec3 in_Normal;
in vec3 in_Tangent;
in vec2 in_TexCoord;

uniform mat4 M;
uniform mat4 V_cam;
uniform mat4 projMat;
uniform int mode;
// The shading mode. A program built for one mode defines SHADING_MODE as that
// number ahead of this source; the branches of every other mode then fold
// away when it compiles. Otherwise the uniform "mode" decides at run time.
#ifndef SHADING_MODE
#define SHADING_MODE mode
#endif
// The values of "mode", as the program numbers them; the fragment stage
// declares the same list.
const int MODE_NONE = 0;
const int MODE_FLAT = 1;
const int MODE_FLAT_SPECULAR = 2;
const int MODE_GOURAUD = 3;
const int MODE_GOURAUD_SPECULAR = 4;
const int MODE_BUMPMAP = 5;
const int MODE_BUMPMAP_SPECULAR = 6;
const int MODE_SHADOW_PASS = -2;     // every draw into the shadow map
const int MODE_REFLECTION_PASS = 7;  // every draw into the reflection map
uniform vec3 lightDirection;
uniform mat4 V_shadow;
uniform mat4 P_shadow;
uniform mat4 texture_matrix;
uniform vec2 shadow_texel_size;  // of the shadow map, in texture coordinates

out vec2 texCoord;
out vec3 worldPosition;
out vec3 worldNormal;      // flat or smooth, by mode
out vec3 worldTangent;
out vec3 toEye;
out vec3 toLight;
out vec4 shadowCoord;      // light clip coordinates, shadow bias applied
out vec4 clipPosition;     // for screen-space lookups of the reflection
out vec2 gouraudLight;     // diffuse and specular of the Gouraud modes

// The world height of the water plane, where the scene set-up puts it.
const float WATER_HEIGHT = -14.0;
const float CAMERA_NEAR = 1.0;
const float CAMERA_FAR = 2000.0;
const float LIGHT_DEPTH_BAND = 150.0;
const float SPECULAR_POWER = 24.0;
// The radius of the fragment stage's shadow filter, in shadow texels.
const float SHADOW_FILTER_RADIUS = 2.5;
// Everything above the water that casts a shadow (the island and its tree)
// lies within this distance of the origin, where the light looks.
const float SHADOW_CASTER_RADIUS = 40.0;
// The widest the light's frustum gets, as the cotangent of its half height
// (about 63 degrees), for a light inside or at the edge of that sphere.
const float LIGHT_WIDEST_COTANGENT = 0.5;

// Clip coordinates of an eye-space point under a perspective projection that
// keeps the field of view, aspect and centre of `transposedProjection` (as
// uploaded) and maps depth over [near, far] instead of its own range. Only
// the nonzero entries of a perspective matrix are used.
vec4 project(mat4 transposedProjection, vec3 eye, vec2 depthRange) {
    float near = depthRange.x;
    float far = depthRange.y;
    return vec4(transposedProjection[0][0] * eye.x + transposedProjection[0][2] * eye.z,
                transposedProjection[1][1] * eye.y + transposedProjection[1][2] * eye.z,
                (-(far + near) * eye.z - 2.0 * far * near) / (far - near),
                -eye.z);
}

// The light's depth range: a band around its distance to the origin, read
// from a light view (a rigid lookAt at the origin, so the length of its
// translation).
vec2 lightDepthRange(mat4 lightView) {
    float lightDistance = length(lightView[3].xyz);
    return vec2(max(lightDistance - LIGHT_DEPTH_BAND, 1.0), lightDistance + LIGHT_DEPTH_BAND);
}

// The factor on the light's clip x and y that widens its field of view just
// enough for the cone from the light to hold the sphere of casters, or 1
// where the field of view already does. A shadow cut off by the frustum's
// edge would end in a straight line; a frustum this wide spends its texels
// only on what can cast a shadow. The same in the shadow pass and the lookup.
float lightFrustumScale(mat4 transposedProjection, mat4 lightView) {
    float lightDistance = length(lightView[3].xyz);
    float reach =
        max(lightDistance * lightDistance - SHADOW_CASTER_RADIUS * SHADOW_CASTER_RADIUS, 0.0);
    float cotangent = max(sqrt(reach) / SHADOW_CASTER_RADIUS, LIGHT_WIDEST_COTANGENT);
    return min(cotangent / transposedProjection[1][1], 1.0);
}

vec3 cameraPosition(mat4 view) {
    return -transpose(mat3(view)) * view[3].xyz;
}

// The shadow lookup position: moved off the surface along its normal and
// towards the light, so that a surface never shadows itself. The filter's
// taps reach SHADOW_FILTER_RADIUS texels aside, where a surface sloped
// against the light lies deeper by the radius times the slope; the step
// along the normal grows with the sine of the light's angle to cover that.
vec4 shadowCoordinates(vec3 position, vec3 normal) {
    vec3 towardsLight = lightDirection - position;
    float lightDistance = length(towardsLight);
    vec3 lightVector = towardsLight / lightDistance;
    // One texel's world size at this distance: the frustum's height there
    // (2 / P_shadow[1][1] per unit of distance, widened) over the map's rows.
    float scale = lightFrustumScale(P_shadow, V_shadow);
    float texel = 2.0 * shadow_texel_size.y * lightDistance / (P_shadow[1][1] * scale);
    float cosine = clamp(dot(normal, lightVector), 0.0, 1.0);
    float sine = sqrt(1.0 - cosine * cosine);
    vec3 biased = position + normal * (texel * (1.0 + (SHADOW_FILTER_RADIUS + 1.0) * sine)) +
                  lightVector * texel;
    vec3 eye = (V_shadow * vec4(biased, 1.0)).xyz;
    vec4 clip = project(P_shadow, eye, lightDepthRange(V_shadow));
    return texture_matrix * vec4(clip.xy * scale, clip.zw);
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
    vec4 world = M * vec4(in_Position, 1.0);
    // The reflection pass mirrors the geometry in the water plane.
    vec4 placed = SHADING_MODE == MODE_REFLECTION_PASS
                      ? vec4(world.x, 2.0 * WATER_HEIGHT - world.y, world.z, 1.0)
                      : world;
    // In the shadow pass V_cam and projMat are the light's.
    vec2 depthRange = SHADING_MODE == MODE_SHADOW_PASS ? lightDepthRange(V_cam)
                                                       : vec2(CAMERA_NEAR, CAMERA_FAR);
    gl_Position = project(projMat, (V_cam * placed).xyz, depthRange);
    if (SHADING_MODE == MODE_SHADOW_PASS) gl_Position.xy *= lightFrustumScale(projMat, V_cam);
    if (SHADING_MODE == MODE_SHADOW_PASS) return;  // depth only

    texCoord = in_TexCoord;
    worldPosition = world.xyz;
    worldNormal = normalize(mat3(M) * in_Normal);
    worldTangent = mat3(M) * in_Tangent;
    toEye = cameraPosition(V_cam) - world.xyz;
    toLight = lightDirection - world.xyz;
    clipPosition = gl_Position;
    // Lit where the geometry really is, in the reflection pass too.
    shadowCoord = shadowCoordinates(world.xyz, worldNormal);
    gouraudLight = vec2(0.0);
    if (SHADING_MODE == MODE_FLAT || SHADING_MODE == MODE_FLAT_SPECULAR) {
        worldNormal = normalize(mat3(M) * in_FlatNormal);
    } else if (SHADING_MODE == MODE_GOURAUD || SHADING_MODE == MODE_GOURAUD_SPECULAR) {
        gouraudLight = gouraudLighting(worldNormal, normalize(toLight), normalize(toEye));
    }
}
