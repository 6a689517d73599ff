// rec.cfg written and read back: the exact bytes, each item on disk as it
// happens, a new recording replacing the old; items of any length in file
// order, tokens and files that hold none, their pacing over the frames of
// playback; and files that cannot be written or read.
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "input/input_player.h"
#include "input/input_recorder.h"
#include "test_support.h"

namespace {

void countFrames(InputRecorder& recorder, int frames) {
    while (frames-- > 0) recorder.countFrame();
}

// A recording: two frames, then a mouse move and a key item in one frame;
// five frames, a key; one frame, a mouse move; three frames, the end.
std::string record(InputRecorder& recorder, bool saved = true) {
    return support::printedBy([&] {
        recorder.startRecording();
        EXPECT_EQ(saved ? support::readFile("rec.cfg") : "start0\n", "start0\n");
        countFrames(recorder, 2);
        recorder.recordMouse(3, 0);
        recorder.recordKey('W');
        EXPECT_EQ(saved ? support::readFile("rec.cfg") : "start0\n2_3_0 0W ", "start0\n2_3_0 0W ");
        countFrames(recorder, 5);
        recorder.recordKey('F');
        countFrames(recorder, 1);
        recorder.recordMouse(-4, -2);
        countFrames(recorder, 3);
        recorder.stopRecording();
    });
}

// What `frames` frames of playback hand out: "2:WF(3,0)" for the camera's key,
// the handlers' key and a move.
std::string framesOf(InputPlayer& player, int frames) {
    std::string text;
    for (int frame = 1; frame <= frames; ++frame) {
        const PlaybackValues v = player.nextFrame();
        text +=
            std::to_string(frame) + ":" + (v.moveKey ? std::string(1, v.moveKey) : "") +
            (v.key ? std::string(1, v.key) : "") +
            (v.dx || v.dy ? "(" + std::to_string(v.dx) + "," + std::to_string(v.dy) + ")" : "") +
            " ";
    }
    return text;
}

}  // namespace

TEST(InputRecorder, WritesEachItemAtOnceTheEndLineLastAndANewFileEachTime) {
    support::ScratchDirectory scratch;
    InputRecorder recorder;
    EXPECT_EQ(record(recorder), "start recording\nend recording\n");
    EXPECT_EQ(support::readFile("rec.cfg"), "start0\n2_3_0 0W 5F 1_-4_-2 \nend3");
    support::printedBy(
        [&] { recorder.startRecording(), countFrames(recorder, 4), recorder.stopRecording(); });
    EXPECT_EQ(support::readFile("rec.cfg"), "start0\n\nend4");
}

TEST(InputRecorder, AnUnwritableRecCfgIsReportedOncePerRecording) {
    support::ScratchDirectory scratch;
    std::filesystem::create_directory("rec.cfg");
    InputRecorder recorder;
    for (int recording = 0; recording < 2; ++recording) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(record(recorder, false), "start recording\nend recording\n");
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Cannot write rec.cfg: Is a directory (this recording is not saved)\n");
    }
    EXPECT_TRUE(std::filesystem::is_directory("rec.cfg"));
}

TEST(InputPlayer, ReadsEveryItemInFileOrderAndNothingElse) {
    support::ScratchDirectory scratch;
    // Long items, tokens that are no items, a file cut off before its end line, and none.
    const std::pair<const char*, const char*> rows[] = {
        {"start0\n2_3_0 0W 5F \nend3", "2_3_0 0W 5F "},
        {"start0\n1_-4_-2 0N \nend7", "1_-4_-2 0N "},
        {"start0\n123456_-98765_4321 1234567890W 1_-2147483648_2147483647 \nend0",
         "123456_-98765_4321 1234567890W 1_-2147483648_2147483647 "},
        {"start0\nxyz 1WW 3_4 99999999999F 2_1_1x 4H \nend1", "4H "},
        {"start0\n3W 1", "3W "},
        {"", ""},
        {"start0", ""},
        {"start0 1W 2F", ""},
        {"start0\n", ""},
        {"start0\n\nend4", ""}};
    for (const auto& [contents, expected] : rows) {
        support::writeFile("rec.cfg", contents);
        InputPlayer player;
        support::printedBy([&] { player.startPlaying(); });
        std::string items;
        while (player.readNextItem())
            items += std::to_string(player.frameCount) +
                     (player.mouseItem
                          ? "_" + std::to_string(player.dx) + "_" + std::to_string(player.dy)
                          : std::string(1, player.key)) +
                     " ";
        EXPECT_EQ(items, expected) << contents;
        EXPECT_TRUE(player.finished);
    }
}

// A named pipe is refused at once: opened as a file, it would hold the frame
// loop until something wrote to it.
TEST(InputPlayer, AFileThatCannotBeReadIsReportedAndPlaysNothing) {
    support::ScratchDirectory scratch;
    InputPlayer player;
    const std::pair<std::function<void()>, const char*> rows[] = {
        {[] {}, "No such file or directory"},
        {[] { std::filesystem::create_directory("rec.cfg"); }, "a directory, not a regular file"},
        {[] { std::filesystem::remove("rec.cfg"), mkfifo("rec.cfg", 0600); },
         "a named pipe, not a regular file"}};
    for (const auto& [make, reason] : rows) {
        make();
        testing::internal::CaptureStderr();
        EXPECT_EQ(support::printedBy([&] { player.startPlaying(); }), "start playing\n");
        EXPECT_EQ(framesOf(player, 2), "1: 2: ");
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  std::string("Cannot read rec.cfg: ") + reason + " (nothing to play back)\n");
    }
    EXPECT_EQ(support::printedBy([&] { player.stopPlaying(); }), "end playing\n");
}

TEST(InputPlayer, ItemsArriveInTheFramesTheirCountsNameOneOfEachKindPerFrame) {
    support::ScratchDirectory scratch;
    InputPlayer player;
    EXPECT_EQ(framesOf(player, 2), "1: 2: ");  // nothing loaded
    // In the second, G and H carry a frame each, the mouse item waits behind
    // H, and W, in the camera's slot, is on time. W and F held together stay
    // on schedule; N fills both slots and waits until both are free.
    const std::pair<const char*, const char*> rows[] = {
        {"start0\n2_3_0 0W 5F \nend3", "1: 2:W(3,0) 3: 4: 5: 6: 7:F 8: 9: "},
        {"start0\n1F 0G 0H 1_2_3 1W 2_-1_-1 \nend0", "1:F 2:G 3:WH(2,3) 4: 5:(-1,-1) 6: 7: 8: 9: "},
        {"start0\n1_1_0 0_2_0 0A \nend0", "1:(1,0) 2:A(2,0) 3: 4: 5: 6: 7: 8: 9: "},
        {"start0\n1W 0F 1W 0F 1W 0F \nend0", "1:WF 2:WF 3:WF 4: 5: 6: 7: 8: 9: "},
        {"start0\n1N 0F 1W 0N \nend0", "1:NN 2:WF 3:NN 4: 5: 6: 7: 8: 9: "}};
    for (const auto& [contents, frames] : rows) {
        support::writeFile("rec.cfg", contents);
        support::printedBy([&] { player.startPlaying(); });  // from the top each time
        EXPECT_EQ(framesOf(player, 9), frames) << contents;
    }
}
