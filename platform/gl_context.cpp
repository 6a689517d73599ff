// The context is asked through its version string first: every kind of
// context knows it and none raises an error for it, whereas the queries of
// the flags and the profile exist only from 3.0 and 3.2 on and raise
// GL_INVALID_ENUM before that. So each query is made only where the version
// says it exists.
#include "platform/gl_context.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/console.h"
#include "platform/gl.h"

namespace platform {

namespace {

constexpr const char* kEsPrefix = "OpenGL ES";  // "OpenGL ES 3.0 ...", WebGL's too

const char* versionString() { return reinterpret_cast<const char*>(glGetString(GL_VERSION)); }

bool isEsVersion(const char* version) {
    return std::strncmp(version, kEsPrefix, std::strlen(kEsPrefix)) == 0;
}

// "4.5 (Compatibility Profile) Mesa ...", "2.1 Mesa ...", "OpenGL ES 3.0 ...".
GLVersion parseVersion(const char* version) {
    if (isEsVersion(version)) {
        version += std::strlen(kEsPrefix);
        while (*version != '\0' && std::isdigit(static_cast<unsigned char>(*version)) == 0) {
            ++version;
        }
    }
    GLVersion parsed;
    if (std::sscanf(version, "%d.%d", &parsed.major, &parsed.minor) != 2) return GLVersion{};
    return parsed;
}

// The polygon mode is a desktop feature; ES draws filled polygons only.
bool hasLinePolygonMode() { return currentGLContextKind() != GLContextKind::ES; }

}  // namespace

GLContextKind currentGLContextKind() {
    const char* version = versionString();
    if (version == nullptr) return GLContextKind::Legacy;
    if (isEsVersion(version)) return GLContextKind::ES;
    const GLVersion parsed = parseVersion(version);
    if (parsed.major < 3) return GLContextKind::Legacy;
    GLint flags = 0;
    glGetIntegerv(GL_CONTEXT_FLAGS, &flags);
    if ((flags & GL_CONTEXT_FLAG_FORWARD_COMPATIBLE_BIT) != 0) return GLContextKind::Core;
    if (parsed.major == 3 && parsed.minor < 2) return GLContextKind::Compatibility;
    GLint profile = 0;  // profiles start at 3.2
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    return (profile & GL_CONTEXT_CORE_PROFILE_BIT) != 0 ? GLContextKind::Core
                                                        : GLContextKind::Compatibility;
}

bool contextLacksFixedFunction() {
    const GLContextKind kind = currentGLContextKind();
    return kind == GLContextKind::Core || kind == GLContextKind::ES;
}

GLVersion currentGLVersion() {
    const char* version = versionString();
    return version != nullptr ? parseVersion(version) : GLVersion{};
}

GLContextLimits currentGLContextLimits() {
    GLint textureSide = 0;
    GLint renderbufferSide = 0;
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &textureSide);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbufferSide);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    GLContextLimits limits;
    limits.maxTextureSize = textureSide;
    limits.maxRenderbufferSize = renderbufferSide;
    limits.maxViewportWidth = viewport[0];
    limits.maxViewportHeight = viewport[1];
    limits.linePolygonMode = hasLinePolygonMode();
    return limits;
}

bool startGLLoader() {
    // Without it GLEW leaves out the entry points that a core context does
    // not list as extensions.
    glewExperimental = GL_TRUE;
    const GLenum result = glewInit();
    if (result == GLEW_OK) return true;
    printErrorLine(std::string("Error: ") +
                   reinterpret_cast<const char*>(glewGetErrorString(result)));
    return false;
}

void setPolygonMode(bool wireframe) {
    if (!hasLinePolygonMode()) return;
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
}

const char* glErrorMessage(unsigned int error) {
    switch (error) {
        case GL_NO_ERROR:
            return "";
        case GL_INVALID_ENUM:
            return "GL: enum argument out of range.";
        case GL_INVALID_VALUE:
            return "GL: Numeric argument out of range.";
        case GL_INVALID_OPERATION:
            return "GL: Operation illegal in current state.";
        case GL_OUT_OF_MEMORY:
            return "GL: Not enough memory left to execute command.";
        case GL_INVALID_FRAMEBUFFER_OPERATION:
            return "GL: Framebuffer object is not complete.";
        default:
            return "GL: Unknown error.";
    }
}

void reportGLError() {
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) printErrorLine(glErrorMessage(error));
}

}  // namespace platform
