// Whole frames of a stand-in scene on both contexts: a shadow that follows the
// light and no acne, the light's frustum, the water's reflection, a resized
// window, targets too large for the context, and the state a frame leaves. The stand-in is authored
// in world coordinates, so that the tests know where each feature lands: a sand island block (top
// at y = 0, x and z within +-12), a green column (the "tree") of height 10 on its middle, blue
// water at y = -14, a yellow light sphere, a light-blue sky box.
#include <chrono>
#include <functional>
#include <sstream>
#include <thread>
#include <tuple>

#include "camera/camera.h"
#include "frame/frame_composition.h"
#include "render/reflection_map.h"
#include "render/scene_object.h"
#include "render/shadow_map.h"
#include "scene/scene_files.h"
#include "scene/scene_placements.h"
#include "scene/scene_setup.h"
#include "state/globals.h"
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
    support::writeFile(model, obj.str());
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
    support::TgaImage image{8, 8, alpha < 0 ? 3 : 4, {}};
    for (int i = 0; i < 64; ++i) {
        image.pixels.insert(image.pixels.end(), {static_cast<unsigned char>(colour.r),
                                                 static_cast<unsigned char>(colour.g),
                                                 static_cast<unsigned char>(colour.b)});
        if (alpha >= 0) image.pixels.push_back(static_cast<unsigned char>(alpha));
    }
    support::writeFile(path, support::encodeTga(image, true));
}

// The stand-in's Models/ and Sprites/, in the working directory.
void writeTestScene() {
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
        const support::Image& picture = from ? *from : image;
        const glm::ivec2 size(picture.width, picture.height);
        const glm::vec4 clip = scene.projection * view * glm::vec4(world, 1.0f);
        const glm::ivec2 pixel((glm::vec2(clip) / clip.w * 0.5f + 0.5f) * glm::vec2(size));
        EXPECT_TRUE(pixel.x >= 0 && pixel.x < size.x && pixel.y >= 0 && pixel.y < size.y)
            << "off screen";
        return picture.at(glm::clamp(pixel.x, 0, size.x - 1), glm::clamp(pixel.y, 0, size.y - 1));
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
    const glm::vec3 far(150, 150, -40), farCentre(0, -7, -37), island(0, 0, 5),
        water(0, kWaterHeight, -80);
    frame(far, farCentre);
    const float islandLit = light(island), waterLit = light(water);
    frame(far, farCentre, [&] { fill(scene.shadowMap->getFramebuffer(), GL_DEPTH_BUFFER_BIT); });
    EXPECT_LT(light(island), 0.75f * islandLit);
    EXPECT_NEAR(light(water), waterLit, 2.0f / 255.0f);
}

