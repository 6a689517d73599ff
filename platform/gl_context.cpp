// The version string tells the kinds apart without raising an error on any
// context: a WebGL 2 context reports "OpenGL ES 3.0 (WebGL 2.0 ...)", and a
// desktop one "major.minor ...", with the profile asked for only from 3.2 on.
// WebGL has neither glPolygonMode nor the fixed-function calls; they are
// reached through its WEBGL_polygon_mode extension, or not at all.
#include "platform/gl_context.h"

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
// WEBGL_polygon_mode gives glPolygonMode and GL_POLYGON_OFFSET_LINE on
// browsers that offer it (ANGLE on SwiftShader does, ANGLE on Mesa does not).
// Asking for an extension turns it on.
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

bool saidWireframeUnavailable = false;

}  // namespace

GLContextKind currentGLContextKind() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version == nullptr) return GLContextKind::Legacy;
    if (std::strncmp(version, "OpenGL ES", 9) == 0) return GLContextKind::ES;
    int major = 0, minor = 0;
    if (std::sscanf(version, "%d.%d", &major, &minor) != 2) return GLContextKind::Legacy;
    if (major < 3 || (major == 3 && minor < 2))
        return GLContextKind::Legacy;  // profiles start at 3.2
    GLint profile = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    return (profile & GL_CONTEXT_CORE_PROFILE_BIT) != 0 ? GLContextKind::Core
                                                        : GLContextKind::Compatibility;
}

bool contextLacksFixedFunction() {
    const GLContextKind kind = currentGLContextKind();
    return kind == GLContextKind::Core || kind == GLContextKind::ES;
}

GLContextLimits currentGLContextLimits() {
    GLContextLimits limits{0, 0, 0, 0, true};
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limits.maxTextureSize);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &limits.maxRenderbufferSize);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    limits.maxViewportWidth = viewport[0];
    limits.maxViewportHeight = viewport[1];
#ifdef __EMSCRIPTEN__
    limits.linePolygonMode = webglPolygonModeEnabled() != 0;
#endif
    return limits;
}

bool startGLLoader() {
#ifdef __EMSCRIPTEN__
    enableWebGLPolygonMode();
    return true;
#else
    glewExperimental = GL_TRUE;
    const GLenum result = glewInit();
    if (result == GLEW_OK) return true;
    printErrorLine(std::string("Error: ") +
                   reinterpret_cast<const char*>(glewGetErrorString(result)));
    return false;
#endif
}

void setPolygonMode(bool wireframe) {
    const GLenum mode = wireframe ? GL_LINE : GL_FILL;
#ifdef __EMSCRIPTEN__
    if (webglPolygonModeEnabled()) {
        webglPolygonMode(GL_FRONT_AND_BACK, static_cast<int>(mode));
    } else if (wireframe && !saidWireframeUnavailable) {
        saidWireframeUnavailable = true;
        printLine("Wireframe is not available in this browser (no WEBGL_polygon_mode).");
    }
#else
    (void)saidWireframeUnavailable;
    glPolygonMode(GL_FRONT_AND_BACK, mode);
#endif
}

#ifdef __EMSCRIPTEN__
// WebGL has no fixed-function calls at all; its closest is texturing switched
// on as a capability, which it rejects.
const char* forbiddenCallName() { return "glEnable(GL_TEXTURE_2D)"; }
void makeForbiddenCall() { glEnable(GL_TEXTURE_2D); }
#else
// Legal on a compatibility context, an error on a core profile.
const char* forbiddenCallName() { return "glTranslate"; }
void makeForbiddenCall() { glTranslatef(1.0f, 0.0f, 0.0f); }
#endif

}  // namespace platform
