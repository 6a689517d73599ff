// The whole frame on the stand-in scene, read back from the window: shadows,
// the water's reflection, the sky box, the state a frame leaves behind, the
// modes that survive the passes, a missing model, and frames without a single
// GL error on both contexts.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <utility>

#include <glm/gtc/matrix_transform.hpp>

#include "app/app_config.h"
#include "app/frame_composition.h"
#include "app/globals.h"
#include "app/scene_setup.h"
#include "camera/camera.h"
#include "gl_test_context.h"
#include "platform/gl.h"
#include "platform/scripted_input.h"
#include "platform/window.h"
#include "render/scene_object.h"
#include "test_scene.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

float luminance(glm::vec3 colour) { return glm::dot(colour, glm::vec3(0.299f, 0.587f, 0.114f)); }

GLint integerState(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

GLint textureOnUnit(GLenum unit) {
    GLint active = integerState(GL_ACTIVE_TEXTURE);
    glActiveTexture(unit);
    GLint texture = integerState(GL_TEXTURE_BINDING_2D);
    glActiveTexture(static_cast<GLenum>(active));
    return texture;
}

class SceneRender : public ::testing::TestWithParam<gltest::ContextRequest> {
protected:
    void SetUp() override {
        scratch = std::make_unique<gltest::ScratchDirectory>("scene");
        testscene::writeTestScene(scratch->path());
        input.setTime(2.0);
        platform::setInputSource(&input);
    }
    void TearDown() override {
        scene.reset();
        gltest::closeContext();
        platform::setInputSource(nullptr);
        scratch.reset();
    }

    // Opens the context and builds the scene from the files now present.
    void buildScene() {
        ASSERT_TRUE(gltest::openContext(GetParam()));
        scene = std::make_unique<Scene>();
        ASSERT_TRUE(setUpScene(*scene));
        gltest::takeGLErrors();
    }

    gltest::Image frame(const glm::mat4& view) {
        renderFrame(*scene, view);
        return shot();
    }

    // The window as it is now, saved under the test's name for inspection.
    gltest::Image shot() {
        gltest::Image image = gltest::readPixels(0, 0, kWidth, kHeight);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->name()) + "-" + std::to_string(++shotCount);
        for (char& c : name) c = (c == '/') ? '_' : c;
        gltest::saveShot(image, name);
        return image;
    }

    glm::vec3 colourAt(const gltest::Image& image, glm::vec3 world, const glm::mat4& view) const {
        const glm::vec2 pixel =
            testscene::projectToWindow(world, view, scene->projection, kWidth, kHeight);
        EXPECT_TRUE(pixel.x >= 0 && pixel.x < kWidth && pixel.y >= 0 && pixel.y < kHeight)
            << "point off screen";
        return image.at(static_cast<int>(pixel.x), static_cast<int>(pixel.y));
    }

    // The shadow pass with only the island in it.
    void shadowPassWithoutTree() {
        ShadowMap& shadowMap = *scene->shadowMap;
        const glm::mat4 projection = shadowMap.getProjection();
        const glm::mat4 view = shadowMap.update(lightPosition);
        shadowMap.beginPass();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glCullFace(GL_FRONT);
        const int mode = scene->cliff->getMode();
        scene->cliff->setMode(kModeShadowPass);
        scene->cliff->draw(view, projection, *scene->baseProgram);
        scene->cliff->setMode(mode);
        shadowMap.bindForLookup(lightPosition);
        shadowMap.endPass();
    }

    std::unique_ptr<gltest::ScratchDirectory> scratch;
    platform::ScriptedInput input;
    std::unique_ptr<Scene> scene;
    int shotCount = 0;
};

// Looking at the island from the +x side, so that the ground behind the
// column (away from the light) is in view.
glm::mat4 sideView() {
    return glm::lookAt(glm::vec3(60, 60, -4), glm::vec3(0, 0, -4), glm::vec3(0, 1, 0));
}

