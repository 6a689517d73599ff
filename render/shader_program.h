// One linked program of one vertex and one fragment shader, read from
// basePath + ".vert" and basePath + ".frag". A failed build is reported on the
// console and leaves isLoaded() false; it never throws.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "assets/program_locations.h"
#include "platform/gl.h"

// True when the file can be opened for reading.
bool fileExists(const std::string& path);
// The whole file, byte for byte; "" when it cannot be opened.
std::string readTextFile(const std::string& path);

// The kinds of program the system builds. A scene object drawn with a program
// of a kind other than minimal binds its textures; with the base kind it also
// sets the model matrix "M".
constexpr int kMinimalProgram = 0;
constexpr int kBaseProgram = 1;
constexpr int kGizmoProgram = -1;

class ShaderProgram final : public ProgramLocations {
public:
    // `kind`: one of the kinds above.
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
    GLint getUniformLocation(const char* name) const override;
    GLint getAttribLocation(const char* name) const override;

    // Binds the program for one draw in shading mode `mode` and returns it.
    // Where both sources test SHADING_MODE, that is a build of them for this
    // mode alone (made on first use), in which the other modes' work is gone:
    // a software rasteriser runs every branch of a shader under a mask, so a
    // branch on a uniform saves nothing. `opaqueColour` says that the colour
    // texture bound for the draw has no alpha channel; the build then also
    // defines OPAQUE_COLOUR. A build shares this program's attribute
    // locations and gets this program's uniform values before each draw, so
    // it draws as this program would. Otherwise (other sources, a mode
    // outside -2..7, a build that fails) it is this program.
    const ShaderProgram& bindForDraw(int mode, bool opaqueColour) const;

private:
    // A build of `general`'s sources with `definitions` after the #version
    // line; it reports nothing.
    ShaderProgram(const ShaderProgram& general, const std::string& definitions);

    GLuint compile(GLenum type, const std::string& source);
    void link();
    void bindAttribLocationsOf(const ShaderProgram& other) const;
    // For a build: finds the uniforms it shares with `general`, once, since
    // a linked program's locations never change.
    void findSharedUniforms(const ShaderProgram& general);
    // For a build (bound): sets each shared uniform to its value in `general`.
    void copyUniformValuesFrom(const ShaderProgram& general) const;

    bool loaded = false;
    std::string vertexSource;
    std::string fragmentSource;
    GLuint vertexShaderId = 0;
    GLuint fragmentShaderId = 0;
    GLuint programId = 0;
    int kind;
    bool quiet = false;  // the builds for one draw print no messages
    // Both sources test SHADING_MODE, so builds per mode leave work out.
    bool buildsPerMode = false;
    struct SharedUniform {
        GLint from;  // the location in the program built from
        GLint to;    // the location in the build
        GLenum type;
    };
    std::vector<SharedUniform> sharedUniforms;
    mutable std::map<int, std::unique_ptr<ShaderProgram>> drawPrograms;
};