TEST_P(SceneRender, TheWaterShowsTheReflectionMapAndTheIslandNone) {
    const glm::vec3 low(0, 5, 120), lowCentre(0, -8, 0), beforeIsland(0, kWaterHeight, 16),
        aside(-15, kWaterHeight, 40);
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

// Looking towards the light, the water glints where it mirrors it (the light
// at (0, 140, 100) mirrored in the water lies at (0, -168, 100); the line from
// this eye to it crosses the water at z = -40, inside the light's frustum),
// in its shading mode with specular and not in the one without. A shadow over
// the water darkens its body but leaves the glint.
TEST_P(SceneRender, TheWaterGlintsWhereItMirrorsTheLightAndAShadowDimsOnlyItsBody) {
    const glm::vec3 eye(0, 30, -80), glint(0, kWaterHeight, -40);
    const auto shadowed = [&] { fill(scene.shadowMap->getFramebuffer(), GL_DEPTH_BUFFER_BIT); };
    frame(eye, glint);
    const float bright = light(glint);
    scene.water->setMode(5);
    frame(eye, glint);
    const float dull = light(glint);
    EXPECT_GT(bright, dull + 0.2f);
    frame(eye, glint, shadowed);
    EXPECT_LT(light(glint), dull - 0.02f);
    scene.water->setMode(6);
    frame(eye, glint, shadowed);
    EXPECT_NEAR(light(glint), bright, 2.0f / 255.0f);
}

bool isMagenta(glm::vec3 c) { return c.r > 0.9f && c.g < 0.1f && c.b > 0.9f; }

// Resizes the window and waits until the platform reports the new size and a
// back buffer of that size clears (its far corner reads back magenta).
bool resizeWindow(int width, int height) {
    platform::glfwSetWindowSize(width, height);
    glClearColor(1, 0, 1, 1);
    bool resized = false;
    for (int attempt = 0; attempt < 1000 && !resized; ++attempt) {
        platform::glfwSwapBuffers();  // lets the window system's answer in
        int framebufferWidth = 0, framebufferHeight = 0;
        platform::getFramebufferSize(&framebufferWidth, &framebufferHeight);
        glClear(GL_COLOR_BUFFER_BIT);
        resized = framebufferWidth == width && framebufferHeight == height &&
                  isMagenta(support::readPixels(width, height).at(width - 1, height - 1));
        if (!resized) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return resized;
}

// 0 x 0 stands for a minimised window, which then comes back at its size.
// Whatever a frame leaves magenta, it did not draw.
TEST_P(SceneRender, ThePictureFillsTheWindowAtEverySizeAndNothingIsDrawnMinimised) {
    const glm::vec3 low(0, 5, 120), lowCentre(0, -8, 0);
    for (const auto& [width, height] :
         {std::pair{1000, 500}, {1, 1}, {300, 600}, {0, 0}, {300, 600}, {800, 600}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        if (width == 0) {
            scope.input.fakeFramebufferSize(0, 0);
        } else {
            scope.input.measureWindowFramebuffer();
            ASSERT_TRUE(resizeWindow(width, height)) << "the window never took this size";
        }
        glClearColor(1, 0, 1, 1), glClear(GL_COLOR_BUFFER_BIT), glClearColor(0, 0, 0, 0);
        view = glm::lookAt(low, lowCentre, glm::vec3(0, 1, 0));
        renderFrame(scene, view);
        EXPECT_TRUE(support::takeGLErrors().empty());
        image = support::readPixels(std::max(width, 1), std::max(height, 1));
        if (width == 0) {
            EXPECT_TRUE(isMagenta(image.at(0, 0))) << "drawn while minimised";
            continue;
        }
        for (const auto& [x, y] :
             {std::pair{0, 0}, {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}})
            EXPECT_FALSE(isMagenta(image.at(x, y))) << "corner " << x << "," << y;
        EXPECT_NEAR(scene.projection[1][1] / scene.projection[0][0],
                    static_cast<float>(width) / static_cast<float>(height), 1e-4f);
        EXPECT_TRUE(scene.reflectionMap->targetWidth() == width &&
                    scene.reflectionMap->targetHeight() == height);
        EXPECT_EQ(scene.shadowMap->targetWidth(), 2400) << "the shadow map keeps its size";
        if (width != 1000) continue;
        // The water mirrors the island's sand two thirds of the way to its side
        // edges (x = +-12) and the sky a third beyond them: a reflection of
        // another aspect than the picture's puts the edges elsewhere.
        for (float side : {-1.0f, 1.0f}) {
            const glm::vec3 sand = at(glm::vec3(side * 5.8f, kWaterHeight, 41));
            const glm::vec3 sky = at(glm::vec3(side * 11.4f, kWaterHeight, 41));
            EXPECT_GT(sand.r - sand.b, sky.r - sky.b + 0.08f) << "side " << side;
        }
    }
}

// Targets the context cannot hold shrink to the largest it can, keeping
// their aspect: a 6000 x 600 window asks for an 18000 x 1800 shadow map.
TEST_P(SceneRender, TargetsTooLargeForTheContextShrinkKeepingTheirAspect) {
    const int largest = std::min(support::integerState(GL_MAX_TEXTURE_SIZE),
                                 support::integerState(GL_MAX_RENDERBUFFER_SIZE));
    ShadowMap shadowMap(glm::vec3(0, 140, 100), scene.baseProgram.get(), 6000, 600);
    ReflectionMap reflectionMap(scene.baseProgram.get(), 20000, 200);
    for (const auto& [width, height, aspect] :
         {std::tuple{shadowMap.targetWidth(), shadowMap.targetHeight(), 10},
          {reflectionMap.targetWidth(), reflectionMap.targetHeight(), 100}}) {
        EXPECT_TRUE(width <= largest && width >= largest - 1) << width;
        EXPECT_EQ(height, width / aspect);
    }
    for (GLuint framebuffer : {shadowMap.getFramebuffer(), reflectionMap.getFramebuffer()}) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum{GL_FRAMEBUFFER_COMPLETE});
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    shadowMap.beginPass();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_TRUE(viewport[2] == shadowMap.targetWidth() && viewport[3] == shadowMap.targetHeight());
    shadowMap.endPass();
    EXPECT_TRUE(support::takeGLErrors().empty());
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
          << " bound " << get(GL_FRAMEBUFFER_BINDING) << get(GL_CURRENT_PROGRAM) << " unit "
          << get(GL_ACTIVE_TEXTURE) - GL_TEXTURE0 << " ";
    // No render target stays bound where the next frame's passes could sample it.
    for (GLenum unit : {GL_TEXTURE2, GL_TEXTURE3, GL_TEXTURE0}) {
        glActiveTexture(unit);
        state << get(GL_TEXTURE_BINDING_2D);
    }
    // The shadow map three times the window in depth 24, with the size of a
    // texel handed to the program; the reflection the window's size; both
    // clamped at their edges.
    for (GLuint texture :
         {scene.shadowMap->getDepthTexture(), scene.reflectionMap->getColorTexture()}) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint w = 0, h = 0, format = 0, wrap = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
        state << " | " << w << "x" << h << " " << format << " " << wrap;
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    const GLuint base = scene.baseProgram->getProgramId();
    GLfloat texel[2] = {};
    glGetUniformfv(base, glGetUniformLocation(base, "shadow_texel_size"), texel);
    EXPECT_TRUE(texel[0] == 1.0f / 2400.0f && texel[1] == 1.0f / 1800.0f);
    GLint depthBits = 0;
    glBindFramebuffer(GL_FRAMEBUFFER, scene.reflectionMap->getFramebuffer());
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &attached);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depthBits);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    state << " depth " << attached << " " << depthBits << " modes " << scene.tree->getMode()
          << scene.cliff->getMode() << scene.water->getMode() << scene.skybox->getMode()
          << scene.lightSphere->getMode();
    const std::string clamp = GetParam().major >= 3 ? "33071" : "10496";  // GL_CLAMP where it is
    // A depth buffer in the reflection, so the nearer of two reflections wins.
    EXPECT_EQ(state.str(),
              "800x600 offset 1.1 2.5 0 cull 1029 bound 00 unit 0 000 | 2400x1800 33190 " + clamp +
                  " | 800x600 6408 " + clamp + " depth 36161 24 modes 35200");
    EXPECT_TRUE(support::takeGLErrors().empty());
}

