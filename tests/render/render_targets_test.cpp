// The shadow and reflection render targets on both contexts: their sizes and
// formats, completeness, the wrap modes each context allows, and what their
// lookup bindings leave behind for the passes that follow.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

#include <glm/gtc/matrix_transform.hpp>

#include "gl_test_context.h"
#include "platform/gl.h"
#include "render/reflection_map.h"
#include "render/shader_program.h"
#include "render/shadow_map.h"

namespace {

constexpr GLenum kClamp = 0x2900;

class RenderTargets : public ::testing::TestWithParam<gltest::ContextRequest> {
protected:
    void SetUp() override {
        scratch = std::make_unique<gltest::ScratchDirectory>("targets");
        ASSERT_TRUE(gltest::openContext(GetParam()));
        program = std::make_unique<ShaderProgram>("Shaders/" + GetParam().shaderVersion + "/base", 1);
        ASSERT_TRUE(program->isLoaded());
        gltest::takeGLErrors();
    }
    void TearDown() override {
        program.reset();
        gltest::closeContext();
        scratch.reset();
    }
    bool core() const { return GetParam().major >= 3; }

    std::unique_ptr<gltest::ScratchDirectory> scratch;
    std::unique_ptr<ShaderProgram> program;
};

GLint textureLevelParameter(GLuint texture, GLenum parameter) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

GLint textureParameter(GLuint texture, GLenum parameter) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

GLenum framebufferStatus(GLuint framebuffer) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return status;
}

GLint integerState(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

TEST_P(RenderTargets, ShadowTargetIsThreeTimesTheWindowInDepth24AndComplete) {
    ShadowMap shadowMap(glm::vec3(0, 140, 100), program.get(), 800, 600);
    EXPECT_TRUE(gltest::takeGLErrors().empty());
    const GLuint texture = shadowMap.getDepthTexture();
    EXPECT_EQ(textureLevelParameter(texture, GL_TEXTURE_WIDTH), 2400);
    EXPECT_EQ(textureLevelParameter(texture, GL_TEXTURE_HEIGHT), 1800);
    GLfloat texel[2] = {};
    shadowMap.bindForLookup(glm::vec3(0, 140, 100));
    glGetUniformfv(program->getProgramId(),
                   glGetUniformLocation(program->getProgramId(), "shadow_texel_size"), texel);
    EXPECT_EQ(texel[0], 1.0f / 2400.0f);
    EXPECT_EQ(texel[1], 1.0f / 1800.0f);
    EXPECT_EQ(textureLevelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT), GL_DEPTH_COMPONENT24);
    EXPECT_EQ(textureParameter(texture, GL_TEXTURE_COMPARE_MODE), GL_COMPARE_REF_TO_TEXTURE);
    EXPECT_EQ(textureParameter(texture, GL_TEXTURE_COMPARE_FUNC), GL_LEQUAL);
    EXPECT_EQ(textureParameter(texture, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    const GLint wrap = core() ? GL_CLAMP_TO_EDGE : static_cast<GLint>(kClamp);
    EXPECT_EQ(textureParameter(texture, GL_TEXTURE_WRAP_S), wrap);
    EXPECT_EQ(textureParameter(texture, GL_TEXTURE_WRAP_T), wrap);
    EXPECT_EQ(framebufferStatus(shadowMap.getFramebuffer()),
              static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(integerState(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_TRUE(gltest::takeGLErrors().empty());
}

TEST_P(RenderTargets, TargetsOfAWindowTooLargeForThemShrinkKeepingTheirAspect) {
    // 6000 x 600 asks for an 18000 x 1800 shadow map, 20000 x 200 for a
    // reflection wider than the contexts allow.
    const GLint largest =
        std::min(integerState(GL_MAX_TEXTURE_SIZE), integerState(GL_MAX_RENDERBUFFER_SIZE));
    ShadowMap shadowMap(glm::vec3(0, 140, 100), program.get(), 6000, 600);
    ReflectionMap reflectionMap(program.get(), 20000, 200);
    EXPECT_TRUE(gltest::takeGLErrors().empty());
    for (const auto& [texture, framebuffer, aspect] :
         {std::tuple{shadowMap.getDepthTexture(), shadowMap.getFramebuffer(), 10},
          std::tuple{reflectionMap.getColorTexture(), reflectionMap.getFramebuffer(), 100}}) {
        const GLint width = textureLevelParameter(texture, GL_TEXTURE_WIDTH);
        EXPECT_LE(width, largest);
        EXPECT_GE(width, largest - 1);
        EXPECT_EQ(textureLevelParameter(texture, GL_TEXTURE_HEIGHT), width / aspect);
        EXPECT_EQ(framebufferStatus(framebuffer), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    }
    shadowMap.beginPass();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], shadowMap.targetWidth());
    EXPECT_EQ(viewport[3], shadowMap.targetHeight());
    shadowMap.endPass();
    EXPECT_TRUE(gltest::takeGLErrors().empty());
}

TEST_P(RenderTargets, ReflectionTargetIsTheWindowInRgba8WithDepth24AndComplete) {
    ReflectionMap reflectionMap(program.get(), 800, 600);
    EXPECT_TRUE(gltest::takeGLErrors().empty());
    const GLuint texture = reflectionMap.getColorTexture();
    EXPECT_EQ(textureLevelParameter(texture, GL_TEXTURE_WIDTH), 800);
    EXPECT_EQ(textureLevelParameter(texture, GL_TEXTURE_HEIGHT), 600);
    for (GLenum channel : {GL_TEXTURE_RED_SIZE, GL_TEXTURE_GREEN_SIZE, GL_TEXTURE_BLUE_SIZE,
                           GL_TEXTURE_ALPHA_SIZE}) {
        EXPECT_EQ(textureLevelParameter(texture, channel), 8);
    }
    const GLint wrap = core() ? GL_CLAMP_TO_EDGE : static_cast<GLint>(kClamp);
    EXPECT_EQ(textureParameter(texture, GL_TEXTURE_WRAP_S), wrap);
    EXPECT_EQ(framebufferStatus(reflectionMap.getFramebuffer()),
              static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    // A 24-bit depth buffer: the nearer of two overlapping reflections wins.
    glBindFramebuffer(GL_FRAMEBUFFER, reflectionMap.getFramebuffer());
    GLint depthType = -1, depthBits = -1;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &depthType);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depthBits);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(depthType, GL_RENDERBUFFER);
    EXPECT_EQ(depthBits, 24);
    EXPECT_TRUE(gltest::takeGLErrors().empty());
}

TEST_P(RenderTargets, ShadowLookupLeavesDepthTextureOnActiveUnitTwoAndMatricesInProgram) {
    ShadowMap shadowMap(glm::vec3(0, 140, 100), program.get(), 800, 600);
    const glm::vec3 moved(30, 120, 90);
    const glm::mat4 view = shadowMap.update(moved);
    EXPECT_EQ(view, glm::lookAt(moved, glm::vec3(0), glm::vec3(0, 1, 0)));
    shadowMap.beginPass();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 2400);
    EXPECT_EQ(viewport[3], 1800);
    EXPECT_EQ(integerState(GL_FRAMEBUFFER_BINDING), static_cast<GLint>(shadowMap.getFramebuffer()));
    glActiveTexture(GL_TEXTURE0);
    shadowMap.bindForLookup(moved);
    shadowMap.endPass();

    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE2);
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), static_cast<GLint>(shadowMap.getDepthTexture()));
    EXPECT_EQ(integerState(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(integerState(GL_FRAMEBUFFER_BINDING), 0);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 2400) << "endPass leaves the viewport to the caller";

    const GLuint id = program->getProgramId();
    EXPECT_EQ(gltest::uniformInt(id, "shadow_map"), 2);
    EXPECT_EQ(gltest::uniformVec3(id, "lightDirection"), moved);
    EXPECT_EQ(gltest::uniformMatrix(id, "V_shadow"), view);
    // Uploaded transposed: the shader sees the transpose of the projection.
    EXPECT_EQ(gltest::uniformMatrix(id, "P_shadow"), glm::transpose(shadowMap.getProjection()));
    EXPECT_EQ(shadowMap.getProjection(),
              glm::perspective(glm::radians(20.0f), 800.0f / 600.0f, 1.0f, 3.0f));

    // Unit 2 is still active, so an unbind now takes the depth texture away.
    shadowMap.unbindTexture();
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_TRUE(gltest::takeGLErrors().empty());
}

