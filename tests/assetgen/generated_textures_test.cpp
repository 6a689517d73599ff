// The seven generated textures, decoded by the island's own TGA reader (top
// row first): sizes, formats, normal-map encoding, seamless tiling, and that
// the baked pictures line up with the models' texture coordinates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "generated_assets.h"
#include "platform/gl.h"
#include "platform/image_reader.h"
#include "tools/assetgen/sky.h"

namespace {

using namespace generated_assets;
using platform::GLFWimage;

struct Picture {
    GLFWimage image;
    Picture() = default;
    Picture(const Picture&) = delete;
    ~Picture() { platform::glfwFreeImage(&image); }

    glm::vec4 at(int x, int y) const {
        const unsigned char* p =
            image.Data + (static_cast<size_t>(y) * image.Width + x) * image.BytesPerPixel;
        return glm::vec4(p[0], p[1], p[2], image.BytesPerPixel == 4 ? p[3] : 255) / 255.0f;
    }
    // The texel a texture coordinate falls in: rows are sampled top first.
    glm::vec4 sample(const glm::vec2& uv) const {
        const float u = uv.x - std::floor(uv.x), v = uv.y - std::floor(uv.y);
        return at(std::min(static_cast<int>(u * image.Width), image.Width - 1),
                  std::min(static_cast<int>(v * image.Height), image.Height - 1));
    }
};

std::unique_ptr<Picture> readSprite(const std::string& name) {
    auto picture = std::make_unique<Picture>();
    const std::string path = runPath("Sprites/" + name);
    EXPECT_EQ(platform::glfwReadImage(path.c_str(), &picture->image, platform::GLFW_ORIGIN_UL_BIT),
              1)
        << path;
    return picture;
}

// Width and height as stored in the file's header, before any resampling.
void storedSize(const std::string& name, int& width, int& height) {
    unsigned char header[18] = {0};
    std::FILE* file = std::fopen(runPath("Sprites/" + name).c_str(), "rb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fread(header, 1, sizeof header, file), sizeof header);
    std::fclose(file);
    width = header[12] | header[13] << 8;
    height = header[14] | header[15] << 8;
}

bool powerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// Mean absolute difference between two columns (or rows) of a picture.
float columnDifference(const Picture& p, int a, int b) {
    float sum = 0.0f;
    for (int y = 0; y < p.image.Height; ++y) {
        const glm::vec4 d = glm::abs(p.at(a, y) - p.at(b, y));
        sum += d.r + d.g + d.b + d.a;
    }
    return sum / p.image.Height;
}

float rowDifference(const Picture& p, int a, int b) {
    float sum = 0.0f;
    for (int x = 0; x < p.image.Width; ++x) {
        const glm::vec4 d = glm::abs(p.at(x, a) - p.at(x, b));
        sum += d.r + d.g + d.b + d.a;
    }
    return sum / p.image.Width;
}

void expectSeamless(const Picture& p) {
    const int w = p.image.Width, h = p.image.Height;
    // Across the wrap the step is no larger than between neighbours inside.
    const float inside =
        0.5f * (columnDifference(p, w / 2, w / 2 + 1) + rowDifference(p, h / 2, h / 2 + 1));
    EXPECT_LT(columnDifference(p, w - 1, 0), 2.0f * inside + 0.01f);
    EXPECT_LT(rowDifference(p, h - 1, 0), 2.0f * inside + 0.01f);
}

}  // namespace

TEST(GeneratedTextures, EveryTextureIsReadableWithPowerOfTwoSizes) {
    const char* const names[] = {"sea_trans2.tga",      "sea_NRM.tga",   "light_tex.tga",
                                 "tree2.tga",           "cliff_tex.tga", "cliff_bump3_NRM.tga",
                                 "violentdays_1024.tga"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        int width = 0, height = 0;
        storedSize(name, width, height);
        EXPECT_TRUE(powerOfTwo(width));
        EXPECT_TRUE(powerOfTwo(height));
        const auto picture = readSprite(name);
        EXPECT_EQ(picture->image.Width, width);
        EXPECT_EQ(picture->image.Height, height);
        const bool translucent = std::string(name) == "sea_trans2.tga";
        EXPECT_EQ(picture->image.Format, translucent ? GL_RGBA : GL_RGB);
    }
    int width = 0, height = 0;
    storedSize("violentdays_1024.tga", width, height);
    EXPECT_EQ(width, 1024);
}

TEST(GeneratedTextures, SeaIsTranslucentAndTilesSeamlessly) {
    const auto sea = readSprite("sea_trans2.tga");
    ASSERT_NE(sea->image.Data, nullptr);
    for (int y = 0; y < sea->image.Height; y += 7) {
        for (int x = 0; x < sea->image.Width; x += 7) {
            const glm::vec4 c = sea->at(x, y);
            ASSERT_GT(c.a, 0.4f);
            ASSERT_LT(c.a, 0.9f);
            ASSERT_GT(c.b, c.r);  // a blue-green sea
        }
    }
    expectSeamless(*sea);
    const auto waves = readSprite("sea_NRM.tga");
    ASSERT_NE(waves->image.Data, nullptr);
    expectSeamless(*waves);
}

TEST(GeneratedTextures, NormalMapsHoldUnitNormalsFacingOut) {
    for (const char* name : {"sea_NRM.tga", "cliff_bump3_NRM.tga"}) {
        SCOPED_TRACE(name);
        const auto map = readSprite(name);
        ASSERT_NE(map->image.Data, nullptr);
        float tilted = 0.0f;
        int count = 0;
        for (int y = 0; y < map->image.Height; y += 5) {
            for (int x = 0; x < map->image.Width; x += 5) {
                const glm::vec3 n = 2.0f * glm::vec3(map->at(x, y)) - 1.0f;
                ASSERT_NEAR(glm::length(n), 1.0f, 0.03f);
                ASSERT_GT(n.z, 0.5f);
                tilted += 1.0f - n.z;
                ++count;
            }
        }
        EXPECT_GT(tilted / count, 0.002f) << "the map carries no relief";
    }
}

TEST(GeneratedTextures, CliffTextureFollowsTheIslandsLayout) {
    // Baked to the island's texture coordinates: flat ground on the top is
    // grass, steep faces above the water are rock.
    const auto cliff = readSprite("cliff_tex.tga");
    ASSERT_NE(cliff->image.Data, nullptr);
    const ObjModel island = readModel("island_large.obj");
    int grassFaces = 0, greenGrass = 0, rockFaces = 0, greyRock = 0;
    for (const ObjFace& f : island.faces) {
        const glm::vec3 centre =
            (island.positions[f.positionIndex[0]] + island.positions[f.positionIndex[1]] +
             island.positions[f.positionIndex[2]]) /
            3.0f;
        const glm::vec2 uv =
            (island.texCoords[f.texCoordIndex[0]] + island.texCoords[f.texCoordIndex[1]] +
             island.texCoords[f.texCoordIndex[2]]) /
            3.0f;
        const glm::vec4 c = cliff->sample(uv);
        const float normalY = island.normals[f.normalIndex].y;
        if (normalY > 0.97f && centre.y > -2.0f) {
            ++grassFaces;
            if (c.g > c.r && c.g > c.b) ++greenGrass;
        } else if (normalY < 0.3f && centre.y > -10.0f) {
            ++rockFaces;
            const float saturation = std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b});
            if (saturation < 0.15f && c.g <= c.r + 0.02f) ++greyRock;
        }
    }
    ASSERT_GT(grassFaces, 1000);
    ASSERT_GT(rockFaces, 1000);
    EXPECT_GT(greenGrass, 0.95 * grassFaces);
    EXPECT_GT(greyRock, 0.9 * rockFaces);
}

