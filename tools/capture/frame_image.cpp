// GL reads bottom row first and PNG stores top row first, so the rows are
// turned over on the way.
#include "frame_image.h"

#include <cstring>

#include "platform/gl.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

FrameImage readBackBuffer(int width, int height) {
    FrameImage image;
    image.width = width;
    image.height = height;
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(width);
    std::vector<unsigned char> bottomUp(rowBytes * static_cast<std::size_t>(height));
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    image.rgb.resize(bottomUp.size());
    for (int row = 0; row < height; ++row) {
        std::memcpy(&image.rgb[rowBytes * static_cast<std::size_t>(row)],
                    &bottomUp[rowBytes * static_cast<std::size_t>(height - 1 - row)], rowBytes);
    }
    return image;
}

bool writePng(const std::string& path, const FrameImage& image) {
    return stbi_write_png(path.c_str(), image.width, image.height, 3, image.rgb.data(),
                          3 * image.width) != 0;
}
