// The start-up order is fixed: configuration before the window, GLEW before
// any GL call, and one dropped glGetError before the context report so that
// the report's own error test sees only its own error.
#include "app/startup.h"

#include "app/diagnostics.h"
#include "platform/console.h"
#include "platform/gl.h"
#include "platform/gl_context.h"
#include "platform/window.h"
#include "state/app_config.h"

using namespace platform;

namespace {

// Core and ES contexts have no default vertex array object; one bound for the
// whole run lets the meshes set their attributes as on a compatibility context.
void bindVertexArrayForTheRun() {
    if (!contextLacksFixedFunction()) return;
    GLuint vertexArray = 0;
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
}

// A window larger than the largest viewport could never be drawn whole.
bool viewportCoversWindow(int width, int height) {
    const GLContextLimits limits = currentGLContextLimits();
    return width <= limits.maxViewportWidth && height <= limits.maxViewportHeight;
}

bool failWindow() {
    printErrorLine("Failed to initialize OpenGL window.");
    glfwTerminate();
    return false;
}

}  // namespace

bool startUp() { return startUp(nullptr); }

bool startUp(const std::function<void(AppConfig&)>& adjustConfig) {
    glfwInit();
    readConfig("config.cfg");
    if (adjustConfig) adjustConfig(appConfig);
    glfwOpenWindowHint(GLFW_OPENGL_VERSION_MAJOR, appConfig.glMajorVersion);
    glfwOpenWindowHint(GLFW_OPENGL_VERSION_MINOR, appConfig.glMinorVersion);
    // A forward-compatible core context exists only from version 3.2 on.
    const bool atLeast32 = appConfig.glMajorVersion > 3 ||
                           (appConfig.glMajorVersion == 3 && appConfig.glMinorVersion >= 2);
    if (appConfig.forwardcontextflag && atLeast32) {
        glfwOpenWindowHint(GLFW_OPENGL_FORWARD_COMPAT, 1);
        glfwOpenWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    }
    if (glfwOpenWindow(appConfig.window_width, appConfig.window_height, 0, 0, 0, 0, 24, 8,
                       appConfig.fullscreen) != 1) {
        return failWindow();
    }
    // A loader that fails is reported, and start-up goes on regardless.
    startGLLoader();
    if (!viewportCoversWindow(appConfig.window_width, appConfig.window_height)) {
        return failWindow();
    }
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glGetError();
    printContextInfo();
    bindVertexArrayForTheRun();
    return true;
}