TEST(GeneratedTextures, SkyBoxUpwardFaceSamplesTheZenithTile) {
    const auto atlas = readSprite("violentdays_1024.tga");
    ASSERT_NE(atlas->image.Data, nullptr);
    const ObjModel sky = readModel("skybox_new.obj");
    const std::vector<glm::vec3> world = worldPositions(sky, skyboxMatrix());

    auto checkFace = [&](bool up, int tileColumn, int tileRow) {
        glm::vec2 low(1e9f), high(-1e9f);
        int faces = 0;
        for (const ObjFace& f : sky.faces) {
            bool onFace = true;
            for (int c = 0; c < 3; ++c) {
                const float y = world[f.positionIndex[c]].y;
                onFace = onFace && (up ? y > 400.0f : y < -400.0f);
            }
            if (!onFace) continue;
            ++faces;
            for (int c = 0; c < 3; ++c) {
                const glm::vec2 texel = sky.texCoords[f.texCoordIndex[c]] *
                                        glm::vec2(atlas->image.Width, atlas->image.Height);
                low = glm::min(low, texel);
                high = glm::max(high, texel);
            }
        }
        EXPECT_EQ(faces, 2);
        const float tile = static_cast<float>(assetgen::kSkyTileSize);
        EXPECT_GE(low.x, tileColumn * tile);
        EXPECT_LE(high.x, (tileColumn + 1) * tile);
        EXPECT_GE(low.y, tileRow * tile);
        EXPECT_LE(high.y, (tileRow + 1) * tile);
        // The padding around the face continues the picture, so that linear
        // filtering at the cube's edges blends with matching colours.
        float seam = 0.0f;
        int samples = 0;
        for (int x = static_cast<int>(low.x) + 1; x < static_cast<int>(high.x) - 1; x += 8) {
            const glm::vec4 inner = atlas->at(x, static_cast<int>(low.y) + 1);
            const glm::vec4 outer = atlas->at(x, static_cast<int>(low.y) - 2);
            seam += glm::length(glm::vec3(inner - outer));
            ++samples;
        }
        EXPECT_LT(seam / samples, 0.05f);
        glm::vec4 mean(0.0f);
        samples = 0;
        for (int y = static_cast<int>(low.y); y < static_cast<int>(high.y); y += 4) {
            for (int x = static_cast<int>(low.x); x < static_cast<int>(high.x); x += 4) {
                mean += atlas->at(x, y);
                ++samples;
            }
        }
        return mean / static_cast<float>(samples);
    };
    const glm::vec4 zenith = checkFace(true, 0, 0);
    EXPECT_GT(zenith.b, zenith.r + 0.2f);  // blue sky
    EXPECT_GT(zenith.b, 0.6f);
    const glm::vec4 nadir = checkFace(false, 1, 0);
    EXPECT_LT(nadir.r + nadir.g + nadir.b, 1.0f);  // dark sea below the horizon
}

