// The one place that knows the OpenGL context: its kind, its limits, its
// loader and its error texts. Everything above asks here instead of parsing
// GL_VERSION or probing the profile itself, so that another kind of context
// (OpenGL ES, or WebGL through it) is taught to this file alone. In a web
// page (an emscripten build) the context is WebGL 2, an ES 3.0 context.
#pragma once

namespace platform {

// Legacy: a 2.x context. Compatibility: 3.x or 4.x with the fixed-function
// features. Core: a core profile, or a forward-compatible context, neither of
// which has them. ES: OpenGL ES, which is also what WebGL reports.
enum class GLContextKind { Legacy, Compatibility, Core, ES };

// Probed from the current context at every call, since a process may open
// contexts of several kinds one after another. Raises no OpenGL error on any
// kind of context, so it never leaves an error for someone else to find.
GLContextKind currentGLContextKind();

// Core or ES: no fixed-function calls, no GL_CLAMP, GL_DEPTH_TEXTURE_MODE or
// luminance formats, and no default vertex array.
bool contextLacksFixedFunction();

struct GLVersion {
    int major = 0;
    int minor = 0;
};

// The version from the version string, which every context knows and which
// raises no error; 0.0 when there is no current context.
GLVersion currentGLVersion();

struct GLContextLimits {
    int maxTextureSize = 0;
    int maxRenderbufferSize = 0;
    int maxViewportWidth = 0;
    int maxViewportHeight = 0;
    // glPolygonMode and GL_POLYGON_OFFSET_LINE exist: not on ES, but in a
    // page whose WebGL offers WEBGL_polygon_mode.
    bool linePolygonMode = false;
};

// The largest texture, renderbuffer and viewport the current context allows.
GLContextLimits currentGLContextLimits();

// Loads the OpenGL entry points for the current context through GLEW. On
// failure prints "Error: " and GLEW's text on standard error and returns false.
// In a page it turns on WEBGL_polygon_mode where the browser offers it.
bool startGLLoader();

// Wireframe or filled polygons, front and back faces alike. The one place the
// polygon mode is set; a context without one (ES) stays filled, and in a page
// the first request for wireframe says once on standard output that there is
// none.
void setPolygonMode(bool wireframe);

// Whether the GL commands run in another process, as a browser's WebGL
// commands do (in its GPU process): work asked for early then goes on while
// this one computes. A desktop driver does each command's work in the call.
bool commandsRunElsewhere();

// A call that this build's contexts reject where they lack the fixed-function
// features (a core profile on the desktop, every WebGL context), and its name:
// the context report's test that errors are reported.
const char* forbiddenCallName();
void makeForbiddenCall();

// The message reportGLError prints for an error code ("" for no error).
const char* glErrorMessage(unsigned int error);

// Takes one pending OpenGL error, if any, and prints it on standard error.
void reportGLError();

}  // namespace platform
