// Texture loading: each image is read, uploaded once as level 0 with linear
// filtering and repeat wrapping, and freed. An image that comes as stored in
// its file goes up from the file's mapping, row by row where the file keeps
// the rows in the other order: the same texels as its decoded copy. An image that cannot be read,
// or is too large for the context, leaves an empty (0 × 0) texture in its slot.
#include "assets/texture_set.h"

#include "assets/program_locations.h"
#include "platform/console.h"
#include "platform/data_file.h"
#include "platform/gl_context.h"
#include "platform/image_reader.h"

namespace {

// Uploads level 0. Grey images go up as red (and green for alpha) with a
// swizzle that shows them as (R, R, R, 1) or (R, R, R, G) where the
// luminance formats (GL_LUMINANCE, GL_LUMINANCE_ALPHA) do not exist.
void uploadImage(const platform::GLFWimage& image) {
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    // Rows are packed: a 1- or 2-pixel-wide RGB image has rows that are not a
    // multiple of 4 bytes, and OpenGL would otherwise read past the data.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLenum format = static_cast<GLenum>(image.Format);
    if ((format == GL_LUMINANCE || format == GL_LUMINANCE_ALPHA) &&
        platform::contextLacksFixedFunction()) {
        const bool withAlpha = format == GL_LUMINANCE_ALPHA;
        format = withAlpha ? GL_RG : GL_RED;
        if (GLEW_VERSION_3_3 || GLEW_ARB_texture_swizzle) {
            const GLint swizzle[4] = {GL_RED, GL_RED, GL_RED, withAlpha ? GL_GREEN : GL_ONE};
            glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
        }
    }
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.Width, image.Height, 0, format,
                 GL_UNSIGNED_BYTE, image.Data);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
}

void uploadStoredImage(const platform::GLFWimage& image, const platform::StoredImage& stored) {
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLenum storedFormat = static_cast<GLenum>(stored.storedFormat());
    if (!stored.rowsReversed) {
        glTexImage2D(GL_TEXTURE_2D, 0, image.Format, image.Width, image.Height, 0, storedFormat,
                     GL_UNSIGNED_BYTE, stored.pixels);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, image.Format, image.Width, image.Height, 0, storedFormat,
                     GL_UNSIGNED_BYTE, nullptr);
        for (int row = 0; row < image.Height; ++row) {
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, row, image.Width, 1, storedFormat,
                            GL_UNSIGNED_BYTE, stored.decodedRow(row));
        }
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
}

// The reader never opens anything but a regular file (a named pipe would wait
// for a writer); what the path names instead is said with the message.
void reportUnreadableImage(const char* path) {
    const char* notAFile = path != nullptr ? platform::nonRegularFileKind(path) : nullptr;
    if (notAFile == nullptr) {
        platform::printErrorLine("tex file not found");
    } else {
        platform::printErrorLine("tex file not found: " + std::string(path) + " is " + notAFile +
                                 ", not a regular file");
    }
}

}  // namespace

void TextureSet::reserveTextures(int count) {
    textureCapacity = count > 0 ? count : 0;
    textureCount = 0;
    samplerLocations.assign(static_cast<size_t>(textureCapacity), -1);
    samplerNames.assign(static_cast<size_t>(textureCapacity), std::string());
    textureIds.assign(static_cast<size_t>(textureCapacity), 0);
    colourAlpha = false;
}

bool TextureSet::addTexture(const ProgramLocations& program, const char* uniformName,
                            const char* path) {
    if (textureCount >= textureCapacity) return false;
    platform::ImageRead read = platform::readImageForUpload(
        path, platform::GLFW_ORIGIN_UL_BIT, platform::currentGLContextLimits().maxTextureSize);
    return addReadTexture(program, uniformName, path, read);
}

bool TextureSet::addReadTexture(const ProgramLocations& program, const char* uniformName,
                                const char* path, platform::ImageRead& readImage) {
    if (textureCount >= textureCapacity) return false;
    const size_t slot = static_cast<size_t>(textureCount);
    samplerLocations[slot] = program.getUniformLocation(uniformName);
    samplerNames[slot] = uniformName != nullptr ? uniformName : "";

    const int maxTextureSize = platform::currentGLContextLimits().maxTextureSize;
    if (readImage.image.Width > maxTextureSize || readImage.image.Height > maxTextureSize) {
        readImage = platform::ImageRead{};
    }
    if (readImage.result != 1) reportUnreadableImage(path);
    const platform::GLFWimage& image = readImage.image;

    glGenTextures(1, &textureIds[slot]);
    glBindTexture(GL_TEXTURE_2D, textureIds[slot]);
    const bool read = image.Data != nullptr || readImage.stored != nullptr;
    if (read) {
        if (slot == 0) colourAlpha = image.BytesPerPixel == 2 || image.BytesPerPixel == 4;
        if (readImage.stored != nullptr) {
            uploadStoredImage(image, *readImage.stored);
        } else {
            uploadImage(image);
        }
    } else {
        // No image: an empty texture, with a format every context accepts.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    readImage = platform::ImageRead{};  // the decoded image is only needed for the upload
    ++textureCount;
    return read;
}