TEST(GeneratedTextures, LightGlowsWarmAndTreeAtlasHoldsBarkAndLeaves) {
    const auto light = readSprite("light_tex.tga");
    ASSERT_NE(light->image.Data, nullptr);
    glm::vec4 mean(0.0f);
    for (int y = 0; y < light->image.Height; ++y)
        for (int x = 0; x < light->image.Width; ++x) mean += light->at(x, y);
    mean /= static_cast<float>(light->image.Width * light->image.Height);
    EXPECT_GT(mean.r, 0.9f);
    EXPECT_GE(mean.r, mean.g);
    EXPECT_GT(mean.g, mean.b);

    const auto tree = readSprite("tree2.tga");
    ASSERT_NE(tree->image.Data, nullptr);
    glm::vec4 bark(0.0f), leaves(0.0f);
    const int half = tree->image.Width / 2;
    for (int y = 0; y < tree->image.Height; ++y) {
        for (int x = 0; x < half; ++x) {
            bark += tree->at(x, y);
            leaves += tree->at(half + x, y);
        }
    }
    EXPECT_GT(bark.r, bark.g);  // brown
    EXPECT_GT(bark.g, bark.b);
    EXPECT_GT(leaves.g, leaves.r);  // green
    EXPECT_GT(leaves.g, leaves.b);
}
