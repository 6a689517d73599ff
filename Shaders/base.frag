#version 330
// Base program, fragment stage.
//
// Units: firstTexture 0 (colour; its alpha < 1 marks a translucent, reflecting
// surface: the water), normalmap 1 (bound in the bump-map modes only), shadow_map 2
// (depth texture with comparison on; shadow_texel_size is the size of one of
// its texels in texture coordinates), reflection_map 3 (the mirrored scene
// drawn this frame, premultiplied by its own alpha, window-sized).
// Uniforms: mode, timer (seconds). The varyings come from base.vert, which
// also documents the matrix and depth-range conventions.
//
// Only translucent surfaces reflect, in every lit mode, so that a shiny
// opaque surface (the cliff in bump-map shading with specular) never turns
// into a mirror.
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
// The values of "mode", as the program numbers them; the vertex stage
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
uniform float timer;

out vec4 fragColor;

// The world height of the water plane, where the scene set-up puts it.
const float WATER_HEIGHT = -14.0;
const vec3 AMBIENT = vec3(0.36, 0.38, 0.44);
const vec3 LIGHT_COLOUR = vec3(1.0, 0.95, 0.86);
const float SPECULAR_POWER = 24.0;
const float SPECULAR_STRENGTH = 0.35;
// The light sphere surrounds the light; its own surface glows.
const float LIGHT_SPHERE_RADIUS = 8.0;

// The sky that the water mirrors where the reflection map holds nothing: the
// sky box's own gradient from the zenith to the haze at the horizon, with a
// glow around the light, broad and faint (the sixth power of the cosine
// towards the light) and tight and bright (its 48th power). The same colours
// and weights as the generated sky box texture.
const vec3 SKY_ZENITH = vec3(0.13, 0.33, 0.70);
const vec3 SKY_HORIZON = vec3(0.70, 0.81, 0.92);
const vec3 SKY_GLOW = vec3(1.0, 0.93, 0.75);
const float SKY_GLOW_BROAD = 0.2;
const float SKY_GLOW_TIGHT = 0.45;

// Water. Its reflectance follows Schlick's approximation with the reflectance
// of water seen straight on; its body darkens from the colour texture's teal
// to a deep blue as the view flattens, and hides more of what lies beneath.
const float WATER_F0 = 0.02;
const vec3 DEEP_WATER = vec3(0.015, 0.08, 0.13);
const float SHALLOW_GAIN = 0.85;
const float CLEAR_FROM_ABOVE = 0.92;  // times the texture's alpha
// The glint of the light on the ripples, which no shadow dims: the light is
// mirrored from where the water lies, not from where the shadow falls.
const float GLINT_POWER = 110.0;
const float GLINT_STRENGTH = 2.2;
// How far the ripples push the mirrored image aside: a world-space distance,
// so that its shift on the screen shrinks with the distance.
const float REFLECTION_SHIFT = 2.4;
// The ripples: two layers of the normal map at different scales, scrolling
// against each other; they flatten out in the distance, where the map's
// detail is far finer than a pixel.
const float WAVE_STRENGTH = 0.75;
const float WAVES_FLATTEN_FROM = 50.0;
const float WAVES_FLATTEN_TO = 260.0;
// The water thins out towards its far edge, which lies short of the sky box,
// so that it gives way to the sky box's own sea at the horizon.
const float WATER_FADE_START = 180.0;
const float WATER_FADE_END = 300.0;

// Shadow filter: up to twelve taps over a disk of SHADOW_FILTER_RADIUS texels,
// turned by a per-pixel angle so that the steps between their levels turn
// into fine grain. Four probes on a square near the rim come first; only
// where they disagree, near a shadow's edge, do eight more follow, on a
// spiral of golden-angle steps within (a Vogel disk). The eight run in a
// loop whose length is only known as it runs, so that it stays a loop and
// is skipped, rather than unrolled into masked steps that every pixel pays
// for. The reflection pass, blurred by the ripples anyway, takes one tap.
const float SHADOW_FILTER_RADIUS = 2.5;  // the vertex stage's bias allows for it
const vec2 SHADOW_PROBES[4] = vec2[4](vec2(0.6505, 0.6505), vec2(-0.6505, 0.6505),
                                      vec2(-0.6505, -0.6505), vec2(0.6505, -0.6505));
