// The camera with scripted keys and cursor: the start view, mouse look with
// its yaw wrap and pitch limit, the movement rules of the live, recording and
// playback updates, Left Shift, and what the recording update writes.
#include "camera/camera.h"

#include <cmath>

#include "input/input_recorder.h"
#include "test_support.h"

namespace {

void expectNear(glm::vec3 actual, glm::vec3 expected) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "component " << i;
}

}  // namespace

TEST(Camera, StartsAtItsStartView) {
    support::ScriptedInputScope scope;
    scope.input.moveCursorTo(123, 45);
    Camera camera;
    EXPECT_EQ(support::printedBy([&] { camera.reset(); }), "mousex at reset = 123\n");
    const glm::mat4 view = camera.update();
    const glm::mat4 start = glm::rotate(glm::mat4(1.0f), glm::radians(20.0f), glm::vec3(1, 0, 0)) *
                            glm::translate(glm::mat4(1.0f), glm::vec3(0, -20, -41));
    for (int c = 0; c < 4; ++c) expectNear(glm::vec3(view[c]), glm::vec3(start[c]));
    EXPECT_EQ(camera.update(), view);  // no input: the same matrix again
    EXPECT_EQ(camera.updatePlayback(0, 0, 0), view);
}

TEST(Camera, TurnsWithTheCursor) {
    support::ScriptedInputScope scope;
    // 0.3 degrees per pixel, right and down; the yaw wraps only past a full
    // turn and before the frame's turn; the pitch ends every update within 90 degrees.
    const float rows[][6] = {{0, 20, 10, -5, 3, 18.5f},  {361, 20, 0, 0, 1, 20},
                             {-361, 20, 0, 0, -1, 20},   {360, 20, 0, 0, 360, 20},
                             {-360, 20, 0, 0, -360, 20}, {359, 20, 10, 0, 362, 20},
                             {0, 89.5f, 0, 5, 0, 90},    {0, 85, 0, 100, 0, 90},
                             {0, -85, 0, -100, 0, -90},  {0, 90, 0, -1, 0, 89.7f}};
    for (const auto& row : rows) {  // yaw, pitch, dx, dy, expected yaw and pitch
        Camera turned;
        scope.input.moveCursorTo(0, 0);
        support::printedBy([&] { turned.reset(); });
        turned.setYaw(row[0]), turned.setPitch(row[1]);
        scope.input.moveCursorTo(static_cast<int>(row[2]), static_cast<int>(row[3]));
        turned.update();
        EXPECT_NEAR(turned.yaw, row[4], 1e-4f) << row[0] << " turned by " << row[2];
        EXPECT_NEAR(turned.pitch, row[5], 1e-4f) << row[1] << " turned by " << row[3];
    }
    for (const auto& [start, dy] : {std::pair{85.0f, 100}, {115.0f, 0}}) {
        Camera replayed;
        support::printedBy([&] { replayed.reset(); });
        replayed.setPitch(start);
        replayed.updatePlayback(0, 0, dy);
        EXPECT_NEAR(replayed.pitch, 90.0f, 1e-4f) << "replayed from " << start;
    }
    Camera camera;
    support::printedBy([&] { camera.reset(); });
    scope.input.moveCursorTo(123, 45);
    camera.updatePlayback(0, 10, -5);  // the supplied movement, not the cursor
    EXPECT_NEAR(camera.yaw, 3.0f, 1e-4f);
    EXPECT_NEAR(camera.pitch, 18.5f, 1e-4f);
}

// The recording update writes the key that moved it, and only that one.
TEST(Camera, EachUpdateMovesByItsOwnRule) {
    enum Update { Live, Recording, Playback };
    const float y = glm::radians(30.0f), p = glm::radians(20.0f);
    // The world moves opposite to the eye: up is -y.
    const glm::vec3 left = 0.3f * glm::vec3(std::cos(y), 0, std::sin(y)), up(0, -0.3f, 0);
    const glm::vec3 forward = 0.3f * glm::vec3(-std::sin(y), std::sin(p), std::cos(y));
    const int space = platform::GLFW_KEY_SPACE;
    const struct {
        Update update;
        std::vector<int> keys;
        char key;  // supplied to the playback update, or the one recorded
        glm::vec3 moved;
    } rows[] = {
        {Live, {'A', 'W'}, 0, left + forward},
        {Live, {'D', 'S', space, 'B'}, 0, -left - forward},
        {Recording, {'A', 'W'}, 'A', left},  // the first held key of the order only
        {Recording, {'S', 'D'}, 'D', -left},
        {Recording, {'W'}, 'W', forward},
        {Recording, {'S'}, 'S', -forward},
        {Recording, {space}, 'N', up},
        {Recording, {'B'}, 'B', -up},
        {Playback, {}, 'N', up},
        {Playback, {'A'}, 'D', left},  // a live key before the supplied one
        {Playback, {}, 'W', forward},
        {Playback, {}, 'S', -forward},
        {Playback, {}, 'B', -up},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string("update ") + std::to_string(row.update) + ", key " + row.key);
        support::ScratchDirectory scratch;
        support::ScriptedInputScope scope;
        Camera camera;
        InputRecorder recorder;
        support::printedBy([&] { camera.reset(), recorder.startRecording(); });
        camera.setYaw(30.0f);
        recorder.countFrame();
        for (int key : row.keys) scope.input.press(key);
        if (row.update == Live) camera.update();
        if (row.update == Recording) camera.updateRecording(recorder);
        if (row.update == Playback) camera.updatePlayback(row.key, 0, 0);
        expectNear(glm::vec3(camera.transMat[3]), glm::vec3(0, -20, -40) + row.moved);
        const std::string item = row.update == Recording ? std::string("1") + row.key + " " : "";
        EXPECT_EQ(support::readFile("rec.cfg"), "start0\n" + item);
    }
}

TEST(Camera, LeftShiftIsReadByTheLiveUpdateOnly) {
    support::ScratchDirectory scratch;
    support::ScriptedInputScope scope;
    Camera camera;
    InputRecorder recorder;
    support::printedBy([&] { camera.reset(), recorder.startRecording(); });
    scope.input.press(platform::GLFW_KEY_LSHIFT);
    camera.updateRecording(recorder);
    camera.updatePlayback(0, 0, 0);
    EXPECT_FLOAT_EQ(camera.moveSpeed, 0.3f);
    camera.update();
    EXPECT_FLOAT_EQ(camera.moveSpeed, 3.2f);
    scope.input.releaseAll();
    camera.updateRecording(recorder);  // the other updates keep the speed
    camera.updatePlayback(0, 0, 0);
    EXPECT_FLOAT_EQ(camera.moveSpeed, 3.2f);
}

TEST(Camera, IdleFramesRecordNothing) {
    support::ScratchDirectory scratch;
    support::ScriptedInputScope scope;
    Camera camera;
    InputRecorder recorder;
    support::printedBy([&] { camera.reset(), recorder.startRecording(); });
    recorder.countFrame();
    scope.input.moveCursorTo(3, -2);
    camera.updateRecording(recorder);
    recorder.countFrame();
    camera.updateRecording(recorder);  // nothing moved
    EXPECT_EQ(support::readFile("rec.cfg"), "start0\n1_3_-2 ");
}
