// The scene follows the window's framebuffer: its projection takes the
// window's aspect and its reflection map the window's size, while the shadow
// map keeps its own; a minimised window leaves the scene as it was.
#include "scene/frame_size.h"

#include "scene/stand_in_scene.h"

namespace {

class FrameSize : public support::StandInSceneTest {};

}  // namespace

// 0 x 0 stands for a minimised window, which then comes back at its size.
TEST_P(FrameSize, TheSceneTakesTheFramebuffersSizeAndAspect) {
    for (const auto& [width, height] :
         {std::pair{1000, 500}, {1, 1}, {300, 600}, {0, 0}, {300, 600}, {800, 600}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        if (width == 0) {
            scope.input.fakeFramebufferSize(0, 0);
        } else {
            scope.input.measureWindowFramebuffer();
            ASSERT_TRUE(support::resizeWindow(width, height)) << "the window never took this size";
        }
        const glm::mat4 projection = scene.projection;
        EXPECT_EQ(followFramebufferSize(scene), width != 0);
        if (width == 0) {
            EXPECT_TRUE(scene.projection == projection && scene.frameWidth == 300 &&
                        scene.reflectionMap->targetWidth() == 300);
            continue;
        }
        EXPECT_TRUE(scene.frameWidth == width && scene.frameHeight == height);
        EXPECT_NEAR(scene.projection[1][1] / scene.projection[0][0],
                    static_cast<float>(width) / static_cast<float>(height), 1e-4f);
        EXPECT_TRUE(scene.reflectionMap->targetWidth() == width &&
                    scene.reflectionMap->targetHeight() == height);
        EXPECT_EQ(scene.shadowMap->targetWidth(), 2400) << "the shadow map keeps its size";
    }
    EXPECT_TRUE(support::takeGLErrors().empty());
}

INSTANTIATE_TEST_SUITE_P(Contexts, FrameSize, support::kBothContexts, support::contextName);
