// What kind of OpenGL context the program runs on, and the few calls whose
// form depends on it. Every difference between a desktop context and a
// browser's WebGL 2 (an OpenGL ES 3.0 context) is decided here, so the rest
// of the program asks one question instead of testing versions itself.
#pragma once

namespace platform {

// Legacy: before profiles (2.x to 3.1); Compatibility: a 3.2+ compatibility
// profile; Core: a 3.2+ core profile; ES: OpenGL ES (WebGL 2 in a page).
enum class GLContextKind { Legacy, Compatibility, Core, ES };

// Asks the current context on every call; raises no GL error.
GLContextKind currentGLContextKind();

// Core or ES: no GL_CLAMP, no GL_DEPTH_TEXTURE_MODE, no matrix stack, no
// default vertex array on a core profile.
bool contextLacksFixedFunction();

struct GLContextLimits {
    int maxTextureSize;
    int maxRenderbufferSize;
    int maxViewportWidth;
    int maxViewportHeight;
    // Polygons can be drawn as lines (wireframe, and the line polygon offset).
    bool linePolygonMode;
};
GLContextLimits currentGLContextLimits();

// Loads the entry points (GLEW on the desktop) and turns on what a WebGL
// context offers only on request. Prints "Error: " and the loader's text on
// standard error and returns false when loading fails; start-up goes on.
bool startGLLoader();

// Filled or wireframe polygons, front and back faces. Where the context has
// no line mode it says so once on standard output and draws filled.
void setPolygonMode(bool wireframe);

// A call that this build's contexts forbid (the desktop's core profiles, every
// WebGL context), for the context report's test that errors are reported.
const char* forbiddenCallName();
void makeForbiddenCall();

}  // namespace platform
