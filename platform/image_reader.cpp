// TGA reading on stb_image and power-of-two resampling on stb_image_resize;
// the implementations of both single-header libraries are compiled here.
// Before any pixel memory is allocated, the header's size is checked against
// the largest texture accepted and against what the file's bytes can hold, so
// a damaged or hostile header cannot trigger an allocation without bound.
#include "platform/image_reader.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gl.h"
#include "platform/mapped_file.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wshadow"
// Cleared allocations: stb_image leaves the rows of an uncompressed image that
// a truncated file lacks unwritten, and they must read as zeros (as missing
// bytes of the other variants do), never as what the memory held before.
#define STBI_MALLOC(size) std::calloc(1, size)
#define STBI_REALLOC(pointer, size) std::realloc(pointer, size)
#define STBI_FREE(pointer) std::free(pointer)
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS (1 << 14)
#include <stb/stb_image.h>
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>
#pragma GCC diagnostic pop

namespace platform {

static_assert(STBI_MAX_DIMENSIONS == kMaxImageDimension, "decoder and reader limits agree");

namespace {

// An RLE packet of one byte of header and one byte of colour-map index covers
// at most 128 pixels, so no TGA file holds more than 64 pixels per byte.
constexpr int64_t kMaxPixelsPerFileByte = 64;

int nextPowerOfTwo(int value) {
    int power = 1;
    while (power < value) power *= 2;
    return power;
}

int formatForBytesPerPixel(int bytesPerPixel) {
    switch (bytesPerPixel) {
        case 3:
            return GL_RGB;
        case 4:
            return GL_RGBA;
        case 2:
            return GL_LUMINANCE_ALPHA;
        default:
            return GL_LUMINANCE;
    }
}

void flipRows(unsigned char* data, int width, int height, int bytesPerPixel) {
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel);
    std::vector<unsigned char> row(rowBytes);
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        unsigned char* topRow = data + rowBytes * static_cast<size_t>(top);
        unsigned char* bottomRow = data + rowBytes * static_cast<size_t>(bottom);
        std::memcpy(row.data(), topRow, rowBytes);
        std::memcpy(topRow, bottomRow, rowBytes);
        std::memcpy(bottomRow, row.data(), rowBytes);
    }
}

}  // namespace

int readImageWithinSize(const char* name, GLFWimage* image, int flags, int maxDimension) {
    *image = GLFWimage{};
    if (name == nullptr) return 0;
    const MappedFile file(name);
    if (file.bytes == nullptr) return 0;
    return readImageFromMemory(file.bytes, static_cast<int>(file.size), image, flags, maxDimension);
}

int readImageFromMemory(const unsigned char* bytes, int length, GLFWimage* image, int flags,
                        int maxDimension) {
    *image = GLFWimage{};
    if (maxDimension > kMaxImageDimension) maxDimension = kMaxImageDimension;
    if (bytes == nullptr || length <= 0) return 0;

    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, length, &width, &height, &channels)) return 0;
    if (width <= 0 || height <= 0 || width > maxDimension || height > maxDimension) return 0;
    const bool rescale = (flags & GLFW_NO_RESCALE_BIT) == 0;
    const int storedWidth = rescale ? nextPowerOfTwo(width) : width;
    const int storedHeight = rescale ? nextPowerOfTwo(height) : height;
    if (storedWidth > maxDimension || storedHeight > maxDimension) return 0;
    if (static_cast<int64_t>(width) * height > kMaxPixelsPerFileByte * length) return 0;

    stbi_uc* decoded = stbi_load_from_memory(bytes, length, &width, &height, &channels, 0);
    if (decoded == nullptr) return 0;
    // stb_image always delivers the top row first; without the upper-left
    // flag the caller gets the bottom row first, as OpenGL counts rows.
    if ((flags & GLFW_ORIGIN_UL_BIT) == 0) flipRows(decoded, width, height, channels);

    unsigned char* data = decoded;
    if (storedWidth != width || storedHeight != height) {
        const size_t storedBytes = static_cast<size_t>(storedWidth) *
                                   static_cast<size_t>(storedHeight) *
                                   static_cast<size_t>(channels);
        data = static_cast<unsigned char*>(std::malloc(storedBytes));
        const bool resized =
            data != nullptr && stbir_resize_uint8(decoded, width, height, 0, data, storedWidth,
                                                  storedHeight, 0, channels) == 1;
        stbi_image_free(decoded);
        if (!resized) {
            std::free(data);
            return 0;
        }
    }

    image->Width = storedWidth;
    image->Height = storedHeight;
    image->BytesPerPixel = channels;
    image->Format = formatForBytesPerPixel(channels);
    image->Data = data;
    return 1;
}

int glfwReadImage(const char* name, GLFWimage* image, int flags) {
    return readImageWithinSize(name, image, flags, kMaxImageDimension);
}

ImageRead readImageForUpload(const char* name, int flags, int maxDimension) {
    ImageRead read;
    read.stored = mapStoredImage(name, flags, maxDimension);
    if (read.stored == nullptr) {
        read.result = readImageWithinSize(name, &read.image, flags, maxDimension);
        return read;
    }
    read.result = 1;
    read.image.Width = read.stored->width;
    read.image.Height = read.stored->height;
    read.image.BytesPerPixel = read.stored->bytesPerPixel;
    read.image.Format = formatForBytesPerPixel(read.stored->bytesPerPixel);
    return read;
}

ImageRead::ImageRead(ImageRead&& other) noexcept
    : result(other.result), image(other.image), stored(std::move(other.stored)) {
    other.result = 0;
    other.image = GLFWimage{};
}

ImageRead& ImageRead::operator=(ImageRead&& other) noexcept {
    if (this != &other) {
        glfwFreeImage(&image);
        result = other.result;
        image = other.image;
        stored = std::move(other.stored);
        other.result = 0;
        other.image = GLFWimage{};
    }
    return *this;
}

void glfwFreeImage(GLFWimage* image) {
    // stb_image allocates with malloc, as does the resampling above.
    std::free(image->Data);
    *image = GLFWimage{};
}

}  // namespace platform
