// M switches the polygon mode of a real context: the first press leaves the
// picture filled, the second shows wireframe, the third fills it again.
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "app/frame_loop.h"
#include "app/globals.h"
#include "app/key_handlers.h"
#include "app/scene_setup.h"
#include "interaction_test_support.h"
#include "platform/gl.h"
#include "platform/window.h"

using interaction_test::ScriptedInputScope;

namespace {

// Xvfb refuses connections for a moment while it resets after its last
// client has left (the previous test), so the first connection may retry.
bool initialiseWindowLibrary() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (platform::glfwInit() == 1) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

GLint frontPolygonMode() {
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    return modes[0];
}

}  // namespace

TEST(KeyHandlersGl, MFirstLeavesThePictureFilledThenTogglesWireframe) {
    ASSERT_TRUE(initialiseWindowLibrary());
    ASSERT_EQ(platform::glfwOpenWindow(64, 64, 0, 0, 0, 0, 24, 8, platform::GLFW_WINDOW), 1);
    resetGlobals();
    ScriptedInputScope scope;
    Scene scene;
    FrameLoopState state;
    auto tapM = [&] {
        scope.input.press('M');
        handleKeys(state, scene);
        scope.input.release('M');
        handleKeys(state, scene);
    };
    EXPECT_EQ(frontPolygonMode(), GL_FILL);
    tapM();
    EXPECT_EQ(polygonModeToggle, 1);
    EXPECT_EQ(frontPolygonMode(), GL_FILL);
    tapM();
    EXPECT_EQ(frontPolygonMode(), GL_LINE);
    tapM();
    EXPECT_EQ(frontPolygonMode(), GL_FILL);
    // A played-back 'M' acts without the key.
    state.playbackKey = 'M';
    handleKeys(state, scene);
    EXPECT_EQ(frontPolygonMode(), GL_LINE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    platform::glfwTerminate();
}
