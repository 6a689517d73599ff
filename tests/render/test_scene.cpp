// The stand-in scene's files. Every quad is written counter-clockwise as seen
// from the side its normal points to, with texture coordinates (0,0) (1,0)
// (1,1) (0,1) times a repeat count.
#include "test_scene.h"

#include <sstream>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "gl_test_context.h"

namespace testscene {

namespace {

struct Quad {
    glm::vec3 corners[4];
    glm::vec3 normal;
    float repeat = 1.0f;
};

// Quads given in world coordinates, written in the model space of `placement`.
void writeObj(const std::string& path, const std::vector<Quad>& quads,
              const glm::mat4& placement) {
    const glm::mat4 toModel = glm::inverse(placement);
    const glm::mat3 normalToModel = glm::inverse(glm::mat3(placement));
    std::ostringstream obj;
    int index = 0;
    for (const Quad& quad : quads) {
        for (const glm::vec3& corner : quad.corners) {
            const glm::vec3 model = glm::vec3(toModel * glm::vec4(corner, 1.0f));
            obj << "v " << model.x << ' ' << model.y << ' ' << model.z << '\n';
        }
        obj << "vt 0 0\nvt " << quad.repeat << " 0\nvt " << quad.repeat << ' ' << quad.repeat
            << "\nvt 0 " << quad.repeat << '\n';
        const glm::vec3 normal = glm::normalize(normalToModel * quad.normal);
        obj << "vn " << normal.x << ' ' << normal.y << ' ' << normal.z << '\n';
        const int n = index / 4 + 1;
        const int a = index + 1, b = index + 2, c = index + 3, d = index + 4;
        obj << "f " << a << '/' << a << '/' << n << ' ' << b << '/' << b << '/' << n << ' ' << c
            << '/' << c << '/' << n << '\n';
        obj << "f " << a << '/' << a << '/' << n << ' ' << c << '/' << c << '/' << n << ' ' << d
            << '/' << d << '/' << n << '\n';
        index += 4;
    }
    gltest::writeFile(path, obj.str());
}

// The six faces of an axis-aligned box, facing out (or in, for a room).
std::vector<Quad> box(glm::vec3 low, glm::vec3 high, bool facingIn = false, float repeat = 1.0f) {
    const glm::vec3 l = low, h = high;
    std::vector<Quad> quads = {
        {{{l.x, h.y, h.z}, {h.x, h.y, h.z}, {h.x, h.y, l.z}, {l.x, h.y, l.z}}, {0, 1, 0}, repeat},
        {{{l.x, l.y, l.z}, {h.x, l.y, l.z}, {h.x, l.y, h.z}, {l.x, l.y, h.z}}, {0, -1, 0}, repeat},
        {{{l.x, l.y, h.z}, {h.x, l.y, h.z}, {h.x, h.y, h.z}, {l.x, h.y, h.z}}, {0, 0, 1}, repeat},
        {{{h.x, l.y, l.z}, {l.x, l.y, l.z}, {l.x, h.y, l.z}, {h.x, h.y, l.z}}, {0, 0, -1}, repeat},
        {{{h.x, l.y, h.z}, {h.x, l.y, l.z}, {h.x, h.y, l.z}, {h.x, h.y, h.z}}, {1, 0, 0}, repeat},
        {{{l.x, l.y, l.z}, {l.x, l.y, h.z}, {l.x, h.y, h.z}, {l.x, h.y, l.z}}, {-1, 0, 0}, repeat},
    };
    if (facingIn) {
        for (Quad& quad : quads) {
            std::swap(quad.corners[1], quad.corners[3]);
            quad.normal = -quad.normal;
        }
    }
    return quads;
}

void writeSolidTga(const std::string& path, glm::ivec3 colour, int alpha = -1) {
    const int bytes = alpha < 0 ? 3 : 4;
    std::vector<unsigned char> pixels;
    for (int i = 0; i < 8 * 8; ++i) {
        pixels.push_back(static_cast<unsigned char>(colour.r));
        pixels.push_back(static_cast<unsigned char>(colour.g));
        pixels.push_back(static_cast<unsigned char>(colour.b));
        if (bytes == 4) pixels.push_back(static_cast<unsigned char>(alpha));
    }
    gltest::writeTga(path, 8, 8, bytes, pixels);
}

}  // namespace

glm::mat4 waterPlacement() {
    glm::mat4 m(1.0f);
    m = glm::rotate(m, glm::radians(90.0f), glm::vec3(0, 1, 0));
    m = glm::scale(m, glm::vec3(14.0f));
    return glm::translate(m, glm::vec3(0, -1, 0));
}

glm::mat4 treePlacement() {
    glm::mat4 m = glm::scale(glm::mat4(1.0f), glm::vec3(5.0f));
    m = glm::rotate(m, glm::radians(110.0f), glm::vec3(1, 0, 0));
    return glm::translate(m, glm::vec3(0, -3.8f, 2));
}

glm::mat4 skyboxPlacement() {
    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(5, 0.2f, -15));
    m = glm::scale(m, glm::vec3(500.0f));
    m = glm::rotate(m, glm::radians(180.0f), glm::vec3(0, 1, 0));
    return glm::rotate(m, glm::radians(270.0f), glm::vec3(0, 0, 1));
}

void writeTestScene(const std::string& directory) {
    const std::string models = directory + "/Models/";
    const std::string sprites = directory + "/Sprites/";
    const float s = kIslandHalfSize;
    writeObj(models + "island_large.obj", box({-s, -20, -s}, {s, 0, s}, false, 3.0f),
             glm::mat4(1.0f));
    writeObj(models + "tree2.obj",
             box({kColumnMinX, 0, kColumnMinZ}, {kColumnMaxX, kColumnHeight, kColumnMaxZ}),
             treePlacement());
    const float w = 280.0f;
    writeObj(models + "water_plane.obj",
             {{{{-w, kWaterHeight, w}, {w, kWaterHeight, w}, {w, kWaterHeight, -w},
                {-w, kWaterHeight, -w}},
               {0, 1, 0},
               40.0f}},
             waterPlacement());
    writeObj(models + "light_sphere.obj", box({-2, -2, -2}, {2, 2, 2}), glm::mat4(1.0f));
    writeObj(models + "skybox_new.obj", box({-495, -495, -510}, {505, 505, 485}, true),
             skyboxPlacement());

    const glm::ivec3 flatNormal{128, 128, 255};
    writeSolidTga(sprites + "cliff_tex.tga", kSandColour);
    writeSolidTga(sprites + "cliff_bump3_NRM.tga", flatNormal);
    writeSolidTga(sprites + "tree2.tga", kColumnColour);
    writeSolidTga(sprites + "sea_trans2.tga", kWaterColour, kWaterAlpha);
    writeSolidTga(sprites + "sea_NRM.tga", flatNormal);
    writeSolidTga(sprites + "light_tex.tga", kLightColour);
    writeSolidTga(sprites + "violentdays_1024.tga", kSkyColour);
}

glm::vec2 projectToWindow(glm::vec3 world, const glm::mat4& view, const glm::mat4& projection,
                          int width, int height) {
    const glm::vec4 clip = projection * view * glm::vec4(world, 1.0f);
    const glm::vec2 ndc = glm::vec2(clip) / clip.w;
    return glm::vec2((ndc.x * 0.5f + 0.5f) * width, (ndc.y * 0.5f + 0.5f) * height);
}

}  // namespace testscene
