// What one scene object's draw hands to OpenGL, read back from a probe
// program that uses every uniform the draw writes: the matrix conventions,
// which texture units a draw touches by program kind and mode, and what a
// draw leaves bound.
#include <gtest/gtest.h>

#include <memory>

#include <glm/gtc/matrix_transform.hpp>

#include "gl_test_context.h"
#include "platform/gl.h"
#include "platform/scripted_input.h"
#include "platform/window.h"
#include "render/model_loaders.h"
#include "render/scene_object.h"
#include "render/shader_program.h"

namespace {

// Every uniform is kept active through a weight the linker cannot fold.
const char* kProbeVertex = R"(#version 120
attribute vec3 in_Position;
attribute vec2 in_TexCoord;
uniform mat4 mvMat;
uniform mat4 invmvpMat;
uniform mat4 V_cam;
uniform mat4 M;
uniform mat4 projMat;
uniform float timer;
uniform int mode;
uniform float probeWeight;
varying vec2 uv;
void main() {
    vec4 p = vec4(in_Position, 1.0);
    uv = in_TexCoord;
    gl_Position = transpose(projMat) * mvMat * p +
                  probeWeight * (invmvpMat * p + V_cam * p + M * p + vec4(timer + float(mode)));
}
)";

const char* kProbeFragment = R"(#version 120
uniform sampler2D firstTexture;
uniform sampler2D normalmap;
uniform float probeWeight;
varying vec2 uv;
void main() {
    gl_FragColor = texture2D(firstTexture, uv) + probeWeight * texture2D(normalmap, uv);
}
)";

const char* kTriangleObj =
    "v -1 -1 0\nv 1 -1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0.5 1\nvn 0 0 1\n"
    "f 1/1/1 2/2/1 3/3/1\n";

GLint integerState(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

GLint textureOnUnit(GLenum unit) {
    const GLint active = integerState(GL_ACTIVE_TEXTURE);
    glActiveTexture(unit);
    const GLint texture = integerState(GL_TEXTURE_BINDING_2D);
    glActiveTexture(static_cast<GLenum>(active));
    return texture;
}

GLuint makeTexture() {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    return texture;
}

class SceneObjectDraw : public ::testing::Test {
protected:
    void SetUp() override {
        scratch = std::make_unique<gltest::ScratchDirectory>("object");
        gltest::writeFile("probe.vert", kProbeVertex);
        gltest::writeFile("probe.frag", kProbeFragment);
        gltest::writeFile("Models/triangle.obj", kTriangleObj);
        gltest::writeTga("Sprites/white.tga", 2, 2, 3, std::vector<unsigned char>(12, 255));
        input.setTime(3.5);
        platform::setInputSource(&input);
        ASSERT_TRUE(gltest::openContext(gltest::compatibilityContext()));
        probe = std::make_unique<ShaderProgram>("probe", 1);
        ASSERT_TRUE(probe->isLoaded());
        plain = std::make_unique<SceneObject>();
        loadModel("Models/triangle.obj", *probe, "firstTexture", "Sprites/white.tga", *plain);
        mapped = std::make_unique<SceneObject>();
        loadModelWithNormalMap("Models/triangle.obj", *probe, "firstTexture", "Sprites/white.tga",
                               "normalmap", "Sprites/white.tga", *mapped);
        gltest::takeGLErrors();
    }
    void TearDown() override {
        plain.reset();
        mapped.reset();
        probe.reset();
        gltest::closeContext();
        platform::setInputSource(nullptr);
        scratch.reset();
    }

    std::unique_ptr<gltest::ScratchDirectory> scratch;
    platform::ScriptedInput input;
    std::unique_ptr<ShaderProgram> probe;
    std::unique_ptr<SceneObject> plain;
    std::unique_ptr<SceneObject> mapped;
};

TEST_F(SceneObjectDraw, UploadsMatricesTimeAndModeByTheirConventions) {
    plain->scale(glm::vec3(2.0f));
    plain->rotate(30.0f, glm::vec3(0, 1, 0));
    plain->setPosition(glm::vec3(0, 140, 100));
    plain->setMode(4);
    const glm::mat4 view = glm::lookAt(glm::vec3(5, 20, 41), glm::vec3(0), glm::vec3(0, 1, 0));
    const glm::mat4 projection = glm::perspective(glm::radians(20.0f), 800.0f / 600.0f, 1.0f, 3.0f);
    plain->draw(view, projection, *probe);
    EXPECT_TRUE(gltest::takeGLErrors().empty());

    const GLuint id = probe->getProgramId();
    const glm::mat4 model = plain->getModelMatrix();
    EXPECT_EQ(gltest::uniformMatrix(id, "mvMat"), view * model);
    EXPECT_EQ(gltest::uniformMatrix(id, "V_cam"), view);
    EXPECT_EQ(gltest::uniformMatrix(id, "M"), model);
    // The projection is the one matrix uploaded transposed.
    EXPECT_EQ(gltest::uniformMatrix(id, "projMat"), glm::transpose(projection));
    const glm::mat4 product = gltest::uniformMatrix(id, "invmvpMat") * projection * view * model;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            EXPECT_NEAR(product[column][row], column == row ? 1.0f : 0.0f, 1e-3f)
                << "invmvpMat x P x V x M at column " << column << ", row " << row;
        }
    }
    EXPECT_EQ(gltest::uniformInt(id, "mode"), 4);
    GLfloat timer = 0.0f;
    glGetUniformfv(id, glGetUniformLocation(id, "timer"), &timer);
    EXPECT_FLOAT_EQ(timer, 3.5f);
}

