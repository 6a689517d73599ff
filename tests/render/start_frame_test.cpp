// The generated scene of the run directory, as the demo shows it: the start
// frame's composition by colour class, the same look from the GLSL 1.20 and
// the GLSL 3.30 shaders, and the scene without its tree model.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <glm/gtc/matrix_transform.hpp>

#include "app/frame_composition.h"
#include "app/scene_setup.h"
#include "camera/camera.h"
#include "gl_test_context.h"
#include "platform/gl.h"
#include "platform/scripted_input.h"
#include "platform/window.h"
#include "render/scene_object.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Colour classes of the generated scene's textures as lit in the start view.
bool isWater(glm::vec3 c) { return c.b > c.r + 0.12f && c.b > c.g - 0.02f; }
bool isGrass(glm::vec3 c) { return c.g > c.r + 0.05f && c.g > c.b + 0.1f; }

// Share of the pixels of a window rectangle (fractions of the window,
// bottom-up) that `predicate` accepts.
double share(const gltest::Image& image, float left, float bottom, float right, float top,
             const std::function<bool(glm::vec3)>& predicate) {
    int accepted = 0, total = 0;
    for (int y = static_cast<int>(bottom * image.height); y < static_cast<int>(top * image.height);
         y += 2) {
        for (int x = static_cast<int>(left * image.width); x < static_cast<int>(right * image.width);
             x += 2) {
            ++total;
            if (predicate(image.at(x, y))) ++accepted;
        }
    }
    return total == 0 ? 0.0 : static_cast<double>(accepted) / total;
}

class GeneratedScene : public ::testing::Test {
protected:
    void SetUp() override {
        scratch = std::make_unique<gltest::ScratchDirectory>("generated");
        if (!scratch->copyRunAssetLinks()) GTEST_SKIP() << "the build generated no Models/ and Sprites/";
        input.setTime(1.0);
        platform::setInputSource(&input);
    }
    void TearDown() override {
        scene.reset();
        gltest::closeContext();
        platform::setInputSource(nullptr);
        scratch.reset();
    }

    // The start frame on a fresh context: the camera's start view.
    gltest::Image startFrame(const gltest::ContextRequest& request, const std::string& shotName) {
        scene.reset();
        gltest::closeContext();
        EXPECT_TRUE(gltest::openContext(request));
        scene = std::make_unique<Scene>();
        EXPECT_TRUE(setUpScene(*scene));
        renderFrame(*scene, camera.update());
        EXPECT_TRUE(gltest::takeGLErrors().empty());
        gltest::Image image = gltest::readPixels(0, 0, kWidth, kHeight);
        gltest::saveShot(image, shotName);
        return image;
    }

    std::unique_ptr<gltest::ScratchDirectory> scratch;
    platform::ScriptedInput input;
    std::unique_ptr<Scene> scene;
};

TEST_F(GeneratedScene, StartFrameShowsWaterBeyondTheIslandAndTheTreeNearTheCentre) {
    const gltest::Image image = startFrame(gltest::compatibilityContext(), "start-frame");
    // The island's grass fills the lower part, the water the band above it.
    EXPECT_GT(share(image, 0.0f, 0.0f, 1.0f, 0.3f, isGrass), 0.8);
    EXPECT_GT(share(image, 0.0f, 0.85f, 0.2f, 1.0f, isWater), 0.8);
    EXPECT_GT(share(image, 0.8f, 0.85f, 1.0f, 1.0f, isWater), 0.8);
    // The tree stands out against the water near the middle, not at the sides.
    const auto notWater = [](glm::vec3 c) { return !isWater(c); };
    EXPECT_GT(share(image, 0.4f, 0.75f, 0.6f, 0.95f, notWater), 0.3);
    EXPECT_LT(share(image, 0.0f, 0.75f, 0.25f, 0.95f, notWater), 0.05);
    EXPECT_LT(share(image, 0.75f, 0.75f, 1.0f, 0.95f, notWater), 0.05);
}

TEST_F(GeneratedScene, BothShaderVersionsGiveTheSameStartFrame) {
    const gltest::Image compatibility = startFrame(gltest::compatibilityContext(), "start-120");
    const gltest::Image core = startFrame(gltest::coreContext(), "start-330");
    int different = 0;
    for (size_t i = 0; i < compatibility.rgba.size(); ++i) {
        if (std::abs(compatibility.rgba[i] - core.rgba[i]) > 3) ++different;
    }
    EXPECT_LT(different, static_cast<int>(compatibility.rgba.size() / 1000));
}

TEST_F(GeneratedScene, WithoutTheTreeModelTheOtherFourStillDraw) {
    scratch->removeFile("Models/tree2.obj");
    const gltest::Image image = startFrame(gltest::compatibilityContext(), "no-tree");
    EXPECT_EQ(scene->tree->mesh.model.faceCount, 0);
    EXPECT_GT(share(image, 0.0f, 0.0f, 1.0f, 0.3f, isGrass), 0.8);
    EXPECT_GT(share(image, 0.0f, 0.85f, 1.0f, 1.0f, isWater), 0.8) << "no tree above the island";
    camera.setPitch(-20.0f);  // the sky box and the light sphere's side of the world
    renderFrame(*scene, camera.update());
    const gltest::Image up = gltest::readPixels(0, 0, kWidth, kHeight);
    gltest::saveShot(up, "no-tree-up");
    EXPECT_LT(share(up, 0.0f, 0.6f, 1.0f, 1.0f, [](glm::vec3 c) { return glm::length(c) < 0.02f; }),
              0.001)
        << "the sky box covers the background";
    EXPECT_TRUE(gltest::takeGLErrors().empty());
}

}  // namespace
