// The reflection target: a colour texture and a depth renderbuffer in one
// framebuffer, whose storage is made again when the window's size changes.
#include "render/reflection_map.h"

#include "render/render_target.h"
#include "render/shader_program.h"

ReflectionMap::ReflectionMap(const ShaderProgram* program, int width, int height)
    : program(program), width(width), height(height) {
    colorTexture = createClampedTexture(GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenRenderbuffers(1, &depthRenderbuffer);
    allocateStorage();

    framebuffer = createFramebuffer([this] {
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture,
                               0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                  depthRenderbuffer);
    });
}

void ReflectionMap::resize(int newWidth, int newHeight) {
    if (newWidth == width && newHeight == height) return;
    width = newWidth;
    height = newHeight;
    allocateStorage();
}

// New storage for the same texture and renderbuffer: the framebuffer keeps
// its attachments and stays complete.
void ReflectionMap::allocateStorage() {
    targetSize =
        fitTargetSize(static_cast<long long>(width) * resolutionScale,
                      static_cast<long long>(height) * resolutionScale, largestTargetSize());
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, targetSize.width, targetSize.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindRenderbuffer(GL_RENDERBUFFER, depthRenderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, targetSize.width,
                          targetSize.height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

void ReflectionMap::beginPass() const { beginDrawingInto(framebuffer, targetSize); }

void ReflectionMap::bindForLookup() const {
    program->bind();
    program->setInt("reflection_map", kTextureUnit);
    glActiveTexture(GL_TEXTURE0 + kTextureUnit);
    bindTexture();
    program->unbind();
}

void ReflectionMap::endPass() const { glBindFramebuffer(GL_FRAMEBUFFER, 0); }

void ReflectionMap::bindTexture() const { glBindTexture(GL_TEXTURE_2D, colorTexture); }

void ReflectionMap::unbindTexture() const { glBindTexture(GL_TEXTURE_2D, 0); }
