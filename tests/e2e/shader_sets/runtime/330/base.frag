#version 330
uniform sampler2D firstTexture, normalmap, reflection_map;
uniform sampler2DShadow shadow_map;
uniform vec3 lightDirection;
uniform int mode;

in vec2 uv;
in vec3 normal, world;
in vec4 shadowCoord, screen;
out vec4 fragColor;

float lit() {
    vec3 p = shadowCoord.xyz / shadowCoord.w * 0.5 + 0.5;
    if (shadowCoord.w <= 0.0 || any(lessThan(p, vec3(0.0))) || any(greaterThan(p, vec3(1.0))))
        return 1.0;
    return texture(shadow_map, vec3(p.xy, p.z - 0.0005));
}

void main() {
    if (mode == -2) {
        fragColor = vec4(1.0);
        return;
    }
    vec4 colour = texture(firstTexture, uv);
    if (mode == 0) {
        fragColor = colour;
        return;
    }
    vec3 n = normalize(normal);
    if (mode >= 5) n = normalize(n + texture(normalmap, uv * 4.0).xyz - 0.5);
    float diffuse = max(dot(n, normalize(lightDirection - world)), 0.0);
    vec3 rgb = colour.rgb * (0.3 + 0.7 * diffuse * lit());
    if (mode == 6) rgb += 0.5 * texture(reflection_map, screen.xy / screen.w * 0.5 + 0.5).rgb;
    fragColor = vec4(rgb, colour.a);
}