const float SHADOW_SPIRAL = 0.74;
const vec2 GOLDEN_TURN = vec2(-0.7373688, 0.6754903);  // cosine and sine of the golden angle
// Under the water the light is scattered: over this depth a shadow fades
// into an even dimming. Without it the sea floor, far below the island's
// rim, would show the rim's outline as sharp as the mesh draws it.
const float SCATTERING_DEPTH = 6.0;
const float SCATTERED_LIGHT = 0.5;

struct Lighting {
    float diffuse;
    float specular;  // 0 in the modes without specular
};

// 1 lit, 0 in shadow, the share of the disk's taps that see the light.
// Whatever lies outside the light's frustum is lit, and so is a pixel that
// the light does not reach anyway (`needed` false): it takes no taps.
float shadowFactor(bool needed) {
    vec3 p = shadowCoord.xyz / shadowCoord.w * 0.5 + 0.5;
    // Written so that a coordinate that is not a number counts as outside.
    bool inside = shadowCoord.w > 0.0 && all(greaterThanEqual(p, vec3(0.0))) &&
                  all(lessThanEqual(p, vec3(1.0)));
    // The turn: interleaved gradient noise, a different value at each pixel
    // and no two neighbours alike, taken as the tangent of half the angle
    // (a half turn in all, which the square of probes repeats anyway), so
    // that no sine or cosine is needed.
    float t =
        2.0 * fract(52.9829189 * fract(dot(gl_FragCoord.xy, vec2(0.06711056, 0.00583715)))) - 1.0;
    vec2 spin = vec2(1.0 - t * t, 2.0 * t) / (1.0 + t * t);
    bool oneTap = SHADING_MODE == MODE_REFLECTION_PASS;
    vec2 reach = oneTap ? vec2(0.0) : SHADOW_FILTER_RADIUS * shadow_texel_size;
    int probes = !(inside && needed) ? 0 : oneTap ? 1 : 4;
    float lit = 0.0;
    for (int k = 0; k < probes; ++k) {
        vec2 tap = SHADOW_PROBES[k];
        vec2 turned = vec2(tap.x * spin.x - tap.y * spin.y, tap.x * spin.y + tap.y * spin.x);
        lit += texture(shadow_map, vec3(p.xy + turned * reach, p.z));
    }
    bool edge = lit > 0.0 && lit < float(probes);
    int more = !oneTap && edge ? 8 : 0;
    vec2 spiral = spin;
    for (int k = 0; k < more; ++k) {
        vec2 turned = spiral * (SHADOW_SPIRAL * sqrt((float(k) + 0.5) * 0.125));
        lit += texture(shadow_map, vec3(p.xy + turned * reach, p.z));
        spiral = vec2(spiral.x * GOLDEN_TURN.x - spiral.y * GOLDEN_TURN.y,
                      spiral.x * GOLDEN_TURN.y + spiral.y * GOLDEN_TURN.x);
    }
    return probes > 0 ? lit / float(probes + more) : 1.0;
}

// How much a surface reflects, from its translucency: fully from alpha 0.75 down.
float reflectivity(float alpha) {
    return clamp((1.0 - alpha) * 4.0, 0.0, 1.0);
}

// The normal-mapped normal, in the frame of in_Normal and in_Tangent; one map
// sample for an opaque surface, two samples at two scales, scrolling against
// each other, for the water. A mesh without tangents keeps its interpolated
// normal.
vec3 mappedNormal(vec3 normal, float water) {
    // Choices rather than blends by `water`, so that in a build with
    // OPAQUE_COLOUR (water is then 0) the second sample and the flow go.
    vec2 flowA = water > 0.0 ? texCoord * 0.35 + timer * vec2(0.0070, 0.0041) : texCoord;
    vec2 flowB = texCoord * 0.87 + timer * vec2(-0.0052, 0.0083);
    vec3 sampleA = texture(normalmap, flowA).xyz * 2.0 - 1.0;
    vec3 sampleB = texture(normalmap, flowB).xyz * 2.0 - 1.0;
    // The finer layer flattens out first.
    float calm = smoothstep(WAVES_FLATTEN_FROM, WAVES_FLATTEN_TO, length(toEye));
    vec2 slope = (sampleA.xy + sampleB.xy * (1.0 - calm)) * (WAVE_STRENGTH * (1.0 - 0.85 * calm));
    vec3 mapped = water > 0.0 ? vec3(slope, sampleA.z + sampleB.z) : sampleA;
    vec3 tangent = worldTangent - normal * dot(normal, worldTangent);
    if (!(dot(tangent, tangent) > 1e-10)) return normal;
    tangent = normalize(tangent);
    vec3 bitangent = cross(normal, tangent);
    return normalize(tangent * mapped.x + bitangent * mapped.y + normal * mapped.z);
}

