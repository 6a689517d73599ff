#version 120
// Base program, fragment stage (GLSL 1.20; Shaders/330/base.frag is the same
// program for GLSL 3.30 and must keep the same look).
//
// Units: firstTexture 0 (colour; its alpha < 1 marks a translucent, reflecting
// surface: the water), normalmap 1 (bound in modes 5 and 6 only), shadow_map 2
// (depth texture with comparison on), reflection_map 3 (the mirrored scene
// drawn this frame, premultiplied by its own alpha, window-sized).
// Uniforms: mode, timer (seconds). The varyings come from base.vert, which
// also documents the matrix and depth-range conventions.
//
// Only translucent surfaces reflect, in every lit mode, so that a shiny
// opaque surface (the cliff in mode 6) never turns into a mirror.

varying vec2 texCoord;
varying vec3 worldPosition;
varying vec3 worldNormal;
varying vec3 worldTangent;
varying vec3 toEye;
varying vec3 toLight;
varying vec4 shadowCoord;
varying vec4 clipPosition;
varying vec2 gouraudLight;

uniform sampler2D firstTexture;
uniform sampler2D normalmap;
uniform sampler2DShadow shadow_map;
uniform sampler2D reflection_map;
uniform int mode;
uniform float timer;


const float WATER_HEIGHT = -14.0;
const vec3 AMBIENT = vec3(0.36, 0.38, 0.44);
const vec3 LIGHT_COLOUR = vec3(1.0, 0.95, 0.86);
// What the water reflects where the reflection map holds nothing: the sky.
const vec3 SKY_TINT = vec3(0.56, 0.67, 0.80);
const float SPECULAR_POWER = 24.0;
const float SPECULAR_STRENGTH = 0.35;
const float GLINT_POWER = 180.0;
const float GLINT_STRENGTH = 1.4;
// Distance between shadow filter taps in shadow-map coordinates: one texel of
// the 2400 x 1800 map of an 800 x 600 window.
const vec2 SHADOW_TAP = vec2(1.0 / 2400.0, 1.0 / 1800.0);
// The light sphere surrounds the light; its own surface glows.
const float LIGHT_SPHERE_RADIUS = 8.0;
const float REFLECTION_DISPLACEMENT = 0.05;
const float WAVE_STRENGTH = 0.55;

struct Lighting {
    vec3 normal;
    float diffuse;
    float specular;  // 0 in the modes without specular
};

// 1 lit, 0 in shadow, filtered over 3 x 3 texels. Whatever lies outside the
// light's frustum is lit.
float shadowFactor() {
    if (shadowCoord.w <= 0.0) return 1.0;
    vec3 p = shadowCoord.xyz / shadowCoord.w * 0.5 + 0.5;
    if (any(lessThan(p, vec3(0.0))) || any(greaterThan(p, vec3(1.0)))) return 1.0;
    float lit = 0.0;
    for (int x = -1; x <= 1; ++x) {
        for (int y = -1; y <= 1; ++y) {
            lit += shadow2D(shadow_map, vec3(p.xy + vec2(x, y) * SHADOW_TAP, p.z)).r;
        }
    }
    return lit / 9.0;
}

// How much a surface reflects, from its translucency: fully from alpha 0.75 down.
float reflectivity(float alpha) {
    return clamp((1.0 - alpha) * 4.0, 0.0, 1.0);
}

Lighting pixelLighting(vec3 normal, bool withSpecular, float power) {
    vec3 lightVector = normalize(toLight);
    Lighting lighting;
    lighting.normal = normal;
    lighting.diffuse = max(dot(normal, lightVector), 0.0);
    lighting.specular = 0.0;
    if (withSpecular && lighting.diffuse > 0.0) {
        vec3 halfway = normalize(lightVector + normalize(toEye));
        lighting.specular = pow(max(dot(normal, halfway), 0.0), power);
    }
    return lighting;
}

Lighting flatLighting(bool withSpecular, float power) {
    return pixelLighting(normalize(worldNormal), withSpecular, power);
}

Lighting gouraudLighting(bool withSpecular) {
    Lighting lighting;
    lighting.normal = normalize(worldNormal);
    lighting.diffuse = gouraudLight.x;
    lighting.specular = withSpecular ? gouraudLight.y : 0.0;
    return lighting;
}

