// The reflection target. A context without the fixed-function features lacks
// GL_CLAMP; there the texture clamps to its edge, which is what GL_CLAMP gives with linear
// filtering and no border in practice.
#include "render/reflection_map.h"

#include "platform/console.h"
#include "platform/gl_context.h"
#include "render/shader_program.h"

namespace {

constexpr GLenum kClamp = 0x2900;  // GL_CLAMP, compatibility contexts only

}  // namespace

ReflectionMap::ReflectionMap(const ShaderProgram* program, int width, int height)
    : program(program), width(width), height(height) {
    const GLfloat wrap =
        static_cast<GLfloat>(platform::contextLacksFixedFunction() ? GL_CLAMP_TO_EDGE : kClamp);
    glGenTextures(1, &colorTexture);
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenRenderbuffers(1, &depthRenderbuffer);
    allocateStorage();

    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                              depthRenderbuffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        platform::printLine("GL_FRAMEBUFFER_COMPLETE_EXT failed, CANNOT use FBO\n");
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
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

void ReflectionMap::beginPass() const {
    glViewport(0, 0, targetSize.width, targetSize.height);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

void ReflectionMap::bindForLookup() const {
    program->bind();
    program->setInt("reflection_map", 3);
    glActiveTexture(GL_TEXTURE3);
    bindTexture();
    program->unbind();
}

void ReflectionMap::endPass() const { glBindFramebuffer(GL_FRAMEBUFFER, 0); }

void ReflectionMap::bindTexture() const { glBindTexture(GL_TEXTURE_2D, colorTexture); }

void ReflectionMap::unbindTexture() const { glBindTexture(GL_TEXTURE_2D, 0); }
