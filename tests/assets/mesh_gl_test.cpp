// Mesh buffers in a real context: the uploaded data read back with
// glGetBufferSubData, the buffer table, the attribute state the draw steps
// leave, and a draw that reaches the screen on compatibility and core contexts.
#include "assets/mesh.h"

#include <gtest/gtest.h>

#include <cstring>

#include "gl_window.h"
#include "render/shader_program.h"

namespace {

ObjFace face(int p0, int p1, int p2, int normal, int t0, int t1, int t2) {
    ObjFace f;
    f.positionIndex[0] = p0;
    f.positionIndex[1] = p1;
    f.positionIndex[2] = p2;
    f.texCoordIndex[0] = t0;
    f.texCoordIndex[1] = t1;
    f.texCoordIndex[2] = t2;
    f.normalIndex = normal;
    return f;
}

// Two triangles covering the whole viewport, sharing two positions, plus a
// face whose indices lie outside every array.
void fillQuad(ObjModel& model) {
    model.positions = {glm::vec3(-1, -1, 0), glm::vec3(1, -1, 0), glm::vec3(1, 1, 0),
                       glm::vec3(-1, 1, 0)};
    model.normals = {glm::vec3(0, 0, 1), glm::vec3(0, 1, 1)};
    model.texCoords = {glm::vec2(0, 0), glm::vec2(1, 0), glm::vec2(1, 1), glm::vec2(0, 1)};
    model.faces = {face(0, 1, 2, 0, 0, 1, 2), face(0, 2, 3, 1, 0, 2, 3),
                   face(9, -4, 2, 5, 7, -1, 1)};
    model.positionCount = 4;
    model.normalCount = 2;
    model.texCoordCount = 4;
    model.faceCount = 3;
}

template <typename T>
std::vector<T> readBack(const AttributeBuffer& buffer) {
    std::vector<T> data(static_cast<size_t>(buffer.byteSize) / sizeof(T));
    glBindBuffer(buffer.target, buffer.bufferId);
    GLint size = -1;
    glGetBufferParameteriv(buffer.target, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(size, buffer.byteSize) << buffer.name;
    glGetBufferSubData(buffer.target, 0, buffer.byteSize, data.data());
    return data;
}

template <typename T>
void expectSameBytes(const std::vector<T>& actual, const std::vector<T>& expected, const char* name) {
    ASSERT_EQ(actual.size(), expected.size()) << name;
    EXPECT_EQ(std::memcmp(actual.data(), expected.data(), actual.size() * sizeof(T)), 0) << name;
}

int enabledAttributeArrays() {
    GLint maxAttributes = 0;
    glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &maxAttributes);
    int enabled = 0;
    for (GLint i = 0; i < maxAttributes; ++i) {
        GLint state = 0;
        glGetVertexAttribiv(static_cast<GLuint>(i), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &state);
        enabled += state != 0;
    }
    return enabled;
}

void drawAndExpectWhiteViewport(bool coreProfile) {
    gl_test::Window window(coreProfile);
    ASSERT_TRUE(window.isOpen());
    ShaderProgram program(gl_test::writeMeshShaders(coreProfile ? "core_mesh" : "compat_mesh",
                                                    coreProfile),
                          1);
    ASSERT_TRUE(program.isLoaded());
    Mesh mesh;
    fillQuad(mesh.model);
    mesh.model.faces.pop_back();
    mesh.model.faceCount = 2;
    // Texture coordinates away from the origin keep the flat tangents (and so
    // the shader's colour) finite.
    mesh.model.texCoords = {glm::vec2(0.1f, 0.2f), glm::vec2(0.9f, 0.3f), glm::vec2(0.8f, 0.9f),
                            glm::vec2(0.2f, 0.7f)};
    mesh.buildBuffersWithTangents(program);
    glViewport(0, 0, 64, 64);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    program.bind();
    mesh.bindAttributes();
    mesh.drawTriangles();
    mesh.unbindAttributes();
    program.unbind();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    unsigned char pixel[4] = {0, 0, 0, 0};
    for (int x : {2, 32, 61}) {
        glReadPixels(x, 63 - x, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        EXPECT_EQ(pixel[0], 255);
        EXPECT_EQ(pixel[2], 255);
    }
}

}  // namespace

TEST(MeshGl, BuffersHoldTheCornerArraysInSlotOrder) {
    gl_test::Window window;
    ASSERT_TRUE(window.isOpen());
    ShaderProgram program(gl_test::writeMeshShaders("mesh_all", false), 1);
    ASSERT_TRUE(program.isLoaded());
    Mesh mesh;
    fillQuad(mesh.model);
    mesh.buildBuffersWithTangents(program);
    ASSERT_EQ(mesh.bufferCapacity, 9);
    ASSERT_EQ(mesh.bufferCount, 9);
    const char* names[] = {"indices", "in_Position", "in_FlatNormal", "in_FlatTangent", "in_Normal",
                           "in_Tangent", "in_X", "in_Y", "in_TexCoord"};
    for (int slot = 0; slot < 9; ++slot) {
        const AttributeBuffer& buffer = mesh.buffers[static_cast<size_t>(slot)];
        SCOPED_TRACE(names[slot]);
        EXPECT_STREQ(buffer.name, names[slot]);
        EXPECT_EQ(buffer.location, slot == 0 ? -1 : program.getAttribLocation(names[slot]));
        if (slot > 0) {
            EXPECT_NE(buffer.location, -1);
        }
        const int components = slot == 0 ? 1 : slot == 8 ? 2 : 3;
        EXPECT_EQ(buffer.components, components);
        EXPECT_EQ(buffer.byteSize, 3 * 3 * components * 4);
        EXPECT_EQ(buffer.type, static_cast<GLenum>(slot == 0 ? GL_INT : GL_FLOAT));
        EXPECT_EQ(buffer.target, static_cast<GLenum>(slot == 0 ? GL_ELEMENT_ARRAY_BUFFER : GL_ARRAY_BUFFER));
        EXPECT_EQ(buffer.usage, static_cast<GLenum>(GL_STATIC_DRAW));
    }
    expectSameBytes(readBack<GLint>(mesh.buffers[0]), std::vector<GLint>{0, 1, 2, 3, 4, 5, 6, 7, 8},
                    "indices");
    expectSameBytes(readBack<glm::vec3>(mesh.buffers[1]), mesh.cornerPositions(), "in_Position");
    expectSameBytes(readBack<glm::vec3>(mesh.buffers[2]), mesh.cornerFlatNormals(), "in_FlatNormal");
    expectSameBytes(readBack<glm::vec3>(mesh.buffers[3]), mesh.cornerFlatTangents(), "in_FlatTangent");
    expectSameBytes(readBack<glm::vec3>(mesh.buffers[4]), mesh.cornerSmoothNormals(), "in_Normal");
    expectSameBytes(readBack<glm::vec3>(mesh.buffers[5]), mesh.cornerSmoothTangents(), "in_Tangent");
    expectSameBytes(readBack<glm::vec3>(mesh.buffers[6]), mesh.cornerUnitX(), "in_X");
    expectSameBytes(readBack<glm::vec3>(mesh.buffers[7]), mesh.cornerUnitY(), "in_Y");
    expectSameBytes(readBack<glm::vec2>(mesh.buffers[8]), mesh.cornerTexCoords(), "in_TexCoord");
    // The face with indices outside the arrays reads zeros.
    EXPECT_EQ(readBack<glm::vec3>(mesh.buffers[1])[6], glm::vec3(0.0f));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(MeshGl, PlainBuildUploadsSevenBuffers) {
    gl_test::Window window;
    ASSERT_TRUE(window.isOpen());
    ShaderProgram program(gl_test::writeMeshShaders("mesh_plain", false, false), 1);
    Mesh mesh;
    fillQuad(mesh.model);
    mesh.buildBuffers(program);
    ASSERT_EQ(mesh.bufferCount, 7);
    const char* names[] = {"indices", "in_Position", "in_FlatNormal", "in_Normal", "in_X", "in_Y",
                           "in_TexCoord"};
    for (int slot = 0; slot < 7; ++slot) EXPECT_STREQ(mesh.buffers[static_cast<size_t>(slot)].name, names[slot]);
    expectSameBytes(readBack<glm::vec3>(mesh.buffers[3]), mesh.cornerSmoothNormals(), "in_Normal");
    // Face tangents are computed for the plain kind too.
    EXPECT_EQ(mesh.faceTangents.size(), 3u);
}

TEST(MeshGl, DrawStepsSkipMissingAttributesAndLeaveNothingEnabled) {
    gl_test::Window window;
    ASSERT_TRUE(window.isOpen());
    // A program without the tangent attributes, given a mesh built with them.
    ShaderProgram program(gl_test::writeMeshShaders("mesh_no_tangents", false, false), 1);
    Mesh mesh;
    fillQuad(mesh.model);
    mesh.buildBuffersWithTangents(program);
    EXPECT_EQ(mesh.buffers[3].location, -1);
    EXPECT_EQ(mesh.buffers[5].location, -1);
    program.bind();
    mesh.bindAttributes();
    EXPECT_EQ(enabledAttributeArrays(), 6);
    GLint elementBuffer = 0;
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
    EXPECT_EQ(static_cast<GLuint>(elementBuffer), mesh.buffers[0].bufferId);
    mesh.drawTriangles();
    mesh.unbindAttributes();
    EXPECT_EQ(enabledAttributeArrays(), 0);
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
    EXPECT_EQ(elementBuffer, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(MeshGl, EmptyModelUploadsEmptyBuffersAndDrawsNothing) {
    gl_test::Window window;
    ASSERT_TRUE(window.isOpen());
    ShaderProgram program(gl_test::writeMeshShaders("mesh_empty", false), 1);
    Mesh mesh;
    mesh.buildBuffersWithTangents(program);
    ASSERT_EQ(mesh.bufferCount, 9);
    for (const AttributeBuffer& buffer : mesh.buffers) EXPECT_EQ(buffer.byteSize, 0);
    program.bind();
    mesh.bindAttributes();
    mesh.drawTriangles();
    mesh.unbindAttributes();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(MeshGl, DrawsOnACompatibilityContext) { drawAndExpectWhiteViewport(false); }

TEST(MeshGl, DrawsOnACoreContextWithAVertexArrayBound) { drawAndExpectWhiteViewport(true); }