bool isClearColour(glm::vec3 c) { return c.r > 0.9f && c.g < 0.1f && c.b > 0.9f; }

// Resizes the window and waits until the platform reports the new size and
// GL clears a back buffer that has it (its far corner reads back magenta).
bool resizeWindow(int width, int height) {
    platform::glfwSetWindowSize(width, height);
    glClearColor(1, 0, 1, 1);
    bool resized = false;
    for (int attempt = 0; attempt < 500 && !resized; ++attempt) {
        platform::glfwSwapBuffers();  // lets the window system's answer in
        int framebufferWidth = 0, framebufferHeight = 0;
        platform::getFramebufferSize(&framebufferWidth, &framebufferHeight);
        glClear(GL_COLOR_BUFFER_BIT);
        resized = framebufferWidth == width && framebufferHeight == height &&
                  isClearColour(gltest::readPixels(width - 1, height - 1, 1, 1).at(0, 0));
        if (!resized) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    glClearColor(0, 0, 0, 0);
    return resized;
}

// Low over the water in front of the island.
glm::mat4 lowView() {
    return glm::lookAt(glm::vec3(0, 5, 120), glm::vec3(0, -8, 0), glm::vec3(0, 1, 0));
}

TEST_P(SceneRender, ColumnShadowDarkensIslandThatIsLitWithoutItInTheShadowPass) {
    buildScene();
    const glm::mat4 view = sideView();
    const gltest::Image withColumn = frame(view);

    shadowPassWithoutTree();
    renderReflectionPass(*scene, view);
    renderMainPass(*scene, view);
    finishFrame(*scene);
    const gltest::Image withoutColumn = shot();

    // The light at (0, 140, 100) throws the column's shadow towards -z.
    for (glm::vec3 shadowed : {glm::vec3(0, 0, -5), glm::vec3(0, 0, -8),
                               glm::vec3(0.5f, 0, -1.3f)}) {  // the last one at the foot
        const float lit = luminance(colourAt(withoutColumn, shadowed, view));
        const float dark = luminance(colourAt(withColumn, shadowed, view));
        EXPECT_LT(dark, 0.75f * lit) << "no shadow at z = " << shadowed.z;
    }
    // Away from the shadow the island is lit evenly: no acne, and nothing else changes.
    float brightest = 0.0f, darkest = 1.0f;
    for (float x = -9.0f; x <= 9.0f; x += 3.0f) {
        for (float z : {-10.5f, 4.0f, 8.0f}) {
            const glm::vec3 point(x, 0, z);
            const float value = luminance(colourAt(withColumn, point, view));
            EXPECT_NEAR(value, luminance(colourAt(withoutColumn, point, view)), 2.0f / 255.0f);
            brightest = std::max(brightest, value);
            darkest = std::min(darkest, value);
        }
    }
    EXPECT_LT(brightest - darkest, 0.08f) << "lit island is patchy";
}

TEST_P(SceneRender, MovingTheLightMovesTheShadow) {
    buildScene();
    const glm::mat4 view = sideView();
    const gltest::Image before = frame(view);
    lightPosition = glm::vec3(0, 140, -100);  // now the shadow falls towards +z
    const gltest::Image after = frame(view);
    const glm::vec3 behindBefore(0, 0, -5), behindAfter(0, 0, 5);
    EXPECT_LT(luminance(colourAt(before, behindBefore, view)),
              0.75f * luminance(colourAt(after, behindBefore, view)));
    EXPECT_LT(luminance(colourAt(after, behindAfter, view)),
              0.75f * luminance(colourAt(before, behindAfter, view)));
    // The light sphere follows the light in the same frame.
    EXPECT_EQ(glm::vec3(scene->lightSphere->getModelMatrix()[3]), lightPosition);
}

TEST_P(SceneRender, WhatLiesOutsideTheLightFrustumIsLit) {
    buildScene();
    const glm::mat4 view =
        glm::lookAt(glm::vec3(150, 150, -40), glm::vec3(0, -7, -37), glm::vec3(0, 1, 0));
    const gltest::Image normal = frame(view);
    // The same frame with a shadow map that occludes everything it covers.
    renderShadowPass(*scene);
    glBindFramebuffer(GL_FRAMEBUFFER, scene->shadowMap->getFramebuffer());
    glViewport(0, 0, 3 * kWidth, 3 * kHeight);
    glClearDepth(0.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    renderReflectionPass(*scene, view);
    renderMainPass(*scene, view);
    finishFrame(*scene);
    const gltest::Image occluded = shot();
    // The island lies inside the light's frustum, the far water outside it.
    const glm::vec3 inside(0, 0, 5), outside(0, testscene::kWaterHeight, -80);
    EXPECT_LT(luminance(colourAt(occluded, inside, view)),
              0.75f * luminance(colourAt(normal, inside, view)));
    EXPECT_NEAR(luminance(colourAt(occluded, outside, view)),
                luminance(colourAt(normal, outside, view)), 2.0f / 255.0f);
}

TEST_P(SceneRender, WaterShowsWhatTheReflectionMapHolds) {
    buildScene();
    const glm::mat4 view = lowView();
    const gltest::Image mirrored = frame(view);
    // Just in front of the island the water mirrors its sand-coloured face;
    // further aside it mirrors the sky.
    const glm::vec3 beforeIsland(0, testscene::kWaterHeight, 16);
    const glm::vec3 aside(-15, testscene::kWaterHeight, 40);
    const glm::vec3 mirroredSand = colourAt(mirrored, beforeIsland, view);
    const glm::vec3 mirroredSky = colourAt(mirrored, aside, view);
    EXPECT_GT(mirroredSand.r - mirroredSand.b, mirroredSky.r - mirroredSky.b + 0.08f);

    // The same frame with the reflection map painted red.
    renderShadowPass(*scene);
    renderReflectionPass(*scene, view);
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    glBindFramebuffer(GL_FRAMEBUFFER, scene->reflectionMap->getFramebuffer());
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    renderMainPass(*scene, view);
    finishFrame(*scene);
    const gltest::Image red = shot();
    EXPECT_GT(colourAt(red, aside, view).r, mirroredSky.r + 0.15f);
    EXPECT_GT(colourAt(red, beforeIsland, view).r, mirroredSand.r + 0.1f);
    // The island is opaque: it shows no reflection, whatever it holds.
    const glm::vec3 islandFace(0, -5, 12);
    EXPECT_NEAR(colourAt(red, islandFace, view).r, colourAt(mirrored, islandFace, view).r,
                1.0f / 255.0f);
}

TEST_P(SceneRender, PictureFillsTheWindowAtEverySizeAndAfterMinimising) {
    buildScene();
    // 0 x 0 stands for a minimised window; the window then comes back at its size.
    for (const auto& [width, height] :
         {std::pair{1000, 500}, {1, 1}, {300, 600}, {0, 0}, {300, 600}, {800, 600}}) {
        if (width == 0) {
            input.fakeFramebufferSize(0, 0);
        } else {
            input.measureWindowFramebuffer();
            ASSERT_TRUE(resizeWindow(width, height))
                << "window never became " << width << "x" << height;
        }
        glClearColor(1, 0, 1, 1);  // what the frame leaves magenta, it did not draw
        glClear(GL_COLOR_BUFFER_BIT);
        renderFrame(*scene, lowView());
        EXPECT_TRUE(gltest::takeGLErrors().empty()) << width << "x" << height;
        if (width == 0) {
            EXPECT_TRUE(isClearColour(gltest::readPixels(0, 0, 1, 1).at(0, 0)))
                << "drawn while minimised";
            continue;
        }
        const gltest::Image image = gltest::readPixels(0, 0, width, height);
        for (const auto& [x, y] :
             {std::pair{0, 0}, {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}}) {
            EXPECT_FALSE(isClearColour(image.at(x, y)))
                << width << "x" << height << " at " << x << "," << y;
        }
        EXPECT_NEAR(scene->projection[1][1] / scene->projection[0][0],
                    static_cast<float>(width) / static_cast<float>(height), 1e-4f);
        EXPECT_EQ(scene->reflectionMap->targetWidth(), width);
        EXPECT_EQ(scene->reflectionMap->targetHeight(), height);
        EXPECT_EQ(scene->shadowMap->targetWidth(), 2400) << "the shadow map keeps its size";
    }
    glClearColor(0, 0, 0, 0);
}

TEST_P(SceneRender, ReflectionLinesUpWithTheIslandAfterAResize) {
    buildScene();
    ASSERT_TRUE(resizeWindow(1000, 500)) << "window never became 1000x500";
    const glm::mat4 view = lowView();
    renderFrame(*scene, view);
    const gltest::Image image = gltest::readPixels(0, 0, 1000, 500);
    const auto colourAtPoint = [&](glm::vec3 world) {
        const glm::vec2 pixel =
            testscene::projectToWindow(world, view, scene->projection, 1000, 500);
        return image.at(static_cast<int>(pixel.x), static_cast<int>(pixel.y));
    };
    // Water that mirrors the island's sand-coloured face two thirds of the way
    // to its side edges (x = +-12), and the sky a third beyond them: a
    // reflection of another aspect than the picture's puts the edges elsewhere.
    for (float side : {-1.0f, 1.0f}) {
        const glm::vec3 sand = colourAtPoint(glm::vec3(side * 5.8f, testscene::kWaterHeight, 41));
        const glm::vec3 sky = colourAtPoint(glm::vec3(side * 11.4f, testscene::kWaterHeight, 41));
        EXPECT_GT(sand.r - sand.b, sky.r - sky.b + 0.08f) << "side " << side;
    }
}

TEST_P(SceneRender, ShinyIslandIsNoMirror) {
    buildScene();
    scene->cliff->setMode(6);
    const glm::mat4 view = lowView();
    const gltest::Image normal = frame(view);
    renderShadowPass(*scene);
    renderReflectionPass(*scene, view);
    glBindFramebuffer(GL_FRAMEBUFFER, scene->reflectionMap->getFramebuffer());
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    renderMainPass(*scene, view);
    finishFrame(*scene);
    const gltest::Image red = shot();
    for (glm::vec3 point : {glm::vec3(0, -5, 12), glm::vec3(5, -2, 12), glm::vec3(-6, 0, 6)}) {
        EXPECT_NEAR(colourAt(red, point, view).r, colourAt(normal, point, view).r, 1.0f / 255.0f);
    }
}

TEST_P(SceneRender, SkyBoxCoversTheBackgroundWhenLookingUp) {
    buildScene();
    camera.setPitch(-25.0f);
    const glm::mat4 view = camera.update();
    glClearColor(1, 0, 1, 1);
    const gltest::Image image = frame(view);
    glClearColor(0, 0, 0, 0);
    int background = 0;
    for (int y = 0; y < kHeight; y += 4) {
        for (int x = 0; x < kWidth; x += 4) {
            const glm::vec3 colour = image.at(x, y);
            if (colour.r > 0.9f && colour.g < 0.1f && colour.b > 0.9f) ++background;
        }
    }
    EXPECT_EQ(background, 0);
    const glm::vec3 top = image.at(kWidth / 2, kHeight - 2);
    const glm::vec3 sky = glm::vec3(testscene::kSkyColour) / 255.0f;
    EXPECT_LT(glm::length(top - sky), 0.03f) << "sky box is drawn as its texture";
}

TEST_P(SceneRender, FrameLeavesTheStateItDescribes) {
    buildScene();
    polyoffset = 2.5f;
    scene->water->setMode(2);
    frame(camera.update());
    EXPECT_EQ(integerState(GL_FRAMEBUFFER_BINDING), 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], kWidth);
    EXPECT_EQ(viewport[3], kHeight);
    EXPECT_EQ(integerState(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_LINE));
    GLfloat factor = 0, units = 0;
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &factor);
    glGetFloatv(GL_POLYGON_OFFSET_UNITS, &units);
    EXPECT_FLOAT_EQ(factor, 1.1f);
    EXPECT_FLOAT_EQ(units, 2.5f);
    EXPECT_EQ(integerState(GL_CURRENT_PROGRAM), 0);
    // No render target stays bound where the next frame's passes could sample it.
    EXPECT_EQ(textureOnUnit(GL_TEXTURE2), 0);
    EXPECT_EQ(textureOnUnit(GL_TEXTURE3), 0);
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(scene->tree->getMode(), 3);
    EXPECT_EQ(scene->cliff->getMode(), 5);
    EXPECT_EQ(scene->water->getMode(), 2);
    EXPECT_EQ(scene->skybox->getMode(), 0);
    EXPECT_EQ(scene->lightSphere->getMode(), 0);
    EXPECT_TRUE(gltest::takeGLErrors().empty());
}

