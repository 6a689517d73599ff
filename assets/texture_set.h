// The one or two textures of a scene object: slot 0 the colour texture
// ("firstTexture"), slot 1 the normal map ("normalmap").
#pragma once

#include <vector>

#include "platform/gl.h"

class ShaderProgram;

class TextureSet {
public:
    TextureSet() = default;
    TextureSet(const TextureSet&) = delete;
    TextureSet& operator=(const TextureSet&) = delete;

    void reserveTextures(int count);
    // Loads the TGA at `path` into the next slot; an unreadable file prints
    // "tex file not found", leaves an empty texture in the slot and returns
    // false. False too, with nothing done, when every slot is taken.
    bool addTexture(const ShaderProgram& program, const char* uniformName, const char* path);

    int textureCapacity = 0;
    int textureCount = 0;
    std::vector<GLint> samplerLocations;
    std::vector<GLuint> textureIds;
};
