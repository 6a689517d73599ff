// An uncompressed true-colour TGA (24 or 32 bits, no colour map) whose size
// needs no resampling already holds its pixels as OpenGL takes them: rows of
// BGR or BGRA. Such an image goes to OpenGL straight from the file's mapping,
// with no decoded copy and none of the fresh memory that copy would fill.
#pragma once

#include <memory>

#include "platform/mapped_file.h"

namespace platform {

struct StoredImage {
    std::unique_ptr<MappedFile> file;
    const unsigned char* pixels = nullptr;  // the first row the file stores, in `file`
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;  // 3 (BGR) or 4 (BGRA)
    // The file stores its rows in the opposite order from the one asked for.
    bool rowsReversed = false;
    // GL_BGR or GL_BGRA: the pixel format of the rows as stored.
    int storedFormat() const;
    // The row the decoded image would hold at `row`.
    const unsigned char* decodedRow(int row) const;
};

// The image at `path` as stored, where it is such a file, whole, with sides
// that are powers of two no larger than `maxDimension`; otherwise null (and
// the decoder reads it). `flags` as glfwReadImage's. Null always where
// OpenGL takes no BGR rows (WebGL).
std::unique_ptr<StoredImage> mapStoredImage(const char* path, int flags, int maxDimension);

}  // namespace platform