// Flat and normal-mapped modes light each pixel; the Gouraud modes take what
// the vertex stage computed.
Lighting lighting(vec3 normal, vec3 lightVector, vec3 eyeVector, bool withSpecular, float power) {
    Lighting result;
    if (SHADING_MODE == MODE_GOURAUD || SHADING_MODE == MODE_GOURAUD_SPECULAR) {
        result.diffuse = gouraudLight.x;
        result.specular = gouraudLight.y;
    } else {
        vec3 halfway = normalize(lightVector + eyeVector);
        result.diffuse = max(dot(normal, lightVector), 0.0);
        result.specular = result.diffuse > 0.0 ? pow(max(dot(normal, halfway), 0.0), power) : 0.0;
    }
    if (!withSpecular) result.specular = 0.0;
    return result;
}

// The sky seen along `ray`: the gradient from the haze at the horizon to the
// zenith, and the glow around the light.
vec3 skyColour(vec3 ray, vec3 lightVector) {
    float low = 1.0 - clamp(ray.y, 0.0, 1.0);
    float low2 = low * low;
    vec3 sky = mix(SKY_ZENITH, SKY_HORIZON, low2 * low2);
    float towardsLight = max(dot(ray, lightVector), 0.0);
    float t2 = towardsLight * towardsLight;
    float t4 = t2 * t2;
    float t16 = t4 * t4 * t4 * t4;
    float glow = SKY_GLOW_BROAD * t4 * t2 + SKY_GLOW_TIGHT * t16 * t16 * t16;
    return mix(sky, SKY_GLOW, glow);
}

// The mirrored scene at this pixel's place on the screen, pushed aside by the
// ripples; the sky where nothing was mirrored.
vec3 reflectedColour(vec3 normal, vec3 eyeVector, vec3 lightVector) {
    vec2 screen = clipPosition.xy / clipPosition.w * 0.5 + 0.5;
    vec2 shift = normal.xz * (REFLECTION_SHIFT / clipPosition.w);
    vec4 mirrored = texture(reflection_map, screen + shift);
    vec3 sky = skyColour(reflect(-eyeVector, normal), lightVector);
    return mirrored.rgb + sky * (1.0 - mirrored.a);
}

// The water over what lies beneath, as a colour and a coverage for the
// blending: the mirror by Fresnel's share, the body colour (which alone the
// shadow darkens) over what shows through, and the glint on top.
vec4 waterColour(vec4 surface, vec3 normal, vec3 eyeVector, vec3 lightVector, Lighting light,
                 float shadow) {
    float steep = clamp(dot(normalize(worldNormal), eyeVector), 0.0, 1.0);
    float level = 1.0 - steep;
    vec3 body = mix(surface.rgb * SHALLOW_GAIN, DEEP_WATER, level);
    vec3 litBody = body * (AMBIENT + LIGHT_COLOUR * light.diffuse * shadow);
    float opacity = mix(surface.a * CLEAR_FROM_ABOVE, 1.0, level);
    float grazing = 1.0 - clamp(dot(normal, eyeVector), 0.0, 1.0);
    float grazing2 = grazing * grazing;
    float fresnel = WATER_F0 + (1.0 - WATER_F0) * grazing2 * grazing2 * grazing;
    vec3 mirrored = reflectedColour(normal, eyeVector, lightVector);
    float glint = light.specular * GLINT_STRENGTH;
    // The glint covers what lies beneath too, so that it is not lost where
    // the colour saturates.
    float coverage = min(fresnel + (1.0 - fresnel) * opacity + glint, 1.0);
    vec3 premultiplied =
        fresnel * mirrored + (1.0 - fresnel) * opacity * litBody + LIGHT_COLOUR * glint;
    return vec4(premultiplied / coverage, coverage);
}

