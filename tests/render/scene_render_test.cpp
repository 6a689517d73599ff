// Whole frames of a stand-in scene on both contexts: a shadow that follows the
// light and no acne, the light's frustum, the water's reflection, and the state
// a frame leaves. The stand-in is authored in world coordinates, so that the
// tests know where each feature lands: a sand island block (top at y = 0, x
// and z within +-12), a green column (the "tree") of height 10 on its middle,
// blue water at y = -14, a yellow light sphere, a light-blue sky box.
#include <functional>
#include <sstream>

#include "app/frame_composition.h"
#include "app/globals.h"
#include "app/scene_setup.h"
#include "camera/camera.h"
#include "render/scene_object.h"
#include "test_support.h"

namespace {

struct Quad {
    glm::vec3 corners[4];
    glm::vec3 normal;
};

// The quads, given in world coordinates and counter-clockwise as seen from the
// side their normal points to, in the model space of the model's placement.
void writeObj(const std::string& model, const std::vector<Quad>& quads, float repeat = 1.0f) {
    const glm::mat4 toModel = glm::inverse(support::placementOf(model));
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
    support::writeFile("Models/" + model, obj.str());
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

void writeTexture(const std::string& name, glm::ivec3 colour, int alpha = -1) {
    support::TgaImage image{8, 8, alpha < 0 ? 3 : 4, {}};
    for (int i = 0; i < 64; ++i) {
        image.pixels.insert(image.pixels.end(), {static_cast<unsigned char>(colour.r),
                                                 static_cast<unsigned char>(colour.g),
                                                 static_cast<unsigned char>(colour.b)});
        if (alpha >= 0) image.pixels.push_back(static_cast<unsigned char>(alpha));
    }
    support::writeFile("Sprites/" + name, support::encodeTga(image, true));
}

// The stand-in's Models/ and Sprites/, in the working directory.
void writeTestScene() {
    const float w = 280.0f, y = -14.0f;
    writeObj("island_large.obj", box({-12, -20, -12}, {12, 0, 12}), 3.0f);
    writeObj("tree2.obj", box({-1, 0, -1}, {1, 10, 1}));
    writeObj("water_plane.obj", {{{{-w, y, w}, {w, y, w}, {w, y, -w}, {-w, y, -w}}, {0, 1, 0}}},
             40.0f);
    writeObj("light_sphere.obj", box({-2, -2, -2}, {2, 2, 2}));
    writeObj("skybox_new.obj", box({-495, -495, -510}, {505, 505, 485}, true));
    for (const char* normalMap : {"cliff_bump3_NRM.tga", "sea_NRM.tga"})
        writeTexture(normalMap, {128, 128, 255});
    writeTexture("cliff_tex.tga", {200, 170, 110});  // sand
    writeTexture("tree2.tga", {60, 150, 60});
    writeTexture("sea_trans2.tga", {40, 90, 160}, 140);
    writeTexture("light_tex.tga", {255, 230, 90});
    writeTexture("violentdays_1024.tga", {150, 190, 235});  // light blue
}

float luminance(glm::vec3 c) { return glm::dot(c, glm::vec3(0.299f, 0.587f, 0.114f)); }

class SceneRender : public testing::TestWithParam<support::ContextRequest> {
  protected:
    void SetUp() override {
        writeTestScene();
        scope.input.setTime(2.0);
        ASSERT_TRUE(support::openContext(GetParam()));
        support::printedBy([&] { ASSERT_TRUE(setUpScene(scene)); });
    }
    void TearDown() override {
        scene = Scene();  // its programs and targets go while the context lives
        support::closeContext();
    }
    // A frame seen from `eye`; `beforeMainPass` runs between the reflection and the main pass.
    void frame(glm::vec3 eye, glm::vec3 centre, const std::function<void()>& beforeMainPass = {}) {
        view = glm::lookAt(eye, centre, glm::vec3(0, 1, 0));
        renderShadowPass(scene);
        renderReflectionPass(scene, view);
        if (beforeMainPass) beforeMainPass();
        renderMainPass(scene, view);
        finishFrame(scene);
        image = support::readPixels();
    }
    // The colour where a world point appears, in the last frame or in `from`.
    glm::vec3 at(glm::vec3 world, const support::Image* from = nullptr) const {
        const glm::vec4 clip = scene.projection * view * glm::vec4(world, 1.0f);
        const glm::ivec2 pixel((glm::vec2(clip) / clip.w * 0.5f + 0.5f) * glm::vec2(800, 600));
        EXPECT_TRUE(pixel.x >= 0 && pixel.x < 800 && pixel.y >= 0 && pixel.y < 600) << "off screen";
        return (from ? *from : image).at(glm::clamp(pixel.x, 0, 799), glm::clamp(pixel.y, 0, 599));
    }
    float light(glm::vec3 world, const support::Image* from = nullptr) const {
        return luminance(at(world, from));
    }
    // Fills a render target with depth 0 or with red.
    static void fill(GLuint framebuffer, GLbitfield buffer) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glClearDepth(0.0), glClearColor(1, 0, 0, 1), glClear(buffer);
        glClearDepth(1.0), glClearColor(0, 0, 0, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    support::ScratchDirectory scratch;
    support::ScriptedInputScope scope;
    Scene scene;
    glm::mat4 view{1.0f};
    support::Image image;
};

// From +x, so that the ground behind the column (away from the light at
// (0, 140, 100)) is in view.
const glm::vec3 kSide(60, 60, -4), kSideCentre(0, 0, -4);

}  // namespace

TEST_P(SceneRender, TheColumnsShadowFollowsTheLightAndTheRestIsLitEvenly) {
    scene.tree->translate(glm::vec3(0, 1000, 0));  // far out of the light's view: no shadow
    frame(kSide, kSideCentre);
    const support::Image lit = image;
    scene.tree->translate(glm::vec3(0, -1000, 0));
    frame(kSide, kSideCentre);
    const support::Image shadowed = image;
    auto litAt = [&](glm::vec3 p) { return light(p, &lit); };
    auto shadowedAt = [&](glm::vec3 p) { return light(p, &shadowed); };
    for (glm::vec3 p : {glm::vec3(0, 0, -5), glm::vec3(0, 0, -8), glm::vec3(0.5f, 0, -1.3f)})
        EXPECT_LT(shadowedAt(p), 0.75f * litAt(p)) << "no shadow at z " << p.z;
    float brightest = 0.0f, darkest = 1.0f;  // away from the shadow: no acne
    for (int i = 0; i < 21; ++i) {
        const glm::vec3 p(-9.0f + 3 * (i % 7), 0, i < 7 ? -10.5f : i < 14 ? 4.0f : 8.0f);
        EXPECT_NEAR(shadowedAt(p), litAt(p), 2.0f / 255.0f);
        brightest = std::max(brightest, litAt(p)), darkest = std::min(darkest, litAt(p));
    }
    EXPECT_LT(brightest - darkest, 0.08f) << "the lit island is patchy";
    lightPosition = glm::vec3(0, 140, -100);  // the shadow now falls towards +z
    frame(kSide, kSideCentre);
    EXPECT_LT(light(glm::vec3(0, 0, 5)), 0.75f * shadowedAt(glm::vec3(0, 0, 5)));
    EXPECT_EQ(glm::vec3(scene.lightSphere->getModelMatrix()[3]), lightPosition);
    // A shadow map that occludes all it covers darkens the island but not the
    // far water, outside the light's frustum.
    lightPosition = glm::vec3(0, 140, 100);
    const glm::vec3 far(150, 150, -40), farCentre(0, -7, -37), island(0, 0, 5), water(0, -14, -80);
    frame(far, farCentre);
    const float islandLit = light(island), waterLit = light(water);
    frame(far, farCentre, [&] { fill(scene.shadowMap->getFramebuffer(), GL_DEPTH_BUFFER_BIT); });
    EXPECT_LT(light(island), 0.75f * islandLit);
    EXPECT_NEAR(light(water), waterLit, 2.0f / 255.0f);
}

TEST_P(SceneRender, TheWaterShowsTheReflectionMapAndTheIslandNone) {
    const glm::vec3 low(0, 5, 120), lowCentre(0, -8, 0), beforeIsland(0, -14, 16),
        aside(-15, -14, 40);
    for (int cliffMode : {5, 6}) {  // a shiny island is no mirror either
        scene.cliff->setMode(cliffMode);
        frame(low, lowCentre);
        const glm::vec3 sand = at(beforeIsland), sky = at(aside);  // what the water mirrors
        EXPECT_GT(sand.r - sand.b, sky.r - sky.b + 0.08f);
        const glm::vec3 islandFaces[] = {glm::vec3(0, -5, 12), glm::vec3(5, -2, 12),
                                         glm::vec3(-6, 0, 6)};
        std::vector<float> before;
        for (glm::vec3 p : islandFaces) before.push_back(at(p).r);
        frame(low, lowCentre,
              [&] { fill(scene.reflectionMap->getFramebuffer(), GL_COLOR_BUFFER_BIT); });
        EXPECT_GT(at(aside).r, sky.r + 0.15f);
        EXPECT_GT(at(beforeIsland).r, sand.r + 0.1f);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(at(islandFaces[i]).r, before[i], 1.0f / 255.0f) << cliffMode;
    }
}

TEST_P(SceneRender, TheFrameLeavesTheStateItDescribes) {
    polyoffset = 2.5f;
    scene.water->setMode(2);
    frame(glm::vec3(0, 20, 41), glm::vec3(0));
    std::ostringstream state;
    auto get = [&](GLenum name) { return support::integerState(name); };
    GLint v[4] = {}, attached = -1;
    GLfloat offset[2] = {};
    glGetIntegerv(GL_VIEWPORT, v);
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, offset);
    glGetFloatv(GL_POLYGON_OFFSET_UNITS, offset + 1);
    state << v[2] << "x" << v[3] << " offset " << offset[0] << " " << offset[1] << " "
          << int{glIsEnabled(GL_POLYGON_OFFSET_LINE)} << " cull " << get(GL_CULL_FACE_MODE)
          << " bound " << get(GL_FRAMEBUFFER_BINDING) << get(GL_CURRENT_PROGRAM)
          << get(GL_TEXTURE_BINDING_2D);
    // The shadow map on unit 2, three times the window in depth 24; the
    // reflection on unit 3, the window's size; both clamped at their edges.
    for (GLenum unit : {GL_TEXTURE2, GL_TEXTURE3}) {
        glActiveTexture(unit);
        GLint w = 0, h = 0, format = 0, wrap = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
        state << " | "
              << (get(GL_TEXTURE_BINDING_2D) ==
                  static_cast<int>(unit == GL_TEXTURE2 ? scene.shadowMap->getDepthTexture()
                                                       : scene.reflectionMap->getColorTexture()))
              << " " << w << "x" << h << " " << format << " " << wrap;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, scene.reflectionMap->getFramebuffer());
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &attached);
    state << " depth " << attached << " modes " << scene.tree->getMode() << scene.cliff->getMode()
          << scene.water->getMode() << scene.skybox->getMode() << scene.lightSphere->getMode();
    const std::string clamp = GetParam().major >= 3 ? "33071" : "10496";  // GL_CLAMP where it is
    // No depth buffer in the reflection, so later draws into it cover earlier ones.
    EXPECT_EQ(state.str(), "800x600 offset 1.1 2.5 0 cull 1029 bound 000 | 1 2400x1800 33190 " +
                               clamp + " | 1 800x600 6408 " + clamp + " depth 0 modes 35200");
    EXPECT_TRUE(support::takeGLErrors().empty());
}

INSTANTIATE_TEST_SUITE_P(Contexts, SceneRender, support::kBothContexts, support::contextName);
