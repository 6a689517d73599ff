// Placeholder until texture loading lands.
#include "assets/texture_set.h"

void TextureSet::reserveTextures(int count) {
    textureCapacity = count;
    textureCount = 0;
    samplerLocations.assign(count, -1);
    textureIds.assign(count, 0);
}

void TextureSet::addTexture(const ShaderProgram&, const char*, const char*) {}
