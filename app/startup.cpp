// The start-up order is fixed: configuration before the window, GLEW before
// any GL call, and one dropped glGetError before the context report so that
// the report's own error test sees only its own error.
#include "app/startup.h"

#include <cstdio>
#include <string>

#include "app/diagnostics.h"
#include "platform/console.h"
#include "platform/gl.h"
#include "platform/window.h"
#include "state/app_config.h"

using namespace platform;

namespace {

// Core contexts have no default vertex array object; one bound for the whole
// run lets the meshes set their attributes as on a compatibility context.
void bindVertexArrayForCoreProfile() {
    if (!isCoreProfileContext()) return;
    GLuint vertexArray = 0;
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
}

// A window larger than the largest viewport could never be drawn whole.
bool viewportCoversWindow(int width, int height) {
    GLint largest[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, largest);
    return width <= largest[0] && height <= largest[1];
}

bool failWindow() {
    printErrorLine("Failed to initialize OpenGL window.");
    glfwTerminate();
    return false;
}

}  // namespace

bool isCoreProfileContext() {
    // The version string works on every context and raises no error, so this
    // test never takes an error that someone else raised from the queue.
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0, minor = 0;
    if (version == nullptr || std::sscanf(version, "%d.%d", &major, &minor) != 2) return false;
    if (major < 3 || (major == 3 && minor < 2)) return false;  // profiles start at 3.2
    GLint profile = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    return (profile & GL_CONTEXT_CORE_PROFILE_BIT) != 0;
}

bool startUp() { return startUp(nullptr); }

bool startUp(const std::function<void(AppConfig&)>& adjustConfig) {
    glfwInit();
    readConfig("config.cfg");
    if (adjustConfig) adjustConfig(appConfig);
    glewExperimental = GL_TRUE;
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
    GLenum glewResult = glewInit();
    if (glewResult != GLEW_OK) {
        printErrorLine(std::string("Error: ") +
                       reinterpret_cast<const char*>(glewGetErrorString(glewResult)));
    }
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
    bindVertexArrayForCoreProfile();
    return true;
}
