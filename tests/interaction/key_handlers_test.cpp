// The keyboard controls frame by frame with scripted keys: held keys, keys
// that act on release and on press, the titles, the order within one frame,
// keys supplied by playback and what is recorded.
#include "app/key_handlers.h"

#include <string>

#include <gtest/gtest.h>

#include "app/frame_loop.h"
#include "app/globals.h"
#include "app/scene_setup.h"
#include "camera/camera.h"
#include "interaction_test_support.h"
#include "platform/window.h"
#include "render/scene_object.h"

using interaction_test::readFile;
using interaction_test::ScratchDirectory;
using interaction_test::ScriptedInputScope;

namespace {

class KeyHandlersTest : public testing::Test {
protected:
    void SetUp() override {
        resetGlobals();
        scene.water = &water;
        scene.cliff = &cliff;
        water.setMode(6);
        cliff.setMode(5);
        platform::glfwSetWindowTitle("GLFW Window");
    }

    // One frame of key handling; returns what it printed on standard output.
    std::string frame() {
        testing::internal::CaptureStdout();
        handleKeys(state, scene);
        return testing::internal::GetCapturedStdout();
    }
    std::string frames(int count) {
        std::string output;
        for (int i = 0; i < count; ++i) output += frame();
        return output;
    }
    // Held for one frame, then let go for one frame.
    std::string tap(int key) {
        scope.input.press(key);
        std::string output = frame();
        scope.input.release(key);
        return output + frame();
    }
    std::string title() const { return platform::currentWindowTitle(); }

    ScriptedInputScope scope;
    SceneObject water;
    SceneObject cliff;
    Scene scene;
    FrameLoopState state;
};

}  // namespace

TEST_F(KeyHandlersTest, VSelectsTheWaterThenCCyclesItsModeWithTheirTitles) {
    tap('V');
    EXPECT_EQ(state.selectedObject, 0);
    EXPECT_EQ(title(), "selected object: water");
    tap('C');
    EXPECT_EQ(water.getMode(), 0);
    EXPECT_EQ(cliff.getMode(), 5);
    EXPECT_EQ(title(), "none");
    tap('V');
    EXPECT_EQ(state.selectedObject, 1);
    EXPECT_EQ(title(), "selected object: cliff");
    tap('C');
    EXPECT_EQ(cliff.getMode(), 6);
    EXPECT_EQ(title(), "bumpmap shading with specular");
    tap('C');
    EXPECT_EQ(cliff.getMode(), 0);
    EXPECT_EQ(title(), "none");
}

TEST_F(KeyHandlersTest, CHeldForManyFramesActsOnceWhenLetGo) {
    scope.input.press('C');
    frames(30);
    EXPECT_EQ(cliff.getMode(), 5);
    EXPECT_EQ(title(), "GLFW Window");
    scope.input.release('C');
    frames(5);
    EXPECT_EQ(cliff.getMode(), 6);
}

TEST_F(KeyHandlersTest, RHeldForManyFramesSwitchesRecordingOnceOnPress) {
    ScratchDirectory scratch;
    scope.input.press('R');
    EXPECT_EQ(frame(), "start recording\n");
    EXPECT_TRUE(state.recording);
    EXPECT_EQ(frames(20), "");
    EXPECT_TRUE(state.recording);
    scope.input.release('R');
    frame();
    scope.input.press('R');
    EXPECT_EQ(frame(), "end recording\n");
    EXPECT_FALSE(state.recording);
    EXPECT_EQ(readFile("rec.cfg"), "start0\n\nend0");
}

TEST_F(KeyHandlersTest, FirstPLeavesPlaybackAndClearsThePlaybackValues) {
    ScratchDirectory scratch;
    state.playbackMoveKey = 'W';
    state.playbackKey = 'F';
    state.playbackDx = 4;
    state.playbackDy = -2;
    scope.input.moveCursorTo(300, 200);
    scope.input.press('P');
    EXPECT_EQ(frames(10), "end playing\n");
    EXPECT_FALSE(state.playing);
    // The cursor moved during playback is the next live turn's reference.
    EXPECT_EQ(camera.oldMouseX, 300);
    EXPECT_EQ(camera.oldMouseY, 200);
    EXPECT_EQ(state.playbackMoveKey, 0);
    EXPECT_EQ(state.playbackKey, 0);
    EXPECT_EQ(state.playbackDx, 0);
    EXPECT_EQ(state.playbackDy, 0);
    scope.input.release('P');
    frame();
    testing::internal::CaptureStderr();
    EXPECT_EQ(tap('P'), "start playing\n");  // no rec.cfg yet: reported, nothing played
    EXPECT_NE(testing::internal::GetCapturedStderr().find("rec.cfg"), std::string::npos);
    EXPECT_TRUE(state.playing);
}

