// The scripted demonstration on a scripted clock: the row a time falls in, what
// each row does per unit of s (1/180 s) along the timeline, the first step
// after start-up and after P switches it on again, and that the frame loop
// steps it only while playing.
#include "frame/playback_script.h"

#include <sstream>

#include "camera/camera.h"
#include "frame/frame_loop.h"
#include "frame/key_handlers.h"
#include "render/scene_object.h"
#include "scene/scene_setup.h"
#include "state/globals.h"
#include "test_support.h"

namespace {

class Script : public testing::Test {
  protected:
    void SetUp() override {
        resetGlobals();
        camera = Camera();
        support::printedBy([] { camera.reset(); });
        scene.water = &water, scene.cliff = &cliff;
        water.setMode(kModeBumpmapSpecular), cliff.setMode(kModeBumpmap);
    }
    // The camera's move since the start, its yaw and pitch, the light's eye
    // (and whether the drawn light is elsewhere), the cliff's mode.
    std::string summary() const {
        std::ostringstream s;
        s.precision(5);
        const glm::vec3 moved = glm::vec3(camera.transMat[3]) - glm::vec3(0, -20, -40);
        s << moved.x << "," << moved.y << "," << moved.z << " " << camera.yaw << " " << camera.pitch
          << " " << lightEye.x << "," << lightEye.y << "," << lightEye.z
          << (lightPosition == glm::vec3(lightEye.x, lightEye.y, lightEye.z) ? " " : " apart ")
          << cliff.getMode();
        return s.str();
    }

    support::ScriptedInputScope scope;
    SceneObject water, cliff;
    Scene scene;
};

}  // namespace

TEST(PlaybackScriptRows, EachRowEndsAtItsScriptTimeOverThree) {
    const double ends[] = {10, 15, 22, 30, 37, 45, 55, 65, 66, 68, 70, 72, 74, 77, 80, 86, 92, 98};
    EXPECT_EQ(playbackScriptRow(0.0), 1);
    for (int row = 1; row <= 18; ++row) {
        EXPECT_EQ(playbackScriptRow(ends[row - 1] / 3.0 - 1e-9), row)
            << "just before the end of row " << row;
        EXPECT_EQ(playbackScriptRow(ends[row - 1] / 3.0), row % 18 ? row + 1 : 0)
            << "at the end of row " << row;
    }
    EXPECT_EQ(playbackScriptRow(1000.0), 0);
}

TEST_F(Script, EveryRowMovesByItsRateAlongTheTimeline) {
    lightEye.y = 75.0f;  // moved by the light keys before: the rows keep it
    lightPosition = glm::vec3(0, 75, 50);
    // Time, s, and what stands after the step.
    const std::tuple<double, float, const char*> steps[] = {
        {1, 10, "1,0,0 0.8 20 0,75,50 5"},
        {4, 10, "2,0,0 0.8 20 0,75,50 5"},
        {6, 10, "2,0,0 0.8 20 1,75,51 5"},
        {8, 10, "2,-1,0 0.8 20.4 1,75,51 5"},
        {11, 10, "2,-1,0 0.8 20.4 0,75,50 5"},
        {14, 10, "2,-1,0 0.8 20.4 -1.5,75,50 5"},
        {17, 10, "2,0,0 0.8 20.1 -1.5,75,50 5"},
        {20, 10, "1,0,-0.3 0.35 20.1 -1.5,75,50 5"},
        {21.8, 1e3, "1,0,-0.3 0.35 20.1 -1.5,75,50 0"},
        {22.2, 1e3, "1,0,-0.3 0.35 20.1 -1.5,75,50 1"},
        {23.0, 1e3, "1,0,-0.3 0.35 20.1 -1.5,75,50 2"},
        {23.5, 1e3, "1,0,-0.3 0.35 20.1 -1.5,75,50 3"},
        {24.3, 1e3, "1,0,-0.3 0.35 20.1 -1.5,75,50 4"},
        {25.0, 1e3, "1,0,-0.3 0.35 20.1 -1.5,75,50 5"},
        {26, 10, "1,0,-0.3 0.35 20.1 7.5,75,52 5"},
        {27, 10, "1,0,-0.3 0.35 20.1 -1.5,75,52 5"},
        {29, 10, "1,0,-0.3 0.35 20.1 7.5,75,52 5"},
        {31, 10, "1,0,-0.3 0.35 20.1 -1.5,75,52 5"},
        {40, 100, "1,0,-0.3 0.35 20.1 -1.5,75,52 5"}};
    for (const auto& [t, s, expected] : steps) {
        scriptLastTime = t - s / 180.0;  // the step before, s units earlier
        scope.input.setTime(t);
        stepPlaybackScript(scene);
        EXPECT_EQ(summary(), expected) << "at " << t << " s";
        EXPECT_EQ(scriptLastTime, t);
    }
    EXPECT_EQ(water.getMode(), 6);
}

TEST_F(Script, TheFirstStepCoversStartUpAndTheLoopStepsOnlyWhilePlaying) {
    FrameLoop loop(scene);
    loop.state.playing = false;
    scope.input.setTime(2.0);
    EXPECT_EQ(loop.beginFrame(), camera.viewMat);
    EXPECT_EQ(summary(), "0,0,0 0 20 0,70,50 apart 5");
    loop.state.playing = true;  // 2 s since start: s = 360, in row 1
    loop.beginFrame();
    EXPECT_EQ(summary(), "36,0,0 28.8 20 0,70,50 apart 5");
    // The world moved by +36, the eye by -36.
    const glm::vec3 eye(glm::inverse(camera.viewMat) * glm::vec4(0, 0, 0, 1));
    EXPECT_NEAR(eye.x, -36.0f, 1e-3f);
    EXPECT_NEAR(eye.z, 41.0f, 1e-3f);
    // P switches playback on again at 20 s, in row 8: one frame later the
    // script has moved by that frame (s = 3), not by the time it was off.
    support::ScratchDirectory scratch;  // P looks for rec.cfg here
    loop.state.playing = false;
    scope.input.setTime(20.0);
    scope.input.press('P');
    testing::internal::CaptureStderr();  // no rec.cfg to play
    support::printedBy([&] { handleKeys(loop.state, scene); });
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(loop.state.playing);
    const glm::vec3 before(camera.transMat[3]);
    scope.input.setTime(20.0 + 1.0 / 60.0);
    stepPlaybackScript(scene);
    const glm::vec3 moved = glm::vec3(camera.transMat[3]) - before;
    EXPECT_NEAR(glm::length(moved - glm::vec3(-0.3f, 0.0f, -0.09f)), 0.0f, 1e-3f);
}