TEST_F(SceneObjectDraw, KindZeroProgramBindsNoTextureAndWritesNoModelMatrix) {
    ShaderProgram kindZero("probe", 0);
    ASSERT_TRUE(kindZero.isLoaded());
    const GLuint id = kindZero.getProgramId();
    const glm::mat4 untouched(2.0f);
    kindZero.bind();
    glUniformMatrix4fv(glGetUniformLocation(id, "M"), 1, GL_FALSE, &untouched[0][0]);
    kindZero.unbind();
    const GLuint onUnitZero = makeTexture();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, onUnitZero);
    glActiveTexture(GL_TEXTURE3);

    plain->setPosition(glm::vec3(1, 2, 3));
    plain->draw(glm::mat4(1.0f), glm::mat4(1.0f), kindZero);
    EXPECT_EQ(gltest::uniformMatrix(id, "M"), untouched);
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE3) << "no unit chosen";
    EXPECT_EQ(textureOnUnit(GL_TEXTURE0), static_cast<GLint>(onUnitZero));

    // The base kind binds its colour texture on unit 0 and writes "M".
    plain->draw(glm::mat4(1.0f), glm::mat4(1.0f), *probe);
    EXPECT_EQ(gltest::uniformMatrix(probe->getProgramId(), "M"), plain->getModelMatrix());
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_TRUE(gltest::takeGLErrors().empty());
}

TEST_F(SceneObjectDraw, ObjectWithoutNormalMapBindsOnlyUnitZeroInModeFive) {
    const GLuint onUnitOne = makeTexture();
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, onUnitOne);
    probe->bind();
    glUniform1i(probe->getUniformLocation("normalmap"), 5);
    probe->unbind();

    plain->setMode(5);
    plain->draw(glm::mat4(1.0f), glm::mat4(1.0f), *probe);
    EXPECT_EQ(textureOnUnit(GL_TEXTURE1), static_cast<GLint>(onUnitOne));
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(gltest::uniformInt(probe->getProgramId(), "normalmap"), 5);

    // With a normal map the same mode binds unit 1 and points the sampler at it.
    mapped->setMode(5);
    mapped->draw(glm::mat4(1.0f), glm::mat4(1.0f), *probe);
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    EXPECT_EQ(gltest::uniformInt(probe->getProgramId(), "normalmap"), 1);
    EXPECT_EQ(textureOnUnit(GL_TEXTURE0), static_cast<GLint>(mapped->textures.textureIds[0]));
    EXPECT_TRUE(gltest::takeGLErrors().empty());
}

TEST_F(SceneObjectDraw, LeavesNoArrayEnabledNoIndexBufferNoProgramAndActiveUnitEmpty) {
    mapped->setMode(6);
    mapped->draw(glm::mat4(1.0f), glm::mat4(1.0f), *probe);
    GLint attributes = 0;
    glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &attributes);
    for (GLint location = 0; location < attributes; ++location) {
        GLint enabled = GL_TRUE;
        glGetVertexAttribiv(static_cast<GLuint>(location), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        EXPECT_EQ(enabled, GL_FALSE) << "attribute array " << location;
    }
    EXPECT_EQ(integerState(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(integerState(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_TRUE(gltest::takeGLErrors().empty());
}

}  // namespace
