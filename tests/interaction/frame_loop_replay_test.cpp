// A run recorded through the frame loop with scripted keys and cursor,
// then played back through it: the view matrix and the light of every frame
// must come out the same. The clock stands past the end of the playback
// script, so only the recording moves anything.
#include <string>
#include <vector>

#include <glm/glm.hpp>
#include <gtest/gtest.h>

#include "app/frame_loop.h"
#include "app/globals.h"
#include "app/scene_setup.h"
#include "camera/camera.h"
#include "interaction_test_support.h"
#include "render/scene_object.h"

using interaction_test::readFile;
using interaction_test::ScratchDirectory;
using interaction_test::ScriptedInputScope;

namespace {

// The input of one recorded frame: a cursor movement and the keys held.
struct FrameInput {
    int dx;
    int dy;
    std::vector<int> keys;
};

struct FrameResult {
    glm::mat4 view;
    glm::vec3 light;
    int selectedObject;
    int waterMode;
    int cliffMode;
};

class FrameLoopReplayTest : public testing::Test {
protected:
    void SetUp() override {
        scope.input.moveCursorTo(400, 300);
        scope.input.setTime(100.0);  // past the playback script's end
        interaction_test::resetCameraAndGlobals();
        lightPosition = glm::vec3(0.0f, 140.0f, 100.0f);
        scene.water = &water;
        scene.cliff = &cliff;
        water.setMode(6);
        cliff.setMode(5);
    }

    // One frame without the render passes and the swap; console lines dropped.
    FrameResult runFrame() {
        testing::internal::CaptureStdout();
        const glm::mat4 view = loop.beginFrame();
        loop.endFrame();
        testing::internal::GetCapturedStdout();
        return {view, lightPosition, loop.state.selectedObject, water.getMode(),
                cliff.getMode()};
    }

    void tapInOneFrame(int key) {
        scope.input.press(key);
        runFrame();
        scope.input.release(key);
    }

    // Leaves playback mode, records `inputs` (one frame each) and ends the
    // recording; returns what each recorded frame produced.
    std::vector<FrameResult> record(const std::vector<FrameInput>& inputs) {
        tapInOneFrame('P');
        runFrame();
        tapInOneFrame('R');  // recording is on from the next frame
        saveStartState();
        std::vector<FrameResult> results;
        int cursorX = 400;
        int cursorY = 300;
        for (const FrameInput& input : inputs) {
            cursorX += input.dx;
            cursorY += input.dy;
            scope.input.moveCursorTo(cursorX, cursorY);
            for (int key : input.keys) scope.input.press(key);
            results.push_back(runFrame());
            scope.input.releaseAll();
        }
        tapInOneFrame('R');
        EXPECT_FALSE(loop.state.recording);
        return results;
    }

    // Switches playback on, puts the scene back as it stood when the recording
    // started, and plays `frames` frames with no key held and the cursor idle.
    std::vector<FrameResult> replay(std::size_t frames) {
        tapInOneFrame('P');  // playback is fed from the next frame
        EXPECT_TRUE(loop.state.playing);
        restoreStartState();
        std::vector<FrameResult> results;
        for (std::size_t frame = 0; frame < frames; ++frame) {
            scope.input.moveCursorTo(static_cast<int>(frame) * 7, 3);  // not read in playback
            results.push_back(runFrame());
        }
        return results;
    }

    void saveStartState() {
        savedCamera = camera;
        savedEye = lightEye;
        savedLight = lightPosition;
        savedSelection = loop.state.selectedObject;
        savedWaterMode = water.getMode();
        savedCliffMode = cliff.getMode();
    }
    void restoreStartState() {
        camera = savedCamera;
        lightEye = savedEye;
        lightPosition = savedLight;
        loop.state.selectedObject = savedSelection;
        water.setMode(savedWaterMode);
        cliff.setMode(savedCliffMode);
    }

    ScratchDirectory scratch;
    ScriptedInputScope scope;
    SceneObject water;
    SceneObject cliff;
    Scene scene;
    FrameLoop loop{scene};

    Camera savedCamera;
    LightEye savedEye{};
    glm::vec3 savedLight{};
    int savedSelection = 0;
    int savedWaterMode = 0;
    int savedCliffMode = 0;
};

}  // namespace

