// Reads TGA images the way GLFW 2's glfwReadImage did: top row first with
// GLFW_ORIGIN_UL_BIT, sizes resampled up to powers of two, and a GL pixel
// format that follows the bytes per pixel.
#pragma once

namespace platform {

constexpr int GLFW_ORIGIN_UL_BIT = 2;

struct GLFWimage {
    int Width = 0;
    int Height = 0;
    int Format = 0;
    int BytesPerPixel = 0;
    unsigned char* Data = nullptr;
};

// Returns 1 on success; on failure 0 with a 0 × 0 image and null Data.
int glfwReadImage(const char* name, GLFWimage* image, int flags);
void glfwFreeImage(GLFWimage* image);

}  // namespace platform
