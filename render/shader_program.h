// One linked program of one vertex and one fragment shader, read from
// basePath + ".vert" and basePath + ".frag". A failed build is reported on the
// console and leaves isLoaded() false; it never throws.
#pragma once

#include <string>

#include "platform/gl.h"

// True when the file can be opened for reading.
bool fileExists(const std::string& path);
// The whole file, byte for byte; "" when it cannot be opened.
std::string readTextFile(const std::string& path);

class ShaderProgram {
public:
    // kind: 0 minimal, 1 base (scene objects also set "M"), -1 gizmo.
    ShaderProgram(const std::string& basePath, int kind);
    ~ShaderProgram();
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    bool isLoaded() const { return loaded; }
    int getKind() const { return kind; }
    GLuint getProgramId() const { return programId; }
    void bind() const;
    void unbind() const;
    // Asked of OpenGL at every call; -1 for a name the program does not use.
    GLint getUniformLocation(const char* name) const;
    GLint getAttribLocation(const char* name) const;

private:
    GLuint compile(GLenum type, const std::string& source);
    void link();

    bool loaded = false;
    std::string vertexSource;
    std::string fragmentSource;
    GLuint vertexShaderId = 0;
    GLuint fragmentShaderId = 0;
    GLuint programId = 0;
    int kind;
};
