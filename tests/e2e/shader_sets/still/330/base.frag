#version 330
uniform sampler2D firstTexture, normalmap;
uniform sampler2DShadow shadow_map;
uniform vec3 lightDirection;
uniform int mode;

in vec2 uv;
in vec3 normal, world;
in vec4 shadowCoord;
out vec4 fragColor;

void main() {
    if (mode == -2) {
        if (texture(normalmap, uv).g < 0.5) discard;
        fragColor = vec4(1.0);
        return;
    }
    vec4 colour = texture(firstTexture, uv);
    vec3 n = normalize(normal);
    if (mode == 5 || mode == 6) n = normalize(n + texture(normalmap, uv).xyz - 0.5);
    vec3 p = shadowCoord.xyz / shadowCoord.w * 0.5 + 0.5;
    float lit = texture(shadow_map, vec3(clamp(p.xy, 0.0, 1.0), p.z - 0.0005));
    float diffuse = max(dot(n, normalize(lightDirection - world)), 0.0);
    // Each triangle's own number tints it, so a draw split in parts would show.
    float tint = 0.85 + 0.15 * fract(float(gl_PrimitiveID) / 997.0);
    fragColor = vec4(colour.rgb * (0.3 + 0.7 * diffuse * lit) * tint, colour.a);
}
