// The generated scene as the demo shows it: the start frame by colour class,
// alike from the GLSL 1.20 and 3.30 shaders, frames in every mode without an
// OpenGL error, and the scene without its tree model.

#include <cstdio>
#include <functional>

#include "camera/camera.h"
#include "frame/frame_composition.h"
#include "gl_test_support.h"
#include "platform/gl_context.h"
#include "render/scene_object.h"
#include "scene/scene_setup.h"
#include "state/globals.h"

namespace {

bool isWater(glm::vec3 c) { return c.b > c.r + 0.12f && c.b > c.g - 0.02f; }
bool isGrass(glm::vec3 c) { return c.g > c.r + 0.05f && c.g > c.b + 0.1f; }

// The share of a window rectangle (left, bottom, right, top: fractions of the
// window) that `accept` accepts.
double share(const support::Image& image, float x0, float y0, float x1, float y1,
             const std::function<bool(glm::vec3)>& accept) {
    int accepted = 0, total = 0;
    for (int y = static_cast<int>(y0 * 600); y < y1 * 600; y += 2)
        for (int x = static_cast<int>(x0 * 800); x < x1 * 800; x += 2)
            ++total, accepted += accept(image.at(x, y));
    return total == 0 ? 0.0 : static_cast<double>(accepted) / total;
}

class GeneratedScene : public testing::Test {
  protected:
    void TearDown() override { scene.reset(), support::closeContext(); }
    // The start frame on a fresh context: the camera's start view, into
    // `image` if given. Without a context or a scene it fails, saying why,
    // and the caller's ASSERT ends the test there.
    testing::AssertionResult startFrame(const support::ContextRequest& request,
                                        support::Image* image = nullptr) {
        scene.reset();  // its programs and targets go while their context lives
        support::closeContext();
        scene = std::make_unique<Scene>();
        const testing::AssertionResult open = support::openContext(request);
        if (!open) return open;
        bool setUp = false;
        support::printedBy([&] { setUp = setUpScene(*scene); });
        if (!setUp) return testing::AssertionFailure() << "no scene on " << request.name;
        renderFrame(*scene, camera.update());
        EXPECT_TRUE(support::takeGLErrors().empty());
        if (image != nullptr) *image = support::readPixels();
        return testing::AssertionSuccess();
    }

    support::ScratchDirectory scratch{true};
    support::ScriptedInputScope scope;
    std::unique_ptr<Scene> scene;
};

auto notWater = [](glm::vec3 c) { return !isWater(c); };

}  // namespace

TEST_F(GeneratedScene, StartFrameShowsTheIslandTheWaterAndTheTreeAlikeFromBothShaderVersions) {
    support::Image image, core;
    ASSERT_TRUE(startFrame(support::kCompatibility, &image));
    EXPECT_GT(share(image, 0.0f, 0.0f, 1.0f, 0.3f, isGrass), 0.8);   // the grass below
    EXPECT_GT(share(image, 0.0f, 0.85f, 0.2f, 1.0f, isWater), 0.8);  // the water above it
    EXPECT_GT(share(image, 0.8f, 0.85f, 1.0f, 1.0f, isWater), 0.8);
    EXPECT_GT(share(image, 0.4f, 0.75f, 0.6f, 0.95f, notWater), 0.3);  // the tree near the middle
    EXPECT_LT(share(image, 0.0f, 0.75f, 0.25f, 0.95f, notWater), 0.05);
    EXPECT_LT(share(image, 0.75f, 0.75f, 1.0f, 0.95f, notWater), 0.05);
    ASSERT_TRUE(startFrame(support::kCore, &core));
    int different = 0;
    for (size_t i = 0; i < image.rgba.size(); ++i)
        different += std::abs(image.rgba[i] - core.rgba[i]) > 3;
    EXPECT_LT(different, static_cast<int>(image.rgba.size() / 1000));
}

TEST_F(GeneratedScene, EveryModeAndWireframeDrawWithoutAnErrorOnBothContexts) {
    for (const support::ContextRequest& request : {support::kCompatibility, support::kCore}) {
        ASSERT_TRUE(startFrame(request));
        for (int frame = 0; frame < 2 * kUserModeCount; ++frame) {
            scope.input.setTime(frame * 2.5);  // the water moves with the clock
            scene->cliff->setMode(frame % kUserModeCount);
            scene->water->setMode((frame + 3) % kUserModeCount);
            platform::setPolygonMode(frame >= kUserModeCount);
            camera.setYaw(frame * 25.0f);
            renderFrame(*scene, camera.update());
            platform::glfwSwapBuffers();
            const std::vector<unsigned int> errors = support::takeGLErrors();
            EXPECT_TRUE(errors.empty())
                << request.name << " frame " << frame << ": 0x" << std::hex << errors[0];
        }
        platform::setPolygonMode(false);
    }
}

TEST_F(GeneratedScene, WithoutTheTreeModelTheOtherFourStillDraw) {
    std::remove("Models/tree2.obj");
    support::Image image;
    ASSERT_TRUE(startFrame(support::kCompatibility, &image));
    EXPECT_EQ(scene->tree->mesh.model.faceCount, 0);
    EXPECT_EQ(scene->unreadFiles, std::vector<std::string>{"Models/tree2.obj"});
    EXPECT_GT(share(image, 0.0f, 0.0f, 1.0f, 0.3f, isGrass), 0.8);
    EXPECT_GT(share(image, 0.0f, 0.85f, 1.0f, 1.0f, isWater), 0.8) << "no tree above the island";
    camera.setPitch(-20.0f);  // the sky box and the light sphere's side of the world
    renderFrame(*scene, camera.update());
    const auto black = [](glm::vec3 c) { return glm::length(c) < 0.02f; };
    EXPECT_LT(share(support::readPixels(), 0.0f, 0.6f, 1.0f, 1.0f, black), 0.001)
        << "the sky box covers it";
    EXPECT_TRUE(support::takeGLErrors().empty());
}