TEST_P(SceneRender, MissingTreeModelLeavesTheOtherFourDrawing) {
    scratch->removeFile("Models/tree2.obj");
    buildScene();
    EXPECT_EQ(scene->tree->mesh.model.faceCount, 0);
    const glm::mat4 view = sideView();
    const gltest::Image image = frame(view);
    EXPECT_TRUE(gltest::takeGLErrors().empty());
    const glm::vec3 sand = glm::vec3(testscene::kSandColour) / 255.0f;
    // Where the column stood, and where its shadow fell, the island is lit sand.
    for (glm::vec3 point : {glm::vec3(0, 0, 0), glm::vec3(0, 0, -5), glm::vec3(6, 0, 6)}) {
        const glm::vec3 colour = colourAt(image, point, view);
        EXPECT_GT(colour.r, colour.b + 0.1f);
        EXPECT_GT(luminance(colour), 0.8f * luminance(sand));
    }
    const glm::vec3 water = colourAt(image, glm::vec3(0, testscene::kWaterHeight, -22), view);
    EXPECT_GT(water.b, water.r + 0.1f);
    camera.setPitch(-25.0f);
    const gltest::Image up = frame(camera.update());
    const glm::vec3 sky = glm::vec3(testscene::kSkyColour) / 255.0f;
    EXPECT_LT(glm::length(up.at(kWidth / 2, kHeight - 2) - sky), 0.03f);
}

