// The water's reflection target: a framebuffer of the window's size, made
// again when the window's size changes (less, keeping its aspect, where the
// context allows no such target), into which the mirrored scene is drawn,
// then handed to the base program as "reflection_map" on unit 3. Its 24-bit
// depth buffer keeps the nearer of two overlapping reflections in front,
// whatever the draw order.
#pragma once

#include "platform/gl.h"
#include "render/render_target_size.h"

class ShaderProgram;

class ReflectionMap {
  public:
    static constexpr int kTextureUnit = 3;  // where the base program samples "reflection_map"

    ReflectionMap(const ShaderProgram* program, int width, int height);
    ReflectionMap(const ReflectionMap&) = delete;
    ReflectionMap& operator=(const ReflectionMap&) = delete;
    // The texture and the framebuffer end with the context.
    ~ReflectionMap() = default;

    // Follows a new window size; the storage is made again only when the
    // size differs from the one it has.
    void resize(int width, int height);
    void beginPass() const;
    // Sets "reflection_map" = kTextureUnit and leaves the colour texture bound
    // on that unit with that unit active.
    void bindForLookup() const;
    // Back to the window framebuffer; the viewport is not changed.
    void endPass() const;
    void bindTexture() const;
    void unbindTexture() const;

    GLuint getColorTexture() const { return colorTexture; }
    GLuint getFramebuffer() const { return framebuffer; }
    GLuint getDepthRenderbuffer() const { return depthRenderbuffer; }
    int targetWidth() const { return targetSize.width; }
    int targetHeight() const { return targetSize.height; }

  private:
    void allocateStorage();

    const ShaderProgram* program;
    int width;
    int height;
    int resolutionScale = 1;
    TargetSize targetSize;  // the colour texture's and the depth buffer's size
    GLuint framebuffer = 0;
    GLuint colorTexture = 0;
    GLuint depthRenderbuffer = 0;
};
