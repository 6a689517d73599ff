// The scripted demonstration against a scripted clock: which row a time falls
// in, what each row does per unit of s, the very first step after start-up,
// a resume after a pause, and that nothing runs with playback off.
#include "app/playback_script.h"

#include <glm/glm.hpp>
#include <gtest/gtest.h>

#include "app/frame_loop.h"
#include "app/globals.h"
#include "app/key_handlers.h"
#include "app/scene_setup.h"
#include "camera/camera.h"
#include "interaction_test_support.h"
#include "render/scene_object.h"

using interaction_test::ScriptedInputScope;

namespace {

class PlaybackScriptTest : public testing::Test {
protected:
    void SetUp() override {
        interaction_test::resetCameraAndGlobals();
        scene.water = &water;
        scene.cliff = &cliff;
        water.setMode(6);
        cliff.setMode(5);
    }

    // One step at `t` seconds whose s is `s` (the previous step 1/180 s·s before).
    void stepWithS(double t, float s) {
        scriptLastTime = t - static_cast<double>(s) / 180.0;
        scope.input.setTime(t);
        stepPlaybackScript(scene);
    }

    glm::vec3 cameraTranslation() const { return glm::vec3(camera.transMat[3]); }

    ScriptedInputScope scope;
    SceneObject water;
    SceneObject cliff;
    Scene scene;
    const glm::vec3 startTranslation{0.0f, -20.0f, -40.0f};
};

void expectVectorNear(glm::vec3 actual, glm::vec3 expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

}  // namespace

TEST(PlaybackScriptRows, EachRowEndsAtItsScriptTimeOverThree) {
    const double ends[] = {10, 15, 22, 30, 37, 45, 55, 65, 66, 68, 70, 72, 74, 77, 80, 86, 92, 98};
    EXPECT_EQ(playbackScriptRow(0.0), 1);
    for (int row = 1; row <= 18; ++row) {
        const double end = ends[row - 1] / 3.0;
        EXPECT_EQ(playbackScriptRow(end - 1e-9), row) << "just before the end of row " << row;
        EXPECT_EQ(playbackScriptRow(end), row == 18 ? 0 : row + 1) << "at the end of row " << row;
    }
    EXPECT_EQ(playbackScriptRow(1000.0), 0);
}

TEST_F(PlaybackScriptTest, CameraRowsTranslateAndTurnByTheirRates) {
    stepWithS(1.0, 10.0f);  // row 1
    expectVectorNear(cameraTranslation(), startTranslation + glm::vec3(1.0f, 0.0f, 0.0f));
    EXPECT_NEAR(scriptYaw, 0.8f, 1e-5f);
    EXPECT_EQ(camera.yaw, scriptYaw);

    stepWithS(4.0, 10.0f);  // row 2: no turn
    expectVectorNear(cameraTranslation(), startTranslation + glm::vec3(2.0f, 0.0f, 0.0f));
    EXPECT_NEAR(scriptYaw, 0.8f, 1e-5f);

    stepWithS(8.0, 10.0f);  // row 4
    expectVectorNear(cameraTranslation(), startTranslation + glm::vec3(2.0f, -1.0f, 0.0f));
    EXPECT_NEAR(scriptPitch, 20.4f, 1e-5f);
    EXPECT_EQ(camera.pitch, scriptPitch);

    stepWithS(17.0, 10.0f);  // row 7
    expectVectorNear(cameraTranslation(), startTranslation + glm::vec3(2.0f, 0.0f, 0.0f));
    EXPECT_NEAR(scriptPitch, 20.1f, 1e-5f);

    stepWithS(20.0, 10.0f);  // row 8
    expectVectorNear(cameraTranslation(), startTranslation + glm::vec3(1.0f, 0.0f, -0.3f));
    EXPECT_NEAR(scriptYaw, 0.35f, 1e-5f);
    EXPECT_EQ(camera.yaw, scriptYaw);
}

TEST_F(PlaybackScriptTest, LightRowsMoveLightEyeAndCopyItIntoLightPosition) {
    lightEye.y = 75.0f;  // moved by the light keys before: the rows keep it
    const struct {
        double t;
        glm::vec3 eye;
    } steps[] = {
        {6.0, {1.0f, 75.0f, 51.0f}},    // row 3: x and z +0.1 per s
        {11.0, {0.0f, 75.0f, 50.0f}},   // row 5: x and z -0.1
        {14.0, {-1.5f, 75.0f, 50.0f}},  // row 6: x -0.15
        {26.0, {7.5f, 75.0f, 52.0f}},   // row 15: x +0.9, z +0.2
        {27.0, {-1.5f, 75.0f, 52.0f}},  // row 16: x -0.9
        {29.0, {7.5f, 75.0f, 52.0f}},   // row 17: x +0.9
        {31.0, {-1.5f, 75.0f, 52.0f}},  // row 18: x -0.9
    };
    for (const auto& step : steps) {
        stepWithS(step.t, 10.0f);
        expectVectorNear(glm::vec3(lightEye.x, lightEye.y, lightEye.z), step.eye);
        EXPECT_EQ(lightPosition, glm::vec3(lightEye.x, lightEye.y, lightEye.z)) << "t " << step.t;
    }
    expectVectorNear(cameraTranslation(), startTranslation);
}

TEST_F(PlaybackScriptTest, ModeRowsSetTheCliffsModeWhateverTheElapsedTime) {
    const double times[] = {21.8, 22.2, 23.0, 23.5, 24.3, 25.0};
    for (int mode = 0; mode < 6; ++mode) {
        cliff.setMode(6);
        stepWithS(times[mode], 1000.0f);
        EXPECT_EQ(cliff.getMode(), mode) << "t " << times[mode];
    }
    EXPECT_EQ(water.getMode(), 6);
    expectVectorNear(cameraTranslation(), startTranslation);
    // The mode stays after the timeline is over.
    stepWithS(40.0, 10.0f);
    EXPECT_EQ(cliff.getMode(), 5);
}

TEST_F(PlaybackScriptTest, FirstStepAfterATwoSecondStartUpCoversTheWholeStartUp) {
    scope.input.setTime(2.0);
    stepPlaybackScript(scene);
    expectVectorNear(cameraTranslation(), startTranslation + glm::vec3(36.0f, 0.0f, 0.0f));
    EXPECT_NEAR(scriptYaw, 28.8f, 1e-4f);
    EXPECT_EQ(scriptLastTime, 2.0);
    // The world moves by +36 in x, so the eye moves to x = -36.
    const glm::vec4 eye = glm::inverse(camera.update()) * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    expectVectorNear(glm::vec3(eye), glm::vec3(-36.0f, 20.0f, 41.0f), 1e-3f);
}

TEST_F(PlaybackScriptTest, PlaybackSwitchedOnAgainResumesWithoutThePause) {
    interaction_test::ScratchDirectory scratch;  // P looks for rec.cfg here
    scope.input.setTime(4.0);
    stepPlaybackScript(scene);  // leaving playback at 4 s
    FrameLoopState state;
    state.playing = false;
    scope.input.setTime(20.0);  // P at 20 s, in row 8
    scope.input.press('P');
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    handleKeys(state, scene);
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(state.playing);
    const glm::vec3 before = cameraTranslation();
    scope.input.setTime(20.0 + 1.0 / 60.0);  // one frame later: s = 3
    stepPlaybackScript(scene);
    expectVectorNear(cameraTranslation() - before, glm::vec3(-0.3f, 0.0f, -0.09f), 1e-3f);
}

TEST_F(PlaybackScriptTest, NothingHappensOnceTheTimelineIsOver) {
    stepWithS(98.0 / 3.0, 100.0f);
    stepWithS(200.0, 100.0f);
    expectVectorNear(cameraTranslation(), startTranslation);
    EXPECT_EQ(lightEye.x, 0.0f);
    EXPECT_EQ(scriptLastTime, 200.0);
}

TEST_F(PlaybackScriptTest, WithPlaybackOffTheFrameLoopDoesNotStepTheScript) {
    FrameLoop loop(scene);
    loop.state.playing = false;
    scope.input.setTime(6.0);  // row 3 would move the light
    const glm::mat4 view = loop.beginFrame();
    expectVectorNear(cameraTranslation(), startTranslation);
    EXPECT_EQ(lightEye.x, 0.0f);
    EXPECT_EQ(scriptLastTime, 0.0);
    EXPECT_EQ(view, camera.viewMat);

    loop.state.playing = true;  // switched on again: the script resumes
    loop.beginFrame();
    EXPECT_NEAR(lightEye.x, 0.1f * 6.0f * 180.0f, 1e-2f);
}