TEST_F(KeyHandlersTest, FHeldForTenFramesMovesTheLightTenUnitsTowardsMinusX) {
    lightPosition = glm::vec3(0.0f, 140.0f, 100.0f);
    scope.input.press('F');
    frames(10);
    EXPECT_EQ(lightPosition, glm::vec3(-10.0f, 140.0f, 100.0f));
    EXPECT_EQ(lightEye.x, -10.0f);
    EXPECT_EQ(lightEye.y, 70.0f);
    EXPECT_EQ(lightEye.z, 50.0f);
}

TEST_F(KeyHandlersTest, LightKeysHeldTogetherAllActInOneFrame) {
    lightPosition = glm::vec3(0.0f, 140.0f, 100.0f);
    for (int key : {'H', 'T', 'Y', 'G'}) scope.input.press(key);
    frame();
    EXPECT_EQ(lightPosition, glm::vec3(1.0f, 141.0f, 100.0f));  // T and G cancel
    scope.input.releaseAll();
    scope.input.press('N');
    frame();
    EXPECT_EQ(lightPosition, glm::vec3(1.0f, 140.0f, 100.0f));
    EXPECT_EQ(lightEye.y, 70.0f);
}

TEST_F(KeyHandlersTest, VAndCLetGoTogetherChangeTheNewlySelectedObject) {
    scope.input.press('V');
    scope.input.press('C');
    frames(3);
    scope.input.releaseAll();
    frame();
    EXPECT_EQ(state.selectedObject, 0);
    EXPECT_EQ(water.getMode(), 0);
    EXPECT_EQ(cliff.getMode(), 5);
    EXPECT_EQ(title(), "none");
}

TEST_F(KeyHandlersTest, KAndLPrintThePolygonOffsetInTheDefaultFloatFormat) {
    scope.input.press('K');
    EXPECT_EQ(frame(), "polyoffset = 1.2\n");
    std::string output = frames(59);
    EXPECT_EQ(output.substr(output.rfind("polyoffset")), "polyoffset = 7.1\n");
    scope.input.release('K');
    scope.input.press('L');
    output = frames(80);
    EXPECT_EQ(output.substr(output.rfind("polyoffset")), "polyoffset = -0.9\n");
    // Both held: up, then down, two lines in one frame.
    scope.input.press('K');
    EXPECT_EQ(frame(), "polyoffset = -0.8\npolyoffset = -0.9\n");
}

TEST_F(KeyHandlersTest, APlaybackKeyActsLikeItsKeyBeingUsed) {
    state.playbackKey = 'H';
    frame();
    EXPECT_EQ(lightEye.x, 1.0f);
    state.playbackKey = 'V';
    frame();
    EXPECT_EQ(state.selectedObject, 0);
    EXPECT_EQ(title(), "selected object: water");
    state.playbackKey = 'C';
    frame();
    EXPECT_EQ(water.getMode(), 0);
    // The camera's codes move no light.
    state.playbackKey = 'W';
    frame();
    EXPECT_EQ(lightEye.x, 1.0f);
}

TEST_F(KeyHandlersTest, WhileRecordingEveryActingKeyIsWrittenInTheFixedOrder) {
    ScratchDirectory scratch;
    tap('R');  // recording starts in the press frame
    scope.input.press('H');
    for (int i = 0; i < 3; ++i) {
        state.recorder.countFrame();
        frame();
    }
    scope.input.release('H');
    scope.input.press('G');
    scope.input.press('F');
    scope.input.press('V');
    state.recorder.countFrame();
    frame();
    scope.input.releaseAll();
    state.recorder.countFrame();
    frame();  // V let go
    state.recorder.countFrame();
    tap('R');
    EXPECT_EQ(readFile("rec.cfg"), "start0\n1H 1H 1H 1F 0G 1V \nend1");
}
