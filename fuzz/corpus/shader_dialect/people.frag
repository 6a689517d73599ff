#version 330 core
/* out of range */ out vec4 c; uniform float t;
	in vec2 uv;
void f(out float a) { a = 1; }
void main() { float x = 2; f(x); c = vec4(texture(s, uv).x * x); }
