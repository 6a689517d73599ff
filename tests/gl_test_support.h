// The GL tests' support: the program's own start-up in a window of the asked
// kind, and pixel and state read-back. A process has one window at a time.
#pragma once

#include <glm/glm.hpp>
#include <vector>

#include "platform/gl.h"
#include "test_support.h"

namespace support {

// Resets the configuration and the driver's globals and runs the program's
// own start-up (window, GLEW, fixed state; its report is swallowed). A
// failure says why: what start-up printed and GLFW's own reason.
testing::AssertionResult openContext(const ContextRequest& request, int width = 800,
                                     int height = 600);
// Closes the window; the process keeps its connection to the X server.
void closeContext();
// Resizes the window and waits until the platform reports the new size and a
// back buffer of that size clears; false when it never does.
bool resizeWindow(int width, int height);
std::vector<unsigned int> takeGLErrors();  // every pending error; empty when none

// RGBA pixels of the read framebuffer, rows bottom-up.
struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    glm::vec3 at(int x, int y) const;  // 0..1 per channel
};
Image readPixels(int width = 800, int height = 600);
glm::mat4 uniformMatrix(unsigned int program, const char* name);
int uniformInt(unsigned int program, const char* name);
int integerState(unsigned int name);

}  // namespace support
