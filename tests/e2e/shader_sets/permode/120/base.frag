// Built per mode where the program can (see base.vert). The normal map is
// read in the reflection pass too, where no normal map is bound for the draw:
// the sampler keeps the unit it was given last.
#version 120
uniform sampler2D firstTexture, normalmap, reflection_map;
uniform sampler2DShadow shadow_map;
uniform vec3 lightDirection;
uniform int mode;
#ifndef SHADING_MODE
#define SHADING_MODE mode
#endif

varying vec2 uv;
varying vec3 normal, world;
varying vec4 shadowCoord, screen;

void main() {
    if (SHADING_MODE == -2) {
        gl_FragColor = vec4(1.0);
        return;
    }
    vec4 colour = texture2D(firstTexture, uv);
    vec3 n = normalize(normal);
    if (SHADING_MODE >= 5) n = normalize(n + 2.0 * texture2D(normalmap, uv * 3.0).xyz - 1.0);
    vec3 p = shadowCoord.xyz / shadowCoord.w * 0.5 + 0.5;
    float lit = shadow2D(shadow_map, vec3(clamp(p.xy, 0.0, 1.0), p.z - 0.0005)).r;
    float diffuse = max(dot(n, normalize(lightDirection - world)), 0.0) * lit;
    vec3 rgb = SHADING_MODE == 0 ? colour.rgb : colour.rgb * (0.3 + 0.7 * diffuse);
    vec2 onScreen = screen.xy / screen.w * 0.5 + 0.5;
    if (SHADING_MODE == 6) rgb = mix(rgb, texture2D(reflection_map, onScreen).rgb, 0.8);
    gl_FragColor = vec4(rgb, SHADING_MODE == 6 ? 1.0 : colour.a);
}
