#version 120
uniform sampler2D firstTexture, normalmap;
uniform sampler2DShadow shadow_map;
uniform vec3 lightDirection;
uniform int mode;

varying vec2 uv;
varying vec3 normal, world;
varying vec4 shadowCoord;

void main() {
    if (mode == -2) {
        if (texture2D(normalmap, uv).g < 0.5) discard;
        gl_FragColor = vec4(1.0);
        return;
    }
    vec4 colour = texture2D(firstTexture, uv);
    vec3 n = normalize(normal);
    if (mode == 5 || mode == 6) n = normalize(n + texture2D(normalmap, uv).xyz - 0.5);
    vec3 p = shadowCoord.xyz / shadowCoord.w * 0.5 + 0.5;
    float lit = shadow2D(shadow_map, vec3(clamp(p.xy, 0.0, 1.0), p.z - 0.0005)).r;
    float diffuse = max(dot(n, normalize(lightDirection - world)), 0.0);
    gl_FragColor = vec4(colour.rgb * (0.3 + 0.7 * diffuse * lit), colour.a);
}
