// The one or two textures of a scene object: slot 0 the colour texture
// ("firstTexture"), slot 1 the normal map ("normalmap").
#pragma once

#include <string>
#include <vector>

#include "platform/gl.h"
#include "platform/image_reader.h"

class ProgramLocations;

class TextureSet {
  public:
    TextureSet() = default;
    TextureSet(const TextureSet&) = delete;
    TextureSet& operator=(const TextureSet&) = delete;

    void reserveTextures(int count);
    // Loads the TGA at `path` into the next slot; an unreadable file prints
    // "tex file not found" (followed by the path and what it names, for a
    // path that names something else than a regular file), leaves an empty
    // texture in the slot and returns false. False too, with nothing done,
    // when every slot is taken.
    bool addTexture(const ProgramLocations& program, const char* uniformName, const char* path);
    // The same with the image already read (glfwReadImage's result, made
    // ahead, for example on another thread): the message, the texture, the
    // slot and the result as addTexture gives them. An image larger than the
    // context takes counts as unreadable.
    bool addReadTexture(const ProgramLocations& program, const char* uniformName, const char* path,
                        platform::ImageRead& readImage);

    // True when slot 0 holds an image with an alpha channel.
    bool colourHasAlpha() const { return colourAlpha; }

    int textureCapacity = 0;
    int textureCount = 0;
    std::vector<GLint> samplerLocations;
    // The sampler uniforms' names, for drawing with another build of the
    // program, where the locations may differ.
    std::vector<std::string> samplerNames;
    std::vector<GLuint> textureIds;

  private:
    bool colourAlpha = false;  // slot 0's image had 2 or 4 channels
};
