// stb_image_write does the TGA encoding; its implementation is compiled here
// with static linkage so that it cannot clash with another copy in a program.
#include "tools/assetgen/image.h"

#include <cmath>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace assetgen {
namespace {

std::uint8_t toByte(double component) {
    const double clamped = component < 0.0 ? 0.0 : (component > 1.0 ? 1.0 : component);
    return static_cast<std::uint8_t>(std::lround(clamped * 255.0));
}

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::string*>(context);
    out->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

}  // namespace

Image::Image(int w, int h, int c)
    : width(w), height(h), channels(c), pixels(static_cast<std::size_t>(w) * h * c, 0) {}

void Image::set(int x, int y, const glm::dvec3& rgb) { set(x, y, glm::dvec4(rgb, 1.0)); }

void Image::set(int x, int y, const glm::dvec4& rgba) {
    std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * channels];
    p[0] = toByte(rgba.r);
    p[1] = toByte(rgba.g);
    p[2] = toByte(rgba.b);
    if (channels == 4) p[3] = toByte(rgba.a);
}

glm::dvec4 Image::get(int x, int y) const {
    const std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * channels];
    return glm::dvec4(p[0] / 255.0, p[1] / 255.0, p[2] / 255.0, channels == 4 ? p[3] / 255.0 : 1.0);
}

// Top row first, with the header's top-origin bit set: the same image as
// bottom row first, in the order the program keeps it, so that the program
// can hand the file's rows to OpenGL as they are.
std::string encodeTga(const Image& image) {
    stbi_write_tga_with_rle = 0;
    stbi_flip_vertically_on_write(1);
    std::string out;
    out.reserve(image.pixels.size() + 64);
    stbi_write_tga_to_func(appendBytes, &out, image.width, image.height, image.channels,
                           image.pixels.data());
    constexpr std::size_t kDescriptorByte = 17;
    constexpr char kTopOriginBit = 0x20;
    if (out.size() > kDescriptorByte) out[kDescriptorByte] |= kTopOriginBit;
    return out;
}

glm::dvec3 encodeNormal(const glm::dvec3& n) { return glm::dvec3(0.5) + 0.5 * n; }

}  // namespace assetgen