// A tangent-space normal from the map: one sample for an opaque surface, two
// samples scrolling against each other for the water.
vec3 tangentSpaceNormal(bool water) {
    if (!water) return texture2D(normalmap, texCoord).xyz * 2.0 - 1.0;
    vec2 flowA = texCoord * 3.0 + timer * vec2(0.013, 0.008);
    vec2 flowB = texCoord * 5.0 + timer * vec2(-0.009, 0.014);
    vec3 sum = (texture2D(normalmap, flowA).xyz + texture2D(normalmap, flowB).xyz) * 2.0 - 2.0;
    return vec3(sum.xy * WAVE_STRENGTH, sum.z);
}

// Per pixel, in the frame of in_Normal and in_Tangent; a mesh without
// tangents keeps its interpolated normal.
Lighting normalMappedLighting(bool withSpecular, bool water, float power) {
    vec3 normal = normalize(worldNormal);
    vec3 tangent = worldTangent - normal * dot(normal, worldTangent);
    if (dot(tangent, tangent) > 1e-10) {
        tangent = normalize(tangent);
        vec3 bitangent = cross(normal, tangent);
        vec3 mapped = tangentSpaceNormal(water);
        normal = normalize(tangent * mapped.x + bitangent * mapped.y + normal * mapped.z);
    }
    return pixelLighting(normal, withSpecular, power);
}

// The mirrored scene at this pixel's place on the screen, pushed aside by the
// surface normal; the sky where nothing was mirrored.
vec3 reflectedColour(vec3 normal) {
    vec2 screen = clipPosition.xy / clipPosition.w * 0.5 + 0.5;
    vec4 mirrored = texture2D(reflection_map, screen + normal.xz * REFLECTION_DISPLACEMENT);
    return mirrored.rgb + SKY_TINT * (1.0 - mirrored.a);
}

vec4 litColour(vec4 surface) {
    bool withSpecular = mode == 2 || mode == 4 || mode == 6;
    float mirror = reflectivity(surface.a);
    float power = mirror > 0.0 ? GLINT_POWER : SPECULAR_POWER;
    float strength = mirror > 0.0 ? GLINT_STRENGTH : SPECULAR_STRENGTH;
    Lighting lighting;
    if (mode == 1 || mode == 2) {
        lighting = flatLighting(withSpecular, power);
    } else if (mode == 3 || mode == 4) {
        lighting = gouraudLighting(withSpecular);
    } else {
        lighting = normalMappedLighting(withSpecular, mirror > 0.0, power);
    }
    float shadow = shadowFactor();
    vec3 colour = surface.rgb * (AMBIENT + LIGHT_COLOUR * lighting.diffuse * shadow);
    float alpha = surface.a;
    if (mirror > 0.0) {
        float facing = clamp(dot(lighting.normal, normalize(toEye)), 0.0, 1.0);
        float fresnel = mix(0.25, 1.0, pow(1.0 - facing, 3.0)) * mirror;
        colour = mix(colour, reflectedColour(lighting.normal), fresnel);
        alpha = mix(alpha, 1.0, fresnel);
    }
    float highlight = lighting.specular * strength * shadow;
    colour += LIGHT_COLOUR * highlight;
    return vec4(colour, min(alpha + highlight, 1.0));
}

// The reflection pass: the geometry as it is lit where it stands, nothing
// from below the water.
vec4 mirroredColour(vec4 surface) {
    if (worldPosition.y < WATER_HEIGHT) discard;
    if (length(toLight) < LIGHT_SPHERE_RADIUS) return surface;
    float diffuse = max(dot(normalize(worldNormal), normalize(toLight)), 0.0);
    return vec4(surface.rgb * (AMBIENT + LIGHT_COLOUR * diffuse * shadowFactor()), surface.a);
}

void main() {
    if (mode == -2) {
        gl_FragColor = vec4(1.0);  // depth only; the shadow target has no colour
        return;
    }
    vec4 surface = texture2D(firstTexture, texCoord);
    if (mode == 7) {
        gl_FragColor = mirroredColour(surface);
    } else if (mode >= 1 && mode <= 6) {
        gl_FragColor = litColour(surface);
    } else {
        gl_FragColor = surface;
    }
}
