// What one object's draw hands to OpenGL, read back from a probe program that
// uses every uniform the draw writes: the matrices by their conventions, the
// clock and the mode, and the texture units each program kind and mode bind.
#include "render/scene_object.h"

#include <memory>

#include "gl_test_support.h"
#include "render/model_loaders.h"
#include "render/shader_program.h"

namespace {

// A probe program of each kind, a plain object and one with a normal map, both
// of one triangle, seen through the scene's kind of view and projection.
class SceneObjectDraw : public testing::Test {
  protected:
    void SetUp() override {
        scope.input.setTime(3.5);
        // Every uniform kept active through a weight the linker cannot fold.
        support::writeFile(
            "probe.vert",
            "#version 120\nattribute vec3 in_Position;\nuniform mat4 mvMat, invmvpMat, V_cam, M, "
            "projMat;\nuniform float timer, w;\nuniform int mode;\nvoid main() { vec4 p = "
            "vec4(in_Position, 1.0); gl_Position = transpose(projMat) * mvMat * p + w * "
            "(invmvpMat * p + V_cam * p + M * p + vec4(timer + float(mode))); }\n");
        support::writeFile(
            "probe.frag",
            "#version 120\nuniform sampler2D firstTexture, normalmap;\nuniform float w;\nvoid "
            "main() { gl_FragColor = texture2D(firstTexture, vec2(0)) + w * "
            "texture2D(normalmap, vec2(0)); }\n");
        support::writeFile("t.obj",
                           "v -1 -1 0\nv 1 -1 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n");
        support::writeFile("t.tga", support::encodeTga(support::tgaPattern(2, 2, 3), true));
        ASSERT_TRUE(support::openContext(support::kCompatibility));
        probe = std::make_unique<ShaderProgram>("probe", kBaseProgram);
        kindZero = std::make_unique<ShaderProgram>("probe", kMinimalProgram);
        loadModel("t.obj", *probe, "firstTexture", "t.tga", plain);
        loadModelWithNormalMap("t.obj", *probe, "firstTexture", "t.tga", "normalmap", "t.tga",
                               mapped);
        plain.scale(glm::vec3(2.0f));
        plain.rotate(30.0f, glm::vec3(0, 1, 0));
        plain.setPosition(glm::vec3(0, 140, 100));
        plain.setMode(4);
    }
    void TearDown() override {
        probe.reset(), kindZero.reset();
        support::closeContext();  // after the test's GL objects
    }

    support::ScratchDirectory scratch;
    support::ScriptedInputScope scope;
    std::unique_ptr<ShaderProgram> probe, kindZero;
    SceneObject plain, mapped;
    const glm::mat4 view = glm::lookAt(glm::vec3(5, 20, 41), glm::vec3(0), glm::vec3(0, 1, 0));
    const glm::mat4 projection = glm::perspective(glm::radians(20.0f), 4.0f / 3.0f, 1.0f, 3.0f);
};

}  // namespace

TEST_F(SceneObjectDraw, UploadsTheMatricesClockAndModeByTheConventions) {
    plain.draw(view, projection, *probe);
    const GLuint id = probe->getProgramId();
    const glm::mat4 model = plain.getModelMatrix();
    EXPECT_EQ(support::uniformMatrix(id, "mvMat"), view * model);
    EXPECT_EQ(support::uniformMatrix(id, "V_cam"), view);
    EXPECT_EQ(support::uniformMatrix(id, "M"), model);
    EXPECT_EQ(support::uniformMatrix(id, "projMat"),
              glm::transpose(projection));  // the one transposed
    const glm::mat4 identity = support::uniformMatrix(id, "invmvpMat") * projection * view * model;
    for (int c = 0; c < 16; ++c) EXPECT_NEAR(identity[c / 4][c % 4], c % 5 == 0, 1e-3f) << c;
    GLfloat timer = 0.0f;
    glGetUniformfv(id, glGetUniformLocation(id, "timer"), &timer);
    EXPECT_EQ(std::to_string(timer) + " " + std::to_string(support::uniformInt(id, "mode")),
              "3.500000 4");
    EXPECT_TRUE(support::takeGLErrors().empty());
}

// Kind 0 binds no texture and writes no "M"; a bump-mapping mode binds unit 1
// only with a normal map, and points the sampler at it.
TEST_F(SceneObjectDraw, BindsTheUnitsItsKindAndModeNeed) {
    GLuint marker = 0;
    glGenTextures(1, &marker);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, marker);
    glActiveTexture(GL_TEXTURE3);
    plain.draw(view, projection, *kindZero);
    EXPECT_EQ(support::integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
    EXPECT_EQ(support::uniformMatrix(kindZero->getProgramId(), "M"), glm::mat4(0.0f));
    plain.setMode(5);
    plain.draw(view, projection, *probe);
    EXPECT_EQ(support::integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    mapped.setMode(6);
    mapped.draw(view, projection, *probe);
    EXPECT_EQ(support::integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    EXPECT_EQ(support::uniformInt(probe->getProgramId(), "normalmap"), 1);
    EXPECT_EQ(support::integerState(GL_TEXTURE_BINDING_2D), 0) << "the active unit is left empty";
    EXPECT_TRUE(support::takeGLErrors().empty());
}
