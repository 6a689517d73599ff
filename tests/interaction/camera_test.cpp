// The camera with scripted keys and cursor: the start view, mouse look with
// its yaw wrap and pitch limit, the movement steps of the three update
// variants and what the recording variant writes.
#include "camera/camera.h"

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include "app/input_recorder.h"
#include "interaction_test_support.h"

using interaction_test::readFile;
using interaction_test::ScratchDirectory;
using interaction_test::ScriptedInputScope;

namespace {

void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected, float tolerance) {
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            EXPECT_NEAR(actual[column][row], expected[column][row], tolerance)
                << "column " << column << ", row " << row;
}

glm::vec3 translationOf(const Camera& camera) { return glm::vec3(camera.transMat[3]); }

void expectVectorNear(glm::vec3 actual, glm::vec3 expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

// A camera reset with the cursor at (cursorX, cursorY); reset's line is swallowed.
void resetQuietly(Camera& camera) {
    testing::internal::CaptureStdout();
    camera.reset();
    testing::internal::GetCapturedStdout();
}

constexpr float kRadiansPerDegree = 3.14159265f / 180.0f;

}  // namespace

TEST(Camera, ResetPlacesTheEyeAtTheStartPointLookingDown) {
    ScriptedInputScope scope;
    scope.input.moveCursorTo(123, 45);
    Camera camera;
    testing::internal::CaptureStdout();
    camera.reset();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "mousex at reset = 123\n");

    const glm::mat4 view = camera.update();
    const glm::mat4 expected =
        glm::rotate(glm::mat4(1.0f), glm::radians(20.0f), glm::vec3(1.0f, 0.0f, 0.0f)) *
        glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, -20.0f, -41.0f));
    expectMatrixNear(view, expected, 1e-5f);
    expectVectorNear(glm::vec3(glm::inverse(view) * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f)),
                     glm::vec3(0.0f, 20.0f, 41.0f));
    // Without input, the next frames rebuild the very same matrix.
    EXPECT_EQ(camera.update(), view);
    EXPECT_EQ(camera.updatePlayback(0, 0, 0), view);
}

TEST(Camera, YawWrapsOnlyPastAFullTurnAndBeforeTheFramesMouseTurn) {
    ScriptedInputScope scope;
    const struct {
        float start;
        float expected;
    } cases[] = {{361.0f, 1.0f}, {-361.0f, -1.0f}, {360.0f, 360.0f}, {-360.0f, -360.0f}};
    for (const auto& c : cases) {
        Camera camera;
        resetQuietly(camera);
        camera.setYaw(c.start);
        camera.update();
        EXPECT_FLOAT_EQ(camera.yaw, c.expected) << "start " << c.start;
    }
    // 359 does not wrap; the 10-pixel turn added after the wrap takes it past 360.
    Camera camera;
    resetQuietly(camera);
    camera.setYaw(359.0f);
    scope.input.moveCursorTo(10, 0);
    camera.update();
    EXPECT_NEAR(camera.yaw, 362.0f, 1e-4f);
}

TEST(Camera, PitchEndsEveryUpdateWithinNinetyDegrees) {
    ScriptedInputScope scope;
    const struct {
        float start;
        int dy;
        bool playback;
        float expected;
    } cases[] = {{89.5f, 5, false, 90.0f},      {85.0f, 100, false, 90.0f},
                 {-85.0f, -100, false, -90.0f}, {85.0f, 100, true, 90.0f},
                 {115.0f, 0, true, 90.0f},      {90.0f, -1, false, 89.7f}};
    for (const auto& c : cases) {
        Camera camera;
        resetQuietly(camera);
        camera.setPitch(c.start);
        if (c.playback) {
            camera.updatePlayback(0, 0, c.dy);
        } else {
            scope.input.moveCursorTo(0, c.dy);
            camera.update();
            scope.input.moveCursorTo(0, 0);
        }
        EXPECT_NEAR(camera.pitch, c.expected, 1e-5f) << "start " << c.start << ", dy " << c.dy;
    }
}

TEST(Camera, MouseRightAndDownTurnTheViewRightAndDown) {
    ScriptedInputScope scope;
    Camera camera;
    resetQuietly(camera);
    scope.input.moveCursorTo(10, -5);
    camera.update();
    EXPECT_NEAR(camera.yaw, 3.0f, 1e-5f);
    EXPECT_NEAR(camera.pitch, 18.5f, 1e-5f);
}

TEST(Camera, LiveUpdateTakesEveryHeldKeyButRecordingOnlyTheFirst) {
    ScratchDirectory scratch;
    ScriptedInputScope scope;
    const float y = 30.0f * kRadiansPerDegree;
    const float p = 20.0f * kRadiansPerDegree;
    const glm::vec3 start(0.0f, -20.0f, -40.0f);
    const glm::vec3 left = 0.3f * glm::vec3(std::cos(y), 0.0f, std::sin(y));
    const glm::vec3 forward = 0.3f * glm::vec3(-std::sin(y), std::sin(p), std::cos(y));

    scope.input.press('A');
    scope.input.press('W');
    Camera live;
    resetQuietly(live);
    live.setYaw(30.0f);
    live.update();
    expectVectorNear(translationOf(live), start + left + forward);

    Camera recorded;
    resetQuietly(recorded);
    recorded.setYaw(30.0f);
    InputRecorder recorder;
    testing::internal::CaptureStdout();
    recorder.startRecording();
    recorder.countFrame();
    recorded.updateRecording(recorder);
    testing::internal::GetCapturedStdout();
    expectVectorNear(translationOf(recorded), start + left);
    EXPECT_EQ(readFile("rec.cfg"), "start0\n1A ");
}

