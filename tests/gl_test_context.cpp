// Test contexts are opened the way start-up opens the demo's: the window
// layer's hints, GLEW with glewExperimental, and on a core profile one vertex
// array object bound for the whole run.
#include "gl_test_context.h"

#include <cstdlib>

#include "app/startup.h"
#include "platform/gl.h"
#include "platform/window.h"

bool openTestContext(const TestContextRequest& request) {
    using namespace platform;
    static bool open = false;
    if (open) return true;
    if (!glfwInit()) return false;
    glfwOpenWindowHint(GLFW_OPENGL_VERSION_MAJOR, request.major);
    glfwOpenWindowHint(GLFW_OPENGL_VERSION_MINOR, request.minor);
    if (request.forwardCompatibleCore) {
        glfwOpenWindowHint(GLFW_OPENGL_FORWARD_COMPAT, 1);
        glfwOpenWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    }
    if (glfwOpenWindow(request.width, request.height, 0, 0, 0, 0, 24, 8, GLFW_WINDOW) != 1) {
        return false;
    }
    glewExperimental = GL_TRUE;
    glewInit();
    while (glGetError() != GL_NO_ERROR) {
    }
    if (isCoreProfileContext()) {
        GLuint vertexArray = 0;
        glGenVertexArrays(1, &vertexArray);
        glBindVertexArray(vertexArray);
    }
    std::atexit([] { glfwTerminate(); });
    open = true;
    return true;
}
