// Whole frames of the stand-in scene on both contexts: a shadow that follows
// the light and no acne, the light's frustum, the water's reflection and
// glint, a resized or minimised window, targets too large for the context,
// the state a frame leaves, and when the shadow map is drawn again.
#include <functional>
#include <sstream>
#include <tuple>

#include "camera/camera.h"
#include "frame/frame_composition.h"
#include "render/reflection_map.h"
#include "render/scene_object.h"
#include "render/shadow_map.h"
#include "scene/scene_files.h"
#include "scene/scene_placements.h"
#include "scene/scene_setup.h"
#include "scene/stand_in_scene.h"
#include "state/globals.h"

namespace {

float luminance(glm::vec3 c) { return glm::dot(c, glm::vec3(0.299f, 0.587f, 0.114f)); }

// From +x, so that the ground behind the column (away from the light at
// (0, 140, 100)) is in view.
const glm::vec3 kSide(60, 60, -4), kSideCentre(0, 0, -4);

class SceneRender : public support::StandInSceneTest {
  protected:
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
    // The side view with the column lifted far out of the light's view, so
    // that nothing casts a shadow; the column is then put back.
    support::Image sideViewWithoutShadow() {
        scene.tree->translate(glm::vec3(0, 1000, 0));
        frame(kSide, kSideCentre);
        scene.tree->translate(glm::vec3(0, -1000, 0));
        return image;
    }
    // Fills a render target with depth 0 or with red.
    static void fill(GLuint framebuffer, GLbitfield buffer) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glClearDepth(0.0), glClearColor(1, 0, 0, 1), glClear(buffer);
        glClearDepth(1.0), glClearColor(0, 0, 0, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    glm::mat4 view{1.0f};
    support::Image image;
};

}  // namespace

TEST_P(SceneRender, TheColumnsShadowFollowsTheLight) {
    const support::Image lit = sideViewWithoutShadow();
    frame(kSide, kSideCentre);
    const support::Image shadowed = image;
    for (glm::vec3 p : {glm::vec3(0, 0, -5), glm::vec3(0, 0, -8), glm::vec3(0.5f, 0, -1.3f)})
        EXPECT_LT(light(p, &shadowed), 0.75f * light(p, &lit)) << "no shadow at z " << p.z;
    lightPosition = glm::vec3(0, 140, -100);  // the shadow now falls towards +z
    frame(kSide, kSideCentre);
    EXPECT_LT(light(glm::vec3(0, 0, 5)), 0.75f * light(glm::vec3(0, 0, 5), &shadowed));
    EXPECT_EQ(glm::vec3(scene.lightSphere->getModelMatrix()[3]), lightPosition);
}

// Away from the column's shadow the island is lit as if nothing cast one:
// no acne.
TEST_P(SceneRender, AwayFromTheShadowTheIslandIsLitEvenly) {
    const support::Image lit = sideViewWithoutShadow();
    frame(kSide, kSideCentre);
    float brightest = 0.0f, darkest = 1.0f;
    for (int i = 0; i < 21; ++i) {
        const glm::vec3 p(-9.0f + 3 * (i % 7), 0, i < 7 ? -10.5f : i < 14 ? 4.0f : 8.0f);
        EXPECT_NEAR(light(p), light(p, &lit), 2.0f / 255.0f);
        brightest = std::max(brightest, light(p, &lit)),
        darkest = std::min(darkest, light(p, &lit));
    }
    EXPECT_LT(brightest - darkest, 0.08f) << "the lit island is patchy";
}

// A shadow map that occludes all it covers darkens the island but not the far
// water, outside the light's frustum.
TEST_P(SceneRender, OnlyWhatTheLightsViewCoversIsShadowed) {
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
// in its shading mode with specular and not in the one without.
const glm::vec3 kTowardsTheLight(0, 30, -80), kGlint(0, kWaterHeight, -40);

TEST_P(SceneRender, TheWaterGlintsWhereItMirrorsTheLight) {
    frame(kTowardsTheLight, kGlint);
    const float bright = light(kGlint);
    scene.water->setMode(5);
    frame(kTowardsTheLight, kGlint);
    EXPECT_GT(bright, light(kGlint) + 0.2f);
}

// A shadow over the water darkens its body but leaves the glint.
TEST_P(SceneRender, AShadowDimsOnlyTheWatersBody) {
    const auto shadowed = [&] { fill(scene.shadowMap->getFramebuffer(), GL_DEPTH_BUFFER_BIT); };
    frame(kTowardsTheLight, kGlint);
    const float bright = light(kGlint);
    scene.water->setMode(5);
    frame(kTowardsTheLight, kGlint);
    const float dull = light(kGlint);
    frame(kTowardsTheLight, kGlint, shadowed);
    EXPECT_LT(light(kGlint), dull - 0.02f);
    scene.water->setMode(6);
    frame(kTowardsTheLight, kGlint, shadowed);
    EXPECT_NEAR(light(kGlint), bright, 2.0f / 255.0f);
}

bool isMagenta(glm::vec3 c) { return c.r > 0.9f && c.g < 0.1f && c.b > 0.9f; }

// Whatever a frame leaves magenta, it did not draw.
TEST_P(SceneRender, ThePictureFillsTheWindowAtEverySize) {
    const glm::vec3 low(0, 5, 120), lowCentre(0, -8, 0);
    for (const auto& [width, height] : {std::pair{1000, 500}, {1, 1}, {300, 600}, {800, 600}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        scope.input.measureWindowFramebuffer();
        ASSERT_TRUE(support::resizeWindow(width, height)) << "the window never took this size";
        glClearColor(1, 0, 1, 1), glClear(GL_COLOR_BUFFER_BIT), glClearColor(0, 0, 0, 0);
        view = glm::lookAt(low, lowCentre, glm::vec3(0, 1, 0));
        renderFrame(scene, view);
        EXPECT_TRUE(support::takeGLErrors().empty());
        image = support::readPixels(width, height);
        for (const auto& [x, y] :
             {std::pair{0, 0}, {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}})
            EXPECT_FALSE(isMagenta(image.at(x, y))) << "corner " << x << "," << y;
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

// 0 x 0 stands for a minimised window, which then comes back at its size.
TEST_P(SceneRender, NothingIsDrawnWhileMinimised) {
    const glm::mat4 low =
        glm::lookAt(glm::vec3(0, 5, 120), glm::vec3(0, -8, 0), glm::vec3(0, 1, 0));
    for (const bool minimised : {true, false}) {
        if (minimised)
            scope.input.fakeFramebufferSize(0, 0);
        else
            scope.input.measureWindowFramebuffer();
        glClearColor(1, 0, 1, 1), glClear(GL_COLOR_BUFFER_BIT), glClearColor(0, 0, 0, 0);
        renderFrame(scene, low);
        EXPECT_TRUE(support::takeGLErrors().empty());
        EXPECT_EQ(isMagenta(support::readPixels(1, 1).at(0, 0)), minimised);
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

// The map is drawn again when what it is drawn from changed, and only then: a
// map filled with depth 0 survives a frame that changes nothing. (Which
// changes count is the inputs' own test.)
TEST_P(SceneRender, TheShadowMapIsRedrawnOnlyWhenItsInputsChanged) {
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"nothing", [] {}}, {"light", [] { lightPosition.x += 0.5f; }}};
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