TEST(Camera, SpaceBarIsRecordedAsNAndNPlaysBackAsUp) {
    ScratchDirectory scratch;
    ScriptedInputScope scope;
    const glm::vec3 start(0.0f, -20.0f, -40.0f);
    const glm::vec3 up(0.0f, -0.3f, 0.0f);  // the world moves down, the eye up

    Camera recorded;
    resetQuietly(recorded);
    InputRecorder recorder;
    testing::internal::CaptureStdout();
    recorder.startRecording();
    recorder.countFrame();
    scope.input.press(platform::GLFW_KEY_SPACE);
    recorded.updateRecording(recorder);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(readFile("rec.cfg"), "start0\n1N ");
    expectVectorNear(translationOf(recorded), start + up);

    scope.input.releaseAll();
    Camera played;
    resetQuietly(played);
    played.updatePlayback('N', 0, 0);
    expectVectorNear(translationOf(played), start + up);
    EXPECT_EQ(played.update(), recorded.update());
}

TEST(Camera, PlaybackTakesTheSuppliedMovementAndTheFirstMatchingKey) {
    ScriptedInputScope scope;
    Camera camera;
    resetQuietly(camera);
    // The cursor is not read: only the supplied movement turns the view.
    scope.input.moveCursorTo(500, 500);
    scope.input.press('A');  // a live key comes before the supplied 'D' in the chain
    camera.updatePlayback('D', 10, -5);
    EXPECT_NEAR(camera.yaw, 3.0f, 1e-5f);
    EXPECT_NEAR(camera.pitch, 18.5f, 1e-5f);
    const float y = 3.0f * kRadiansPerDegree;
    expectVectorNear(translationOf(camera),
                     glm::vec3(0.0f, -20.0f, -40.0f) +
                         0.3f * glm::vec3(std::cos(y), 0.0f, std::sin(y)));
}

TEST(Camera, LeftShiftIsIgnoredWhileRecordingOrPlayingBack) {
    ScratchDirectory scratch;
    ScriptedInputScope scope;
    Camera camera;
    resetQuietly(camera);
    InputRecorder recorder;
    scope.input.press(platform::GLFW_KEY_LSHIFT);
    testing::internal::CaptureStdout();
    recorder.startRecording();
    camera.updateRecording(recorder);
    EXPECT_FLOAT_EQ(camera.moveSpeed, 0.3f);
    camera.updatePlayback(0, 0, 0);
    EXPECT_FLOAT_EQ(camera.moveSpeed, 0.3f);
    // A live update sets the fast speed, and the other variants keep it.
    camera.update();
    EXPECT_FLOAT_EQ(camera.moveSpeed, 3.2f);
    scope.input.release(platform::GLFW_KEY_LSHIFT);
    camera.updateRecording(recorder);
    camera.updatePlayback(0, 0, 0);
    testing::internal::GetCapturedStdout();
    EXPECT_FLOAT_EQ(camera.moveSpeed, 3.2f);
}

TEST(Camera, CursorTakenAsReferenceAfterPlaybackDoesNotTurnTheView) {
    ScriptedInputScope scope;
    scope.input.moveCursorTo(100, 100);
    Camera camera;
    resetQuietly(camera);
    scope.input.moveCursorTo(120, 104);
    camera.updatePlayback(0, 0, 0);  // the cursor moves while it is not read
    camera.takeCursorAsReference();
    camera.update();
    EXPECT_FLOAT_EQ(camera.yaw, 0.0f);
    EXPECT_FLOAT_EQ(camera.pitch, 20.0f);
    scope.input.moveCursorTo(130, 104);
    camera.update();
    EXPECT_NEAR(camera.yaw, 3.0f, 1e-5f);
}

TEST(Camera, RecordingWritesTheMouseMovementBeforeTheKeyAndNothingWithoutInput) {
    ScratchDirectory scratch;
    ScriptedInputScope scope;
    Camera camera;
    resetQuietly(camera);
    InputRecorder recorder;
    testing::internal::CaptureStdout();
    recorder.startRecording();
    recorder.countFrame();
    scope.input.moveCursorTo(3, -2);
    camera.updateRecording(recorder);  // mouse only
    recorder.countFrame();
    camera.updateRecording(recorder);  // nothing
    recorder.countFrame();
    scope.input.moveCursorTo(-1, -2);
    scope.input.press('S');
    camera.updateRecording(recorder);  // mouse, then the key in the same frame
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(readFile("rec.cfg"), "start0\n1_3_-2 2_-4_0 0S ");
}
