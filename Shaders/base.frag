#version 330
// Base program, fragment stage.
//
// Units: firstTexture 0 (colour; its alpha < 1 marks a translucent, reflecting
// surface: the water), normalmap 1 (bound in modes 5 and 6 only), shadow_map 2
// (depth texture with comparison on; shadow_texel_size is the size of one of
// its texels in texture coordinates), reflection_map 3 (the mirrored scene
// drawn this frame, premultiplied by its own alpha, window-sized).
// Uniforms: mode, timer (seconds). The varyings come from base.vert, which
// also documents the matrix and depth-range conventions.
//
// Only translucent surfaces reflect, in every lit mode, so that a shiny
// opaque surface (the cliff in mode 6) never turns into a mirror.
//
// Every texture is fetched in one place only. Software rasterisers run both
// sides of a branch under a mask, so a fetch written once per mode would be
// paid once per mode by every fragment, the shadow pass's included.

in vec2 texCoord;
in vec3 worldPosition;
in vec3 worldNormal;
in vec3 worldTangent;
in vec3 toEye;
in vec3 toLight;
in vec4 shadowCoord;
in vec4 clipPosition;
in vec2 gouraudLight;

uniform sampler2D firstTexture;
uniform sampler2D normalmap;
uniform sampler2DShadow shadow_map;
uniform vec2 shadow_texel_size;
uniform sampler2D reflection_map;
uniform int mode;
// The shading mode. A program built for one mode defines SHADING_MODE as that
// number ahead of this source; the branches of every other mode then fold
// away when it compiles. Otherwise the uniform "mode" decides at run time.
#ifndef SHADING_MODE
#define SHADING_MODE mode
#endif
uniform float timer;

out vec4 fragColor;

const float WATER_HEIGHT = -14.0;
const vec3 AMBIENT = vec3(0.36, 0.38, 0.44);
const vec3 LIGHT_COLOUR = vec3(1.0, 0.95, 0.86);
// What the water reflects where the reflection map holds nothing: the sky.
const vec3 SKY_TINT = vec3(0.56, 0.67, 0.80);
const float SPECULAR_POWER = 24.0;
const float SPECULAR_STRENGTH = 0.35;
const float GLINT_POWER = 180.0;
const float GLINT_STRENGTH = 1.4;
// The light sphere surrounds the light; its own surface glows.
const float LIGHT_SPHERE_RADIUS = 8.0;
const float REFLECTION_DISPLACEMENT = 0.05;
// The water thins out towards its far edge, which lies short of the sky box,
// so that it gives way to the sky box's own sea at the horizon.
const float WATER_FADE_START = 180.0;
const float WATER_FADE_END = 300.0;
const float WAVE_STRENGTH = 0.55;

struct Lighting {
    float diffuse;
    float specular;  // 0 in the modes without specular
};

// 1 lit, 0 in shadow, filtered over a 2 x 2 texel block. Whatever lies
// outside the light's frustum is lit.
float shadowFactor() {
    vec3 p = shadowCoord.xyz / shadowCoord.w * 0.5 + 0.5;
    // Written so that a coordinate that is not a number counts as outside.
    bool inside = shadowCoord.w > 0.0 && all(greaterThanEqual(p, vec3(0.0))) &&
                  all(lessThanEqual(p, vec3(1.0)));
    // Half a texel from the centre each way: the four taps cover a 2 x 2
    // block. Each tap adds one offset, the 0.5 bias and the half texel summed
    // first, to the scaled coordinate, so that it is rounded only once.
    vec2 scaled = shadowCoord.xy / shadowCoord.w * 0.5;
    vec2 low = 0.5 - 0.5 * shadow_texel_size;
    vec2 high = 0.5 + 0.5 * shadow_texel_size;
    float lit = texture(shadow_map, vec3(scaled + low, p.z)) +
                texture(shadow_map, vec3(scaled + vec2(high.x, low.y), p.z)) +
                texture(shadow_map, vec3(scaled + vec2(low.x, high.y), p.z)) +
                texture(shadow_map, vec3(scaled + high, p.z));
    return inside ? lit * 0.25 : 1.0;
}

// How much a surface reflects, from its translucency: fully from alpha 0.75 down.
float reflectivity(float alpha) {
    return clamp((1.0 - alpha) * 4.0, 0.0, 1.0);
}

// The normal-mapped normal, in the frame of in_Normal and in_Tangent; one map
// sample for an opaque surface, two samples scrolling against each other for
// the water. A mesh without tangents keeps its interpolated normal.
vec3 mappedNormal(vec3 normal, float water) {
    // Choices rather than blends by `water`, so that in a build with
    // OPAQUE_COLOUR (water is then 0) the second sample and the flow go.
    vec2 flowA = water > 0.0 ? texCoord * 3.0 + timer * vec2(0.013, 0.008) : texCoord;
    vec2 flowB = texCoord * 5.0 + timer * vec2(-0.009, 0.014);
    vec3 sampleA = texture(normalmap, flowA).xyz * 2.0 - 1.0;
    vec3 sampleB = texture(normalmap, flowB).xyz * 2.0 - 1.0;
    vec3 waves = sampleA + sampleB;
    vec3 mapped = water > 0.0 ? vec3(waves.xy * WAVE_STRENGTH, waves.z) : sampleA;
    vec3 tangent = worldTangent - normal * dot(normal, worldTangent);
    if (!(dot(tangent, tangent) > 1e-10)) return normal;
    tangent = normalize(tangent);
    vec3 bitangent = cross(normal, tangent);
    return normalize(tangent * mapped.x + bitangent * mapped.y + normal * mapped.z);
}