// The lit modes, flat to bump map with specular.
vec4 litColour(vec4 surface, vec3 normal, vec3 eyeVector, vec3 lightVector, Lighting light,
               float shadow) {
    float mirror = reflectivity(surface.a);
    vec3 lit = surface.rgb * (AMBIENT + LIGHT_COLOUR * light.diffuse * shadow) +
               LIGHT_COLOUR * (light.specular * SPECULAR_STRENGTH * shadow);
    vec4 opaque = vec4(lit, surface.a);
    // Opaque surfaces neither reflect nor fade; as a choice, the water's
    // steps go from a build with OPAQUE_COLOUR.
    if (!(mirror > 0.0)) return opaque;
    vec4 water =
        mix(opaque, waterColour(surface, normal, eyeVector, lightVector, light, shadow), mirror);
    float distanceFade = 1.0 - smoothstep(WATER_FADE_START, WATER_FADE_END, length(toEye));
    return vec4(water.rgb, water.a * mix(1.0, distanceFade, mirror));
}

// The reflection pass: what lies above the water, lit where it stands, and
// the light sphere glowing; nothing from below the water. Blending is on, so
// a fragment of alpha 0 leaves the target as it was; unlike a discard it
// keeps the early depth test available to every mode of this shader.
vec4 mirroredColour(vec4 surface, float diffuse, float shadow) {
    if (worldPosition.y < WATER_HEIGHT) return vec4(0.0);
    if (length(toLight) < LIGHT_SPHERE_RADIUS) return surface;
    return vec4(surface.rgb * (AMBIENT + LIGHT_COLOUR * diffuse * shadow), surface.a);
}

void main() {
    if (SHADING_MODE == MODE_SHADOW_PASS) {
        fragColor = vec4(1.0);  // depth only; the shadow target has no colour
        return;
    }
    vec4 surface = texture(firstTexture, texCoord);
#ifdef OPAQUE_COLOUR
    // Defined where the colour texture has no alpha channel, whose alpha reads
    // 1 anyway: as a constant it takes the reflection and the fading out.
    surface.a = 1.0;
#endif
    if (SHADING_MODE < MODE_FLAT || SHADING_MODE > MODE_REFLECTION_PASS) {
        fragColor = surface;  // MODE_NONE and any unknown mode: the texture only
        return;
    }
    vec3 normal = normalize(worldNormal);
    if (SHADING_MODE == MODE_BUMPMAP || SHADING_MODE == MODE_BUMPMAP_SPECULAR) {
        normal = mappedNormal(normal, step(0.001, reflectivity(surface.a)));
    }
    bool withSpecular = SHADING_MODE == MODE_FLAT_SPECULAR ||
                        SHADING_MODE == MODE_GOURAUD_SPECULAR ||
                        SHADING_MODE == MODE_BUMPMAP_SPECULAR;
    float power = reflectivity(surface.a) > 0.0 ? GLINT_POWER : SPECULAR_POWER;
    vec3 eyeVector = normalize(toEye);
    vec3 lightVector = normalize(toLight);
    Lighting light = lighting(normal, lightVector, eyeVector, withSpecular, power);
    // The shadow dims the light's diffuse and specular share only: where that
    // is nothing, the shadow need not be looked up.
    float scattered = SHADING_MODE == MODE_REFLECTION_PASS
                          ? 0.0
                          : smoothstep(0.0, SCATTERING_DEPTH, WATER_HEIGHT - worldPosition.y);
    bool needed = light.diffuse > 0.0 && scattered < 1.0;
    float shadow = mix(shadowFactor(needed), SCATTERED_LIGHT, scattered);
    fragColor = SHADING_MODE == MODE_REFLECTION_PASS
                    ? mirroredColour(surface, light.diffuse, shadow)
                    : litColour(surface, normal, eyeVector, lightVector, light, shadow);
}
