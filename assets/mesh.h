// The drawable geometry of one scene object: every triangle unrolled into three
// vertices of its own, each attribute in a buffer object of its own, with a
// trivial index buffer 0, 1, 2, ... in slot 0.
#pragma once

#include <cstddef>
#include <functional>
#include <glm/glm.hpp>
#include <vector>

#include "assets/obj_model.h"
#include "platform/gl.h"

class ProgramLocations;

struct AttributeBuffer {
    const char* name = nullptr;  // the attribute's name in the shader; "indices" for slot 0
    GLint location = -1;         // -1 when the program has no such attribute
    GLenum type = GL_FLOAT;
    GLint components = 0;
    GLenum target = GL_ARRAY_BUFFER;
    GLint byteSize = 0;
    GLenum usage = GL_STATIC_DRAW;
    GLuint bufferId = 0;
};

// The buffers' contents of one mesh build, made ahead of the upload (on any
// thread: making them needs no GL context).
struct PreparedMeshArrays {
    struct Array {
        const char* name;
        GLenum target;
        GLint components;
        GLenum type;
        std::vector<unsigned char> bytes;
    };
    bool withTangents = false;
    std::vector<Array> arrays;  // in upload order
};

class Mesh {
  public:
    Mesh() = default;
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Plain: indices, in_Position, in_FlatNormal, in_Normal, in_X, in_Y, in_TexCoord.
    void buildBuffers(const ProgramLocations& program);
    // For normal mapping: the plain set plus in_FlatTangent and in_Tangent.
    void buildBuffersWithTangents(const ProgramLocations& program);
    // The same two builds in two steps: the arrays (computeFaceTangents
    // included), then their upload, which gives the same buffers.
    PreparedMeshArrays prepareArrays(bool withTangents);
    void uploadPreparedArrays(const ProgramLocations& program, const PreparedMeshArrays& prepared);

    void computeFaceTangents();
    void reserveBuffers(int count);
    void addAttributeBuffer(const char* name, const ProgramLocations& program, GLenum target,
                            const void* data, GLenum usage, GLint components, GLenum type);

    // Per-corner values, 3 × faceCount entries: vertex 3f + c is corner c of face f.
    std::vector<glm::vec3> cornerPositions() const;
    std::vector<glm::vec3> cornerFlatNormals() const;
    std::vector<glm::vec3> cornerFlatTangents() const;
    std::vector<glm::vec3> cornerSmoothNormals() const;
    std::vector<glm::vec3> cornerSmoothTangents() const;
    std::vector<glm::vec3> cornerUnitX() const;
    std::vector<glm::vec3> cornerUnitY() const;
    std::vector<glm::vec2> cornerTexCoords() const;
    // The index buffer's contents: 0, 1, 2, ..., 3 × faceCount − 1.
    std::vector<GLint> cornerIndices() const;

    // The vec3 per-corner arrays by kind, written into `corners` (whose
    // storage is reused): the builds refill one array for every upload.
    enum class CornerArray {
        Positions,
        FlatNormals,
        FlatTangents,
        SmoothNormals,
        SmoothTangents,
        UnitX,
        UnitY
    };
    void fillCornerArray(CornerArray kind, std::vector<glm::vec3>& corners) const;
    std::vector<glm::vec3> cornerArray(CornerArray kind) const;

    // Faces the build uses: faceCount, but never more than `faces` holds.
    size_t usableFaceCount() const;
    // Vertices the buffers hold and a draw draws: 3 × usableFaceCount(), or 0
    // when the buffers would be too large for a 32-bit byte size.
    GLint uploadVertexCount() const;

    // Draw steps; the program must be bound before bindAttributes.
    void bindAttributes() const;
    // Every triangle, in order. With `parts` > 1 they go in that many draws of
    // consecutive triangles, each handed to the driver (glFlush) before the
    // next is issued: the same triangles in the same order, so the same
    // pixels for any program that does not read gl_PrimitiveID, which counts
    // from 0 in each draw.
    void drawTriangles(int parts = 1) const;
    void unbindAttributes() const;

    // Each buffer's contents in upload order, as (name, target, data,
    // components, type); the data is valid during the call only.
    using AttributeArrayVisitor = std::function<void(
        const char* name, GLenum target, const void* data, GLint components, GLenum type)>;
    void produceAttributeArrays(bool withTangents, const AttributeArrayVisitor& take) const;
    static int attributeBufferCount(bool withTangents);

    ObjModel model;
    std::vector<glm::vec3> faceTangents;
    std::vector<AttributeBuffer> buffers;
    int bufferCapacity = 0;
    int bufferCount = 0;
};