// Flat and normal-mapped modes light each pixel; the Gouraud modes take what
// the vertex stage computed.
Lighting lighting(vec3 normal, bool withSpecular, float power) {
    Lighting result;
    if (SHADING_MODE == 3 || SHADING_MODE == 4) {
        result.diffuse = gouraudLight.x;
        result.specular = gouraudLight.y;
    } else {
        vec3 lightVector = normalize(toLight);
        vec3 halfway = normalize(lightVector + normalize(toEye));
        result.diffuse = max(dot(normal, lightVector), 0.0);
        result.specular = result.diffuse > 0.0 ? pow(max(dot(normal, halfway), 0.0), power) : 0.0;
    }
    if (!withSpecular) result.specular = 0.0;
    return result;
}

// The mirrored scene at this pixel's place on the screen, pushed aside by the
// surface normal; the sky where nothing was mirrored.
vec3 reflectedColour(vec3 normal) {
    vec2 screen = clipPosition.xy / clipPosition.w * 0.5 + 0.5;
    vec4 mirrored = texture(reflection_map, screen + normal.xz * REFLECTION_DISPLACEMENT);
    return mirrored.rgb + SKY_TINT * (1.0 - mirrored.a);
}

// Modes 1 to 6.
vec4 litColour(vec4 surface, vec3 normal, float shadow) {
    bool withSpecular = SHADING_MODE == 2 || SHADING_MODE == 4 || SHADING_MODE == 6;
    float mirror = reflectivity(surface.a);
    float power = mirror > 0.0 ? GLINT_POWER : SPECULAR_POWER;
    float strength = mirror > 0.0 ? GLINT_STRENGTH : SPECULAR_STRENGTH;
    Lighting light = lighting(normal, withSpecular, power);
    vec3 colour = surface.rgb * (AMBIENT + LIGHT_COLOUR * light.diffuse * shadow);
    float facing = clamp(dot(normal, normalize(toEye)), 0.0, 1.0);
    float fresnel = mix(0.25, 1.0, pow(1.0 - facing, 3.0)) * mirror;
    // Opaque surfaces neither reflect nor fade; as choices, these steps go
    // from a build with OPAQUE_COLOUR.
    if (mirror > 0.0) colour = mix(colour, reflectedColour(normal), fresnel);
    float highlight = light.specular * strength * shadow;
    colour += LIGHT_COLOUR * highlight;
    float alpha = min(mix(surface.a, 1.0, fresnel) + highlight, 1.0);
    float distanceFade = 1.0 - smoothstep(WATER_FADE_START, WATER_FADE_END, length(toEye));
    return vec4(colour, mirror > 0.0 ? alpha * mix(1.0, distanceFade, mirror) : alpha);
}

// The reflection pass: the geometry as it is lit where it stands, nothing
// from below the water. Blending is on, so a fragment of alpha 0 leaves the
// target as it was; unlike a discard it keeps the early depth test available
// to every mode of this shader.
vec4 mirroredColour(vec4 surface, vec3 normal, float shadow) {
    if (worldPosition.y < WATER_HEIGHT) return vec4(0.0);
    if (length(toLight) < LIGHT_SPHERE_RADIUS) return surface;
    float diffuse = max(dot(normal, normalize(toLight)), 0.0);
    return vec4(surface.rgb * (AMBIENT + LIGHT_COLOUR * diffuse * shadow), surface.a);
}

void main() {
    if (SHADING_MODE == -2) {
        fragColor = vec4(1.0);  // depth only; the shadow target has no colour
        return;
    }
    vec4 surface = texture(firstTexture, texCoord);
#ifdef OPAQUE_COLOUR
    // Defined where the colour texture has no alpha channel, whose alpha reads
    // 1 anyway: as a constant it takes the reflection and the fading out.
    surface.a = 1.0;
#endif
    if (SHADING_MODE < 1 || SHADING_MODE > 7) {
        fragColor = surface;  // mode 0 and any unknown mode: the texture only
        return;
    }
    vec3 normal = normalize(worldNormal);
    if (SHADING_MODE == 5 || SHADING_MODE == 6) {
        normal = mappedNormal(normal, step(0.001, reflectivity(surface.a)));
    }
    float shadow = shadowFactor();
    fragColor = SHADING_MODE == 7 ? mirroredColour(surface, normal, shadow)
                                  : litColour(surface, normal, shadow);
}
