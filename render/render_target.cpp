// Render-target set-up. A context without the fixed-function features lacks
// GL_CLAMP; there a texture clamps to its edge, which is what GL_CLAMP gives
// with no border in practice.
#include "render/render_target.h"

#include "platform/console.h"
#include "platform/gl_context.h"

namespace {

constexpr GLenum kClamp = 0x2900;  // GL_CLAMP, compatibility contexts only

}  // namespace

GLuint createClampedTexture(GLint filter) {
    const GLfloat wrap =
        static_cast<GLfloat>(platform::contextLacksFixedFunction() ? GL_CLAMP_TO_EDGE : kClamp);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    return texture;
}

GLuint createFramebuffer(const std::function<void()>& attach) {
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    attach();
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        platform::printLine("GL_FRAMEBUFFER_COMPLETE_EXT failed, CANNOT use FBO\n");
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return framebuffer;
}

void beginDrawingInto(GLuint framebuffer, TargetSize size) {
    glViewport(0, 0, size.width, size.height);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}