TEST_P(RenderTargets, ShadowSamplerOwnsUnitTwoBeforeTheFirstLookup) {
    // A shadow sampler left on unit 0 beside the colour sampler makes every
    // draw of the first shadow pass an invalid operation.
    ShadowMap shadowMap(glm::vec3(0, 140, 100), program.get(), 800, 600);
    EXPECT_EQ(gltest::uniformInt(program->getProgramId(), "shadow_map"), 2);
    EXPECT_EQ(integerState(GL_CURRENT_PROGRAM), 0);
    glValidateProgram(program->getProgramId());
    GLint valid = GL_FALSE;
    glGetProgramiv(program->getProgramId(), GL_VALIDATE_STATUS, &valid);
    EXPECT_EQ(valid, GL_TRUE);
}

TEST_P(RenderTargets, ReflectionLookupLeavesTextureOnActiveUnitThree) {
    ReflectionMap reflectionMap(program.get(), 800, 600);
    glViewport(0, 0, 10, 10);
    reflectionMap.beginPass();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    EXPECT_EQ(integerState(GL_FRAMEBUFFER_BINDING),
              static_cast<GLint>(reflectionMap.getFramebuffer()));
    reflectionMap.bindForLookup();
    reflectionMap.endPass();
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D),
              static_cast<GLint>(reflectionMap.getColorTexture()));
    EXPECT_EQ(integerState(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(integerState(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(gltest::uniformInt(program->getProgramId(), "reflection_map"), 3);
    EXPECT_TRUE(gltest::takeGLErrors().empty());
}

INSTANTIATE_TEST_SUITE_P(Contexts, RenderTargets,
                         ::testing::Values(gltest::compatibilityContext(), gltest::coreContext()),
                         [](const auto& info) { return gltest::contextName(info.param); });

}  // namespace
