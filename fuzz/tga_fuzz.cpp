// TGA bytes through the image reader, read as the program reads its textures
// (top row first, resampled to powers of two) and with neither. Each image
// must have a format that follows its bytes per pixel and Width × Height ×
// BytesPerPixel bytes; the first power-of-two sides, the next powers of two
// of the second's; and without resampling the two hold the rows in reverse.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_check.h"
#include "platform/gl.h"
#include "platform/image_reader.h"

namespace {

using platform::GLFWimage;

bool isPowerOfTwo(int value) { return value > 0 && (value & (value - 1)) == 0; }

size_t rowBytes(const GLFWimage& image) {
    return static_cast<size_t>(image.Width) * static_cast<size_t>(image.BytesPerPixel);
}

void checkImage(int result, const GLFWimage& image) {
    if (result != 1) {
        check(result == 0 && image.Width == 0 && image.Height == 0 && image.BytesPerPixel == 0 &&
                  image.Data == nullptr,
              "a failed read is empty");
        return;
    }
    static const int kFormats[] = {0, GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};
    check(image.BytesPerPixel >= 1 && image.BytesPerPixel <= 4 &&
              image.Format == kFormats[image.BytesPerPixel],
          "the format follows the bytes per pixel");
    check(image.Width > 0 && image.Height > 0 && image.Width <= platform::kMaxImageDimension &&
              image.Height <= platform::kMaxImageDimension && image.Data != nullptr,
          "a size within bounds, and pixels");
    // The copy makes AddressSanitizer check that the buffer is that long.
    const std::vector<unsigned char> pixels(image.Data,
                                            image.Data + rowBytes(image) * image.Height);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > INT32_MAX) return 0;
    GLFWimage scaled, exact;
    const int scaledResult =
        platform::readImageFromMemory(data, static_cast<int>(size), &scaled,
                                      platform::GLFW_ORIGIN_UL_BIT, platform::kMaxImageDimension);
    const int exactResult =
        platform::readImageFromMemory(data, static_cast<int>(size), &exact,
                                      platform::GLFW_NO_RESCALE_BIT, platform::kMaxImageDimension);
    checkImage(scaledResult, scaled);
    checkImage(exactResult, exact);
    check(scaledResult == exactResult, "both reads succeed or fail");
    if (scaledResult == 1) {
        check(isPowerOfTwo(scaled.Width) && isPowerOfTwo(scaled.Height), "power-of-two sides");
        check(scaled.Width / 2 < exact.Width && exact.Width <= scaled.Width &&
                  scaled.Height / 2 < exact.Height && exact.Height <= scaled.Height &&
                  scaled.BytesPerPixel == exact.BytesPerPixel,
              "resampled up to the next powers of two");
    }
    if (scaledResult == 1 && scaled.Width == exact.Width && scaled.Height == exact.Height) {
        const size_t row = rowBytes(exact);
        for (int y = 0; y < exact.Height; ++y) {
            check(std::memcmp(scaled.Data + row * y, exact.Data + row * (exact.Height - 1 - y),
                              row) == 0,
                  "the other origin gives the rows in reverse");
        }
    }
    platform::glfwFreeImage(&scaled);
    platform::glfwFreeImage(&exact);
    return 0;
}