// Every recorded frame holds at most one mouse item and one key item, so the
// replay matches frame for frame: mouse look (pitch past the gate included),
// every movement key but the space bar (recorded as 'N', which a replay also
// hands to the light key N), the light keys but N, and both toggles.
TEST_F(FrameLoopReplayTest, ReplayGivesTheSameViewAndLightInEveryFrame) {
    const std::vector<FrameInput> inputs = {
        {5, 2, {}},    {5, 2, {}},     {-3, 1, {}},       {0, 0, {'W'}},  {0, 0, {'W'}},
        {0, 0, {'W'}}, {4, -6, {'A'}}, {0, 0, {}},        {0, 0, {}},     {0, 0, {'F'}},
        {0, 0, {'H'}}, {0, 0, {'H'}},  {0, 0, {'V'}},     {0, 0, {}},     {0, 0, {'C'}},
        {2, 0, {}},    {0, 0, {'S'}},  {0, 0, {'S', 'B'}}, {0, 0, {'B'}}, {0, 0, {'D'}},
        {0, 0, {'T'}}, {0, 0, {'Y'}},  {0, 0, {'G'}},     {0, 230, {}},   {0, 40, {}},
        {0, -30, {}},  {-7, 0, {platform::GLFW_KEY_LSHIFT, 'W'}}, {0, 0, {}}, {0, 0, {}},
    };
    const std::vector<FrameResult> recorded = record(inputs);
    const std::string file = readFile("rec.cfg");
    EXPECT_EQ(file.rfind("start0\n1_5_2 1_5_2 1_-3_1 1W 1W 1W 1_4_-6 0A 3F 1H 1H ", 0), 0u) << file;
    EXPECT_EQ(file.substr(file.size() - 5), "\nend3");

    const std::vector<FrameResult> replayed = replay(recorded.size() + 5);
    for (std::size_t frame = 0; frame < recorded.size(); ++frame) {
        SCOPED_TRACE("frame " + std::to_string(frame + 1));
        EXPECT_EQ(replayed[frame].view, recorded[frame].view);
        EXPECT_EQ(replayed[frame].light, recorded[frame].light);
        EXPECT_EQ(replayed[frame].selectedObject, recorded[frame].selectedObject);
        EXPECT_EQ(replayed[frame].waterMode, recorded[frame].waterMode);
        EXPECT_EQ(replayed[frame].cliffMode, recorded[frame].cliffMode);
    }
    // The recording moved things: the test would not catch a dead replay otherwise.
    EXPECT_NE(recorded.back().view, recorded.front().view);
    EXPECT_EQ(recorded.back().selectedObject, 0);
    EXPECT_EQ(recorded.back().waterMode, 0);
    // After the last item nothing more is fed.
    EXPECT_EQ(replayed.back().view, recorded.back().view);
    EXPECT_EQ(loop.state.playbackKey, 0);
    EXPECT_EQ(loop.state.playbackDx, 0);
    EXPECT_EQ(loop.state.playbackDy, 0);
}

// The camera's key and the handlers' key have slots of their own, so W and F
// held together replay in the frames they were recorded in. Two light keys of
// one frame share the handlers' slot: the second comes one frame later.
TEST_F(FrameLoopReplayTest, KeysHeldTogetherStayOnSchedule) {
    const std::vector<FrameInput> inputs = {
        {0, 0, {'W', 'F'}}, {0, 0, {'W', 'F'}}, {0, 0, {'W', 'F'}},
        {3, 0, {'A', 'H'}}, {0, 0, {'F', 'H'}}, {0, 0, {}},
    };
    const std::vector<FrameResult> recorded = record(inputs);
    const std::vector<FrameResult> replayed = replay(inputs.size());
    for (std::size_t frame : {0, 1, 2, 3, 5}) {
        SCOPED_TRACE("frame " + std::to_string(frame + 1));
        EXPECT_EQ(replayed[frame].view, recorded[frame].view);
        EXPECT_EQ(replayed[frame].light, recorded[frame].light);
    }
    EXPECT_NE(replayed[4].light, recorded[4].light);
}
