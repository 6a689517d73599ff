// The light's depth target: the scene drawn from the light into a depth
// texture three times the window size (less, keeping its aspect, where the
// context allows no such texture), then handed with the light's matrices to
// the base program, whose shaders compare depths to find the shadows.
#pragma once

#include <glm/glm.hpp>

#include "platform/gl.h"
#include "render/render_target_size.h"

class ShaderProgram;

class ShadowMap {
  public:
    static constexpr int kTextureUnit = 2;  // where the base program samples "shadow_map"

    ShadowMap(glm::vec3 lightPosition, const ShaderProgram* program, int width, int height);
    ShadowMap(const ShadowMap&) = delete;
    ShadowMap& operator=(const ShadowMap&) = delete;
    // The texture and the framebuffer end with the context.
    ~ShadowMap() = default;

    glm::mat4 getProjection() const { return projection; }
    // Makes the light's view from `lightPosition` the map's and returns that
    // view matrix, which the frame also draws the casters with.
    // The light always looks at the world origin with +Y up.
    glm::mat4 update(glm::vec3 lightPosition);
    void beginPass() const;
    // Uploads "texture_matrix", "V_shadow", "P_shadow" (transposed),
    // "lightDirection", "shadow_map" = kTextureUnit and "shadow_texel_size"
    // (one texel in texture coordinates), and leaves the depth texture bound
    // on that unit with that unit active.
    void bindForLookup(glm::vec3 lightPosition) const;
    // Back to the window framebuffer; the viewport is the caller's.
    void endPass() const;
    void bindTexture() const;
    void unbindTexture() const;

    GLuint getDepthTexture() const { return depthTexture; }
    GLuint getFramebuffer() const { return framebuffer; }
    int targetWidth() const { return mapSize.width; }
    int targetHeight() const { return mapSize.height; }

  private:
    const ShaderProgram* program;
    glm::mat4 projection{1.0f};
    glm::mat4 view{1.0f};
    glm::mat4 textureMatrix{1.0f};
    int resolutionScale = 3;
    TargetSize mapSize;  // the depth texture's size
    GLuint depthTexture = 0;
    GLuint framebuffer = 0;
};
