// The shadow target. A context without the fixed-function features lacks
// GL_DEPTH_TEXTURE_MODE; there the depth mode is left out (a shadow sampler
// returns the comparison either way).
#include "render/shadow_map.h"

#include <glm/gtc/matrix_transform.hpp>

#include "platform/gl_context.h"
#include "render/render_target.h"
#include "render/scene_projection.h"
#include "render/shader_program.h"

namespace {

constexpr GLenum kCompareRToTexture = 0x884E;  // GL_COMPARE_REF_TO_TEXTURE in later versions
constexpr GLenum kDepthTextureMode = 0x884B;   // GL_DEPTH_TEXTURE_MODE, compatibility only
constexpr GLenum kIntensity = 0x8049;          // GL_INTENSITY, compatibility only

}  // namespace

ShadowMap::ShadowMap(glm::vec3 lightPosition, const ShaderProgram* program, int width, int height)
    : program(program) {
    projection = sceneProjection(width, height);  // the light's frustum has the viewer's shape
    view = glm::lookAt(lightPosition, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    mapSize = fitTargetSize(static_cast<long long>(width) * resolutionScale,
                            static_cast<long long>(height) * resolutionScale, largestTargetSize());

    depthTexture = createClampedTexture(GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, kCompareRToTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
    if (!platform::contextLacksFixedFunction()) {
        glTexParameteri(GL_TEXTURE_2D, kDepthTextureMode, kIntensity);
    }
    // No data goes up, so the type only has to be one that every context
    // accepts for 24-bit depth: OpenGL ES takes GL_UNSIGNED_INT, not GL_FLOAT.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, targetWidth(), targetHeight(), 0,
                 GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);

    framebuffer = createFramebuffer([this] {
        const GLenum noColour = GL_NONE;
        glDrawBuffers(1, &noColour);  // glDrawBuffer is not in OpenGL ES
        glReadBuffer(GL_NONE);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depthTexture, 0);
    });

    // Samplers default to unit 0, where the colour texture's sampler sits; two
    // samplers of different types on one unit make every draw fail, so the
    // depth sampler points at its own unit before the first shadow pass draws.
    program->bind();
    program->setInt("shadow_map", kTextureUnit);
    program->unbind();
}

glm::mat4 ShadowMap::update(glm::vec3 lightPosition) {
    view = glm::lookAt(lightPosition, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    return view;
}

void ShadowMap::beginPass() const { beginDrawingInto(framebuffer, mapSize); }

void ShadowMap::bindForLookup(glm::vec3 lightPosition) const {
    program->bind();
    // The light looks at the origin, so its position is also the direction
    // from the origin towards the light.
    program->setVec3("lightDirection", lightPosition);
    program->setMat4("texture_matrix", textureMatrix, false);
    program->setMat4("V_shadow", view, false);
    program->setMat4("P_shadow", projection, true);
    program->setInt("shadow_map", kTextureUnit);
    program->setVec2("shadow_texel_size", glm::vec2(1.0f / static_cast<float>(mapSize.width),
                                                    1.0f / static_cast<float>(mapSize.height)));
    glActiveTexture(GL_TEXTURE0 + kTextureUnit);
    bindTexture();
    program->unbind();
}

void ShadowMap::endPass() const { glBindFramebuffer(GL_FRAMEBUFFER, 0); }

void ShadowMap::bindTexture() const { glBindTexture(GL_TEXTURE_2D, depthTexture); }

void ShadowMap::unbindTexture() const { glBindTexture(GL_TEXTURE_2D, 0); }
