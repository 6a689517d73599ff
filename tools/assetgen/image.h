// An 8-bit RGB or RGBA picture in memory, top row first, and its encoding as
// an uncompressed TGA file.
//
// Texture coordinates and rows: the island's image reader delivers the top row
// first and it is uploaded as the first row of the texture, so row j of an
// Image is sampled at v = (j + 0.5) / height and column i at u = (i + 0.5) /
// width. The generators below bake their pictures with that mapping.
#pragma once

#include <cstdint>
#include <glm/glm.hpp>
#include <string>
#include <vector>

namespace assetgen {

struct Image {
    Image(int width, int height, int channels);

    // Colour components in [0, 1], clamped and rounded to 8 bits.
    void set(int x, int y, const glm::dvec3& rgb);
    void set(int x, int y, const glm::dvec4& rgba);
    glm::dvec4 get(int x, int y) const;

    int width;
    int height;
    int channels;
    std::vector<std::uint8_t> pixels;  // rows top to bottom, `channels` bytes a pixel
};

// Encodes as an uncompressed true-colour TGA (type 2). The file stores its
// rows bottom-up with the origin flag clear, which every TGA reader handles.
std::string encodeTga(const Image& image);

// Encodes a tangent-space normal n as 0.5 + 0.5 n.
glm::dvec3 encodeNormal(const glm::dvec3& normal);

}  // namespace assetgen
