// The stand-in's files are written in the model space of each model's
// placement, so that the scene set-up puts them back where the tests expect.
#include "stand_in_scene.h"

#include <glm/gtc/matrix_transform.hpp>
#include <sstream>

#include "scene/scene_files.h"
#include "scene/scene_placements.h"

namespace support {

namespace {

// The model matrix the scene set-up gives the object of `model`, its path as
// scene/scene_files.h names it ("Models/tree2.obj").
glm::mat4 placementOf(const std::string& model) {
    const glm::mat4 one(1.0f);
    const glm::vec3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    if (model == kWaterFiles.model)
        return glm::translate(
            glm::scale(glm::rotate(one, glm::radians(90.0f), y), glm::vec3(kWaterScale)),
            y * (kWaterHeight / kWaterScale));
    if (model == kTreeFiles.model)
        return glm::translate(glm::rotate(glm::scale(one, glm::vec3(5)), glm::radians(110.0f), x),
                              glm::vec3(0, -3.8f, 2));
    if (model != kSkyboxFiles.model) return one;
    const glm::mat4 m = glm::scale(glm::translate(one, glm::vec3(5, 0.2f, -15)), glm::vec3(500));
    return glm::rotate(glm::rotate(m, glm::radians(180.0f), y), glm::radians(270.0f), z);
}

struct Quad {
    glm::vec3 corners[4];
    glm::vec3 normal;
};

// The quads, given in world coordinates and counter-clockwise as seen from the
// side their normal points to, in the model space of the model's placement.
void writeObj(const std::string& model, const std::vector<Quad>& quads, float repeat = 1.0f) {
    const glm::mat4 toModel = glm::inverse(placementOf(model));
    std::ostringstream obj;
    for (size_t n = 1; n <= quads.size(); ++n) {
        const Quad& quad = quads[n - 1];
        for (const glm::vec3& corner : quad.corners) {
            const glm::vec3 p(toModel * glm::vec4(corner, 1.0f));
            obj << "v " << p.x << ' ' << p.y << ' ' << p.z << '\n';
        }
        const glm::vec3 normal = glm::normalize(glm::mat3(toModel) * quad.normal);
        obj << "vt 0 0\nvt " << repeat << " 0\nvt " << repeat << ' ' << repeat << "\nvt 0 "
            << repeat << "\nvn " << normal.x << ' ' << normal.y << ' ' << normal.z << '\n';
        auto corner = [&](size_t c) {
            return " " + std::to_string(4 * n - 4 + c) + "/" + std::to_string(4 * n - 4 + c) + "/" +
                   std::to_string(n);
        };
        obj << "f" << corner(1) << corner(2) << corner(3) << "\nf" << corner(1) << corner(3)
            << corner(4) << '\n';
    }
    writeFile(model, obj.str());
}

// The six faces of an axis-aligned box, facing out (or in, for a room).
std::vector<Quad> box(glm::vec3 l, glm::vec3 h, bool facingIn = false) {
    std::vector<Quad> quads = {
        {{{l.x, h.y, h.z}, {h.x, h.y, h.z}, {h.x, h.y, l.z}, {l.x, h.y, l.z}}, {0, 1, 0}},
        {{{l.x, l.y, l.z}, {h.x, l.y, l.z}, {h.x, l.y, h.z}, {l.x, l.y, h.z}}, {0, -1, 0}},
        {{{l.x, l.y, h.z}, {h.x, l.y, h.z}, {h.x, h.y, h.z}, {l.x, h.y, h.z}}, {0, 0, 1}},
        {{{h.x, l.y, l.z}, {l.x, l.y, l.z}, {l.x, h.y, l.z}, {h.x, h.y, l.z}}, {0, 0, -1}},
        {{{h.x, l.y, h.z}, {h.x, l.y, l.z}, {h.x, h.y, l.z}, {h.x, h.y, h.z}}, {1, 0, 0}},
        {{{l.x, l.y, l.z}, {l.x, l.y, h.z}, {l.x, h.y, h.z}, {l.x, h.y, l.z}}, {-1, 0, 0}}};
    for (Quad& quad : quads) {
        if (!facingIn) continue;
        std::swap(quad.corners[1], quad.corners[3]);
        quad.normal = -quad.normal;
    }
    return quads;
}

void writeTexture(const std::string& path, glm::ivec3 colour, int alpha = -1) {
    TgaImage image{8, 8, alpha < 0 ? 3 : 4, {}};
    for (int i = 0; i < 64; ++i) {
        image.pixels.insert(image.pixels.end(), {static_cast<unsigned char>(colour.r),
                                                 static_cast<unsigned char>(colour.g),
                                                 static_cast<unsigned char>(colour.b)});
        if (alpha >= 0) image.pixels.push_back(static_cast<unsigned char>(alpha));
    }
    writeFile(path, encodeTga(image, true));
}

}  // namespace

void writeStandInScene() {
    const float w = 280.0f, y = kWaterHeight;  // where the shaders mirror the scene
    writeObj(kCliffFiles.model, box({-12, -20, -12}, {12, 0, 12}), 3.0f);
    writeObj(kTreeFiles.model, box({-1, 0, -1}, {1, 10, 1}));
    writeObj(kWaterFiles.model, {{{{-w, y, w}, {w, y, w}, {w, y, -w}, {-w, y, -w}}, {0, 1, 0}}},
             40.0f);
    writeObj(kLightSphereFiles.model, box({-2, -2, -2}, {2, 2, 2}));
    writeObj(kSkyboxFiles.model, box({-495, -495, -510}, {505, 505, 485}, true));
    for (const char* normalMap : {kCliffFiles.normalMap, kWaterFiles.normalMap})
        writeTexture(normalMap, {128, 128, 255});
    writeTexture(kCliffFiles.texture, {200, 170, 110});  // sand
    writeTexture(kTreeFiles.texture, {60, 150, 60});
    writeTexture(kWaterFiles.texture, {40, 90, 160}, 140);
    writeTexture(kLightSphereFiles.texture, {255, 230, 90});
    writeTexture(kSkyboxFiles.texture, {150, 190, 235});  // light blue
}

void StandInSceneTest::SetUp() {
    writeStandInScene();
    scope.input.setTime(2.0);
    ASSERT_TRUE(openContext(GetParam()));
    printedBy([&] { ASSERT_TRUE(setUpScene(scene)); });
}

void StandInSceneTest::TearDown() {
    scene = Scene();  // its programs and targets go while the context lives
    closeContext();
}

}  // namespace support
