// Reads TGA images the way GLFW 2's glfwReadImage did: top row first with
// GLFW_ORIGIN_UL_BIT, sizes resampled up to powers of two, and a GL pixel
// format that follows the bytes per pixel. Decoding is stb_image's (every TGA
// variant: uncompressed and RLE, 8 to 32 bits, colour-mapped, either origin);
// resampling is stb_image_resize's.
#pragma once

#include <memory>

#include "platform/stored_image.h"

namespace platform {

constexpr int GLFW_ORIGIN_UL_BIT = 2;
constexpr int GLFW_NO_RESCALE_BIT = 4;

// The largest width or height, after rounding up to a power of two, that
// glfwReadImage accepts; larger images fail like unreadable files.
constexpr int kMaxImageDimension = 16384;

struct GLFWimage {
    int Width = 0;
    int Height = 0;
    int Format = 0;
    int BytesPerPixel = 0;
    unsigned char* Data = nullptr;
};

// Returns 1 on success; on failure 0 with a 0 × 0 image and null Data.
// Format is GL_RGB for 3 bytes per pixel, GL_RGBA for 4, GL_LUMINANCE_ALPHA
// for 2 (grey with alpha) and GL_LUMINANCE for 1.
int glfwReadImage(const char* name, GLFWimage* image, int flags);
// As glfwReadImage, but fails for an image whose stored width or height
// would exceed maxDimension (for example the context's GL_MAX_TEXTURE_SIZE);
// the check comes before any pixel memory is allocated.
int readImageWithinSize(const char* name, GLFWimage* image, int flags, int maxDimension);
// The same for the `length` bytes of a TGA file already in memory.
int readImageFromMemory(const unsigned char* bytes, int length, GLFWimage* image, int flags,
                        int maxDimension);
void glfwFreeImage(GLFWimage* image);

// One read's result and image, owned (freed with it): what a read made ahead
// of the upload, on another thread, hands on. An image read for an upload
// may come as stored instead: then `image` has its size and format and no
// Data, and `stored` has the pixels.
struct ImageRead {
    ImageRead() = default;
    ImageRead(ImageRead&& other) noexcept;
    ImageRead& operator=(ImageRead&& other) noexcept;
    ImageRead(const ImageRead&) = delete;
    ImageRead& operator=(const ImageRead&) = delete;
    ~ImageRead() { glfwFreeImage(&image); }

    int result = 0;  // glfwReadImage's
    GLFWimage image;
    std::unique_ptr<StoredImage> stored;
};

// What glfwReadImage with readImageWithinSize's limit reads, for an upload
// to OpenGL: a file that holds its pixels as OpenGL takes them comes as
// stored (see mapStoredImage), any other is decoded.
ImageRead readImageForUpload(const char* name, int flags, int maxDimension);

}  // namespace platform
