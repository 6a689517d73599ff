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

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace platform {

namespace {

#ifdef __EMSCRIPTEN__
// WebGL reaches glPolygonMode and GL_POLYGON_OFFSET_LINE only through its
// WEBGL_polygon_mode extension, which asking for turns on: ANGLE on
// SwiftShader offers it, ANGLE on Mesa does not.
// clang-format off
EM_JS(int, enableWebGLPolygonMode, (), {
    Module['webglPolygonMode'] = GLctx.getExtension('WEBGL_polygon_mode');
    return Module['webglPolygonMode'] ? 1 : 0;
});
EM_JS(int, webglPolygonModeEnabled, (), { return Module['webglPolygonMode'] ? 1 : 0; });
EM_JS(void, webglPolygonMode, (int face, int mode), {
    Module['webglPolygonMode'].polygonModeWEBGL(face, mode);
});
// clang-format on
#endif

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

// The polygon mode is a desktop feature; ES draws filled polygons only,
// unless a page's WebGL has the extension for it.
bool hasLinePolygonMode() {
#ifdef __EMSCRIPTEN__
    return webglPolygonModeEnabled() != 0;
#else
    return currentGLContextKind() != GLContextKind::ES;
#endif
}

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
#ifdef __EMSCRIPTEN__
    // emscripten links the entry points; only the extension is asked for.
    enableWebGLPolygonMode();
    return true;
#else
    // Without it GLEW leaves out the entry points that a core context does
    // not list as extensions.
    glewExperimental = GL_TRUE;
    const GLenum result = glewInit();
    if (result == GLEW_OK) return true;
    printErrorLine(std::string("Error: ") +
                   reinterpret_cast<const char*>(glewGetErrorString(result)));
    return false;
#endif
}

bool commandsRunElsewhere() {
#ifdef __EMSCRIPTEN__
    return true;
#else
    return false;
#endif
}

void setPolygonMode(bool wireframe) {
    const GLenum mode = wireframe ? GL_LINE : GL_FILL;
#ifdef __EMSCRIPTEN__
    static bool saidUnavailable = false;
    if (webglPolygonModeEnabled()) {
        webglPolygonMode(GL_FRONT_AND_BACK, static_cast<int>(mode));
    } else if (wireframe && !saidUnavailable) {
        saidUnavailable = true;
        printLine("Wireframe is not available in this browser (no WEBGL_polygon_mode).");
    }
#else
    if (!hasLinePolygonMode()) return;
    glPolygonMode(GL_FRONT_AND_BACK, mode);
#endif
}

#ifdef __EMSCRIPTEN__
// WebGL has no fixed-function calls at all; the nearest is texturing switched
// on as a capability, which it rejects.
const char* forbiddenCallName() { return "glEnable(GL_TEXTURE_2D)"; }
void makeForbiddenCall() { glEnable(GL_TEXTURE_2D); }
#else
// Legal on a compatibility context, an error where fixed functions are gone.
const char* forbiddenCallName() { return "glTranslate"; }
void makeForbiddenCall() { glTranslatef(1.0f, 0.0f, 0.0f); }
#endif

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
