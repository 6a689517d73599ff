// The start-up is the program's own, so GL tests see the same fixed state
// (depth test, culling, blending, the core profile's vertex array) as the demo.
#include "gl_test_support.h"

#include <chrono>
#include <thread>

#include "app/startup.h"
#include "platform/window.h"
#include "state/app_config.h"
#include "state/globals.h"

namespace support {

testing::AssertionResult openContext(const ContextRequest& request, int width, int height) {
    appConfig = AppConfig{};
    resetGlobals();
    bool open = false;
    testing::internal::CaptureStderr();
    printedBy([&] {  // the context report
        open = startUp([&](AppConfig& config) {
            config.glMajorVersion = request.major;
            config.glMinorVersion = request.minor;
            config.shaderversion = request.shaderVersion;
            config.window_width = width;
            config.window_height = height;
        });
    });
    const std::string errors = testing::internal::GetCapturedStderr();
    takeGLErrors();
    if (open) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "no " << request.name << " context: " << errors
                                       << "GLFW: " << platform::windowSystemError();
}

// The window goes, the connection to the X server stays: a process that left
// the server with no client, even for a moment, could find it resetting (as
// an Xvfb started without -noreset does when its last client leaves) and get
// no connection for its next context.
void closeContext() { platform::glfwCloseWindow(); }

bool resizeWindow(int width, int height) {
    platform::glfwSetWindowSize(width, height);
    glClearColor(1, 0, 1, 1);
    bool resized = false;
    for (int attempt = 0; attempt < 1000 && !resized; ++attempt) {
        platform::glfwSwapBuffers();  // lets the window system's answer in
        int framebufferWidth = 0, framebufferHeight = 0;
        platform::getFramebufferSize(&framebufferWidth, &framebufferHeight);
        glClear(GL_COLOR_BUFFER_BIT);
        const glm::vec3 corner = readPixels(width, height).at(width - 1, height - 1);
        resized = framebufferWidth == width && framebufferHeight == height &&
                  corner == glm::vec3(1, 0, 1);
        if (!resized) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    glClearColor(0, 0, 0, 0);
    return resized;
}

std::vector<unsigned int> takeGLErrors() {
    std::vector<unsigned int> errors;
    for (GLenum e = glGetError(); e != GL_NO_ERROR && errors.size() < 16; e = glGetError())
        errors.push_back(e);
    return errors;
}

glm::vec3 Image::at(int x, int y) const {
    const unsigned char* pixel = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    return glm::vec3(pixel[0], pixel[1], pixel[2]) / 255.0f;
}

Image readPixels(int width, int height) {
    Image image{width, height, std::vector<unsigned char>(static_cast<size_t>(width) * height * 4)};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    return image;
}

glm::mat4 uniformMatrix(unsigned int program, const char* name) {
    glm::mat4 value(0.0f);
    glGetUniformfv(program, glGetUniformLocation(program, name), &value[0][0]);
    return value;
}

int uniformInt(unsigned int program, const char* name) {
    GLint value = 0;
    glGetUniformiv(program, glGetUniformLocation(program, name), &value);
    return value;
}

int integerState(unsigned int name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

}  // namespace support
