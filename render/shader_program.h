// One linked program of one vertex and one fragment shader, read from
// basePath + ".vert" and basePath + ".frag". A failed build is reported on the
// console and leaves isLoaded() false; it never throws.
//
// Two shortcuts draw exactly what the plain program would: per-mode builds of
// the sources (see bindForDraw) and the position attribute bound to location
// 0 where the sources leave its place to the linker. Both are off while
// plain drawing is on.
#pragma once

#include <cstdint>
#include <glm/glm.hpp>
#include <memory>
#include <string>
#include <vector>

#include "assets/program_locations.h"
#include "platform/gl.h"
#include "render/active_attributes.h"

class PerModeBuilds;
class UniformRecord;

// Plain drawing, for tests and tools that check the shortcuts: programs built
// from then on bind no attribute location, every draw uses the one program
// built from the sources with "mode" as a uniform, and the frame draws its
// shadow map every frame. Off by default; never read from config.cfg.
void setPlainDrawing(bool plain);
bool plainDrawing();

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
    // Binds this program. Uniform values are set between a bind (or a
    // bindForDraw) and the unbind.
    void bind() const;
    void unbind() const;
    // Asked of OpenGL at every call; -1 for a name the program does not use.
    GLint getUniformLocation(const char* name) const override;
    GLint getAttribLocation(const char* name) const override;

    // The attribute locations the program reads, asked of the driver once
    // after the link.
    const std::vector<LocationRange>& readAttributeLocations() const { return readLocationRanges; }
    // Whether a draw with this program may shade corners with equal read
    // values as one vertex (render/shared_corner_buffers.h): not while plain
    // drawing is on, and not for sources that read gl_VertexID, which would
    // see the shared corner's number in place of each corner's own.
    bool sharesCorners() const;
    // Whether a large draw with this program may go in parts, each handed to
    // the driver before the next (Mesh::drawTriangles), so that a driver that
    // rasterises on threads of its own (llvmpipe does so a batch at a time)
    // starts on one part while this thread prepares the next: not while plain
    // drawing is on, not where the commands run in another process anyway (a
    // browser's), and not for sources that read gl_PrimitiveID.
    bool drawsInParts() const;

    // Uniform values: each is looked up by name in the program bound, written
    // there and remembered here, so that every build of this program, when
    // it is bound, holds exactly what this one program would hold. A name the
    // program lacks is remembered and written to location -1: no effect.
    void setInt(const char* name, GLint value) const;
    void setFloat(const char* name, GLfloat value) const;
    void setVec2(const char* name, glm::vec2 value) const;
    void setVec3(const char* name, glm::vec3 value) const;
    // `transposed`: uploaded with the transpose flag GL_TRUE.
    void setMat4(const char* name, const glm::mat4& value, bool transposed) const;

    // Binds the program that draws shading mode `mode` (drawProgram).
    void bindForDraw(int mode, bool opaqueColour) const;
    // The program that draws shading mode `mode`. Where the sources' code
    // uses the macro SHADING_MODE (asked of the compiler once, at the first
    // draw), that is a build of them for this mode alone (made on first use),
    // in which the other modes' work is gone: a software rasteriser runs every
    // branch of a shader under a mask, so a branch on a uniform saves nothing.
    // `opaqueColour` says that the colour texture bound for the draw has no
    // alpha channel; the build then also defines OPAQUE_COLOUR. A build shares
    // this program's attribute locations and gets this program's remembered
    // uniform values whenever it is bound. Otherwise (sources that do not use
    // the macro, a mode outside -2..7, plain drawing, or once any build has
    // failed) it is this program.
    const ShaderProgram& drawProgram(int mode, bool opaqueColour) const;

    // Starts the build that drawProgram(mode, opaqueColour) will hand out,
    // without waiting for the driver, so that a driver that builds on its own
    // (a browser's GPU process) builds while the caller does other work.
    void startBuild(int mode, bool opaqueColour) const;
    // The serial of the last change to a remembered value that `reader` (this
    // program or one of its builds) uses, leaving out the names in `excluded`;
    // 0 when none was ever set. The serial grows with every change.
    std::uint64_t lastChangeReadBy(const ShaderProgram& reader,
                                   const std::vector<std::string>& excluded) const;

  private:
    friend class PerModeBuilds;  // makes the builds, from the sources

    // A build of `general`'s sources with `definitions` after the #version
    // line, started: its compiles and link are asked for, and nothing is
    // asked of the driver until finishBuild, which says whether it linked.
    // It reports nothing.
    ShaderProgram(const ShaderProgram& general, const std::string& definitions);
    bool finishBuild();
    // Reads the sources, once, for the built-ins that rule out a shortcut.
    void noteBuiltInsRead();

    bool loaded = false;
    std::string vertexSource;
    std::string fragmentSource;
    bool readsVertexId = false;     // see sharesCorners
    bool readsPrimitiveId = false;  // see drawsInParts
    GLuint vertexShaderId = 0;
    GLuint fragmentShaderId = 0;
    GLuint programId = 0;
    int kind;
    std::vector<LocationRange> readLocationRanges;
    // What drawing with the program changes, kept apart from the program
    // itself (its sources, shaders and link, which never change once
    // built): that is why setting a value or making a build is const.
    std::unique_ptr<UniformRecord> uniforms;
    std::unique_ptr<PerModeBuilds> builds;
};
