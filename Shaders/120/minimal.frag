#version 120
// Minimal program: a constant colour.
void main() {
    gl_FragColor = vec4(1.0, 1.0, 1.0, 1.0);
}