// The map is drawn again after each change of what it is drawn from, and only
// then: a map filled with depth 0 survives a frame that changes nothing.
TEST_P(SceneRender, TheShadowMapIsRedrawnExactlyWhenWhatItShowsChanged) {
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"nothing", [] {}},
        {"light", [] { lightPosition.x += 0.5f; }},
        {"polygon offset", [] { polyoffset += 0.1f; }},
        {"polygon mode", [] { polygonModeToggle = 1 - polygonModeToggle; }},
        {"tree", [&] { scene.tree->translate(glm::vec3(0.01f, 0, 0)); }},
        {"cliff", [&] { scene.cliff->rotate(0.1f, glm::vec3(0, 1, 0)); }},
        {"map size", [&] {
             scene.shadowMap =
                 std::make_unique<ShadowMap>(lightPosition, scene.baseProgram.get(), 400, 300);
             fill(scene.shadowMap->getFramebuffer(), GL_DEPTH_BUFFER_BIT);
         }}};
    for (const auto& [what, change] : changes) {
        frame(kSide, kSideCentre);
        fill(scene.shadowMap->getFramebuffer(), GL_DEPTH_BUFFER_BIT);
        change();
        frame(kSide, kSideCentre);
        float depth = -1.0f;  // the middle of the map: the island's top, under the light
        glBindFramebuffer(GL_FRAMEBUFFER, scene.shadowMap->getFramebuffer());
        glReadPixels(scene.shadowMap->targetWidth() / 2, scene.shadowMap->targetHeight() / 2, 1, 1,
                     GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        EXPECT_EQ(depth > 0.0f && depth < 1.0f, std::string(what) != "nothing")
            << what << " " << depth;
    }
    EXPECT_TRUE(support::takeGLErrors().empty());
}

INSTANTIATE_TEST_SUITE_P(Contexts, SceneRender, support::kBothContexts, support::contextName);
