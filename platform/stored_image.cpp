// The header is checked as the decoder reads it: the decoder takes the image
// ID's length from byte 0, the type from byte 2, the sides from bytes 12 to
// 15, the bits per pixel from byte 16 and the origin from bit 5 of byte 17;
// it ignores the alpha bits and the right-to-left bit, and swaps blue and
// red. Anything else it reads its own way, so it is left to it.
#include "platform/stored_image.h"

#include <cstdint>

#include "platform/gl.h"
#include "platform/image_reader.h"

namespace platform {

namespace {

constexpr size_t kHeaderBytes = 18;
constexpr unsigned char kUncompressedTrueColour = 2;
constexpr unsigned char kTopOriginBit = 0x20;
#ifdef __EMSCRIPTEN__
constexpr bool kGLTakesBgrRows = false;  // WebGL knows no BGR or BGRA
#else
constexpr bool kGLTakesBgrRows = true;
#endif

bool isPowerOfTwo(int value) { return value > 0 && (value & (value - 1)) == 0; }

int littleEndian16(const unsigned char* bytes) { return bytes[0] | (bytes[1] << 8); }

}  // namespace

int StoredImage::storedFormat() const { return bytesPerPixel == 4 ? GL_BGRA : GL_BGR; }

const unsigned char* StoredImage::decodedRow(int row) const {
    const int storedRow = rowsReversed ? height - 1 - row : row;
    return pixels + static_cast<size_t>(storedRow) * static_cast<size_t>(width) *
                        static_cast<size_t>(bytesPerPixel);
}

std::unique_ptr<StoredImage> mapStoredImage(const char* path, int flags, int maxDimension) {
    if (!kGLTakesBgrRows || path == nullptr) return nullptr;
    auto file = std::make_unique<MappedFile>(path);
    const unsigned char* header = file->bytes;
    if (header == nullptr || file->size < kHeaderBytes) return nullptr;
    const int width = littleEndian16(header + 12);
    const int height = littleEndian16(header + 14);
    const int bitsPerPixel = header[16];
    if (header[1] != 0 || header[2] != kUncompressedTrueColour ||
        (bitsPerPixel != 24 && bitsPerPixel != 32) || !isPowerOfTwo(width) ||
        !isPowerOfTwo(height) || width > maxDimension || height > maxDimension ||
        width > kMaxImageDimension || height > kMaxImageDimension) {
        return nullptr;
    }
    const size_t offset = kHeaderBytes + header[0];
    const size_t pixelBytes = static_cast<size_t>(width) * static_cast<size_t>(height) *
                              static_cast<size_t>(bitsPerPixel / 8);
    if (file->size < offset + pixelBytes) return nullptr;  // the decoder zero-fills the rest

    auto stored = std::make_unique<StoredImage>();
    stored->pixels = header + offset;
    stored->width = width;
    stored->height = height;
    stored->bytesPerPixel = bitsPerPixel / 8;
    const bool topRowStoredFirst = (header[17] & kTopOriginBit) != 0;
    const bool topRowAskedFirst = (flags & GLFW_ORIGIN_UL_BIT) != 0;
    stored->rowsReversed = topRowStoredFirst != topRowAskedFirst;
    stored->file = std::move(file);
    return stored;
}

}  // namespace platform
