// Meshes in a real context on both profiles, built for the scene's own base
// program: each corner array in its buffer slot under its attribute's name,
// and the attribute state the draw steps leave.
#include <cstring>
#include <memory>

#include "assets/mesh.h"
#include "gl_test_support.h"
#include "render/shader_program.h"

namespace {

// The buffer's bytes equal `expected`'s (NaN included, which never equals itself).
template <typename T>
bool holds(const AttributeBuffer& buffer, const std::vector<T>& expected) {
    std::vector<T> data(static_cast<size_t>(buffer.byteSize) / sizeof(T));
    glBindBuffer(buffer.target, buffer.bufferId);
    glGetBufferSubData(buffer.target, 0, buffer.byteSize, data.data());
    return data.size() == expected.size() &&
           !std::memcmp(data.data(), expected.data(), buffer.byteSize);
}

int enabledArrays() {
    GLint enabled = 0;
    for (GLuint i = 0, state = 0; i < 16; ++i, enabled += state != 0)
        glGetVertexAttribiv(i, GL_VERTEX_ATTRIB_ARRAY_ENABLED, reinterpret_cast<GLint*>(&state));
    return enabled;
}

// Two triangles sharing two positions, and a face whose indices lie outside
// every array, built with tangents and without; and a model without faces.
class GlUpload : public testing::TestWithParam<support::ContextRequest> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(support::openContext(GetParam(), 64, 64));
        program = std::make_unique<ShaderProgram>("Shaders/" + GetParam().shaderVersion + "/base",
                                                  kBaseProgram);
        for (Mesh* m : {&mesh, &plain})
            m->model = ObjModel{
                2,
                4,
                4,
                3,
                {glm::vec3(-1, -1, 0), glm::vec3(1, -1, 0), glm::vec3(1, 1, 0), glm::vec3(0)},
                {glm::vec3(0, 0, 1), glm::vec3(0, 1, 1)},
                {glm::vec2(0.1f, 0.2f), glm::vec2(0.9f, 0.3f), glm::vec2(0.8f, 0.9f),
                 glm::vec2(0.2f)},
                {ObjFace{0, 0, {0, 1, 2}, {0, 1, 2}}, ObjFace{1, 0, {0, 2, 3}, {0, 2, 3}},
                 ObjFace{5, 0, {9, -4, 2}, {7, -1, 1}}}};
        mesh.buildBuffersWithTangents(*program);
        plain.buildBuffers(*program);
        empty.buildBuffersWithTangents(*program);
        ASSERT_TRUE(mesh.bufferCount == 9 && plain.bufferCount == 7 && empty.bufferCount == 9);
    }
    void TearDown() override {
        program.reset();
        support::closeContext();  // after the test's GL objects
    }

    support::ScratchDirectory scratch;
    std::unique_ptr<ShaderProgram> program;
    Mesh mesh, plain, empty;
};

}  // namespace

TEST_P(GlUpload, BuffersHoldTheCornerArraysInSlotOrder) {
    const char* const names[] = {"in_Position", "in_FlatNormal", "in_FlatTangent", "in_Normal",
                                 "in_Tangent",  "in_X",          "in_Y",           "in_TexCoord"};
    const std::vector<glm::vec3> arrays[] = {
        mesh.cornerPositions(),     mesh.cornerFlatNormals(),    mesh.cornerFlatTangents(),
        mesh.cornerSmoothNormals(), mesh.cornerSmoothTangents(), mesh.cornerUnitX(),
        mesh.cornerUnitY()};
    EXPECT_TRUE(holds(mesh.buffers[0], mesh.cornerIndices()) &&
                holds(mesh.buffers[8], mesh.cornerTexCoords()));
    EXPECT_STREQ(mesh.buffers[0].name, "indices");
    int used = 0;  // attributes the program has
    for (size_t slot = 1; slot < 9; ++slot) {
        EXPECT_STREQ(mesh.buffers[slot].name, names[slot - 1]);
        EXPECT_EQ(mesh.buffers[slot].location, program->getAttribLocation(names[slot - 1]));
        EXPECT_TRUE(slot == 8 || holds(mesh.buffers[slot], arrays[slot - 1])) << names[slot - 1];
        used += mesh.buffers[slot].location != -1;
    }
    EXPECT_GE(used, 5);
    // The plain build leaves the tangents out.
    EXPECT_TRUE(holds(plain.buffers[3], plain.cornerSmoothNormals()) &&
                plain.faceTangents.size() == 3);
    EXPECT_STREQ(plain.buffers[6].name, "in_TexCoord");
    EXPECT_EQ(mesh.cornerPositions()[6], glm::vec3(0.0f));  // indices outside read 0
    EXPECT_TRUE(support::takeGLErrors().empty());
}

// A draw enables the arrays of the attributes the program has and leaves
// none enabled, nor an index buffer bound; a model without faces draws nothing.
TEST_P(GlUpload, DrawsLeaveNothingBound) {
    int used = 0;
    for (size_t slot = 1; slot < 9; ++slot) used += mesh.buffers[slot].location != -1;
    program->bind();
    for (Mesh* drawn : {&mesh, &empty}) {
        drawn->bindAttributes();
        EXPECT_EQ(enabledArrays(), used);
        EXPECT_EQ(support::integerState(GL_ELEMENT_ARRAY_BUFFER_BINDING),
                  static_cast<int>(drawn->buffers[0].bufferId));
        drawn->drawTriangles();
        drawn->unbindAttributes();
        EXPECT_EQ(enabledArrays() + support::integerState(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    }
    EXPECT_TRUE(support::takeGLErrors().empty());
}

INSTANTIATE_TEST_SUITE_P(Contexts, GlUpload, support::kBothContexts, support::contextName);