TEST_P(SceneRender, ThreeHundredFramesRaiseNoGLError) {
    buildScene();
    for (int frameNumber = 0; frameNumber < 300; ++frameNumber) {
        input.setTime(frameNumber / 60.0);
        camera.setYaw(frameNumber * 0.5f);
        lightPosition = glm::vec3(40.0f * std::sin(frameNumber * 0.05f), 140.0f, 100.0f);
        // Every mode on both user-changeable objects, wireframe now and then.
        scene->cliff->setMode(frameNumber % kUserModeCount);
        scene->water->setMode((frameNumber / 7) % kUserModeCount);
        glPolygonMode(GL_FRONT_AND_BACK, frameNumber % 50 < 5 ? GL_LINE : GL_FILL);
        renderFrame(*scene, camera.update());
        platform::glfwSwapBuffers();
        const std::vector<unsigned int> errors = gltest::takeGLErrors();
        ASSERT_TRUE(errors.empty()) << "frame " << frameNumber << ": error 0x" << std::hex
                                    << errors.front();
    }
}

INSTANTIATE_TEST_SUITE_P(Contexts, SceneRender,
                         ::testing::Values(gltest::compatibilityContext(), gltest::coreContext()),
                         [](const auto& info) { return gltest::contextName(info.param); });

}  // namespace
