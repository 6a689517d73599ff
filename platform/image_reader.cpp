// Placeholder until TGA reading lands: every read fails.
#include "platform/image_reader.h"

namespace platform {

int glfwReadImage(const char*, GLFWimage* image, int) {
    *image = GLFWimage{};
    return 0;
}

void glfwFreeImage(GLFWimage* image) { *image = GLFWimage{}; }

}  // namespace platform
