// Reading rec.cfg back: the items in file order, items of any length, files
// that are missing, empty, without a start line or not files at all, and the
// pacing of the items over the frames of playback.
#include "app/input_player.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "interaction_test_support.h"

using interaction_test::ScratchDirectory;
using interaction_test::writeFile;

namespace {

struct Item {
    int frameCount;
    bool mouse;
    char key;
    int dx;
    int dy;
    bool operator==(const Item& other) const {
        return frameCount == other.frameCount && mouse == other.mouse && key == other.key &&
               dx == other.dx && dy == other.dy;
    }
};

std::ostream& operator<<(std::ostream& stream, const Item& item) {
    if (item.mouse) return stream << item.frameCount << '_' << item.dx << '_' << item.dy;
    return stream << item.frameCount << item.key;
}

Item keyItem(int frameCount, char key) { return {frameCount, false, key, 0, 0}; }
Item mouseItem(int frameCount, int dx, int dy) { return {frameCount, true, 0, dx, dy}; }

// Loads rec.cfg with `contents` and reads every item; the player's console
// lines go to `errors` (standard error) and are dropped (standard output).
std::vector<Item> readAllItems(const std::string& contents, std::string* errors = nullptr) {
    writeFile("rec.cfg", contents);
    InputPlayer player;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    player.startPlaying();
    std::vector<Item> items;
    while (player.readNextItem()) {
        if (player.mouseItem) {
            items.push_back(mouseItem(player.frameCount, player.dx, player.dy));
        } else {
            items.push_back(keyItem(player.frameCount, player.key));
        }
    }
    EXPECT_TRUE(player.finished);
    EXPECT_FALSE(player.readNextItem());
    const std::string stderrText = testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    if (errors != nullptr) *errors = stderrText;
    return items;
}

// Each frame as "frame:", the camera's key, the handlers' key and "(dx,dy)".
std::string framesAsText(InputPlayer& player, int frames) {
    std::string text;
    for (int frame = 1; frame <= frames; ++frame) {
        const PlaybackValues values = player.nextFrame();
        text += std::to_string(frame) + ":";
        if (values.moveKey != 0) text += std::string(1, values.moveKey);
        if (values.key != 0) text += std::string(1, values.key);
        if (values.dx != 0 || values.dy != 0) {
            text += "(" + std::to_string(values.dx) + "," + std::to_string(values.dy) + ")";
        }
        text += " ";
    }
    return text;
}

std::string playFrames(const std::string& contents, int frames) {
    writeFile("rec.cfg", contents);
    InputPlayer player;
    testing::internal::CaptureStdout();
    player.startPlaying();
    testing::internal::GetCapturedStdout();
    return framesAsText(player, frames);
}

}  // namespace

TEST(InputPlayer, ReadsTheItemsInFileOrderAndStopsAtTheEndLine) {
    ScratchDirectory scratch;
    writeFile("rec.cfg", "start0\n2_3_0 0W 5F \nend3");
    InputPlayer player;
    testing::internal::CaptureStdout();
    player.startPlaying();
    player.stopPlaying();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "start playing\nend playing\n");
    EXPECT_EQ(readAllItems("start0\n2_3_0 0W 5F \nend3"),
              (std::vector<Item>{mouseItem(2, 3, 0), keyItem(0, 'W'), keyItem(5, 'F')}));
    EXPECT_EQ(readAllItems("start0\n1_-4_-2 0N \nend7"),
              (std::vector<Item>{mouseItem(1, -4, -2), keyItem(0, 'N')}));
}

TEST(InputPlayer, ReadsItemsLongerThanEightCharactersWhole) {
    ScratchDirectory scratch;
    EXPECT_EQ(readAllItems("start0\n123456_-98765_4321 1234567890W 1_-2147483648_2147483647 \n"
                           "end0"),
              (std::vector<Item>{mouseItem(123456, -98765, 4321), keyItem(1234567890, 'W'),
                                 mouseItem(1, -2147483648, 2147483647)}));
}

TEST(InputPlayer, PassesOverTokensThatAreNoItems) {
    ScratchDirectory scratch;
    EXPECT_EQ(readAllItems("start0\nxyz 1WW 3_4 99999999999F 2_1_1x 4H \nend1"),
              (std::vector<Item>{keyItem(4, 'H')}));
}

TEST(InputPlayer, FilesWithoutItemsPlayNothing) {
    ScratchDirectory scratch;
    std::string errors;
    EXPECT_TRUE(readAllItems("", &errors).empty());
    EXPECT_TRUE(readAllItems("start0", &errors).empty());
    EXPECT_TRUE(readAllItems("start0 1W 2F", &errors).empty());  // no start line end
    EXPECT_TRUE(readAllItems("start0\n", &errors).empty());      // killed before any item
    EXPECT_TRUE(readAllItems("start0\n\nend4", &errors).empty());
    EXPECT_EQ(errors, "");
    // A recording cut off before its end line plays what it holds.
    EXPECT_EQ(readAllItems("start0\n3W 1"), (std::vector<Item>{keyItem(3, 'W')}));
}

TEST(InputPlayer, AFileThatCannotBeReadIsReportedAndPlaysNothing) {
    ScratchDirectory scratch;
    InputPlayer player;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    player.startPlaying();
    EXPECT_FALSE(player.readNextItem());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Cannot read rec.cfg: No such file or directory (nothing to play back)\n");
    testing::internal::GetCapturedStdout();

    std::filesystem::create_directory("rec.cfg");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    player.startPlaying();
    const PlaybackValues values = player.nextFrame();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Cannot read rec.cfg: Is a directory (nothing to play back)\n");
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(values.key, 0);
    EXPECT_TRUE(player.finished);
}

TEST(InputPlayer, ANewStartPlayingLoadsTheFileAgainFromTheTop) {
    ScratchDirectory scratch;
    writeFile("rec.cfg", "start0\n1F \nend0");
    InputPlayer player;
    testing::internal::CaptureStdout();
    player.startPlaying();
    EXPECT_EQ(framesAsText(player, 2), "1:F 2: ");
    writeFile("rec.cfg", "start0\n2G \nend0");
    player.startPlaying();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(framesAsText(player, 3), "1: 2:G 3: ");
}

TEST(InputPlayerFeeding, ItemsArriveInTheFramesTheirCountsName) {
    ScratchDirectory scratch;
    EXPECT_EQ(playFrames("start0\n2_3_0 0W 5F \nend3", 9),
              "1: 2:W(3,0) 3: 4: 5: 6: 7:F 8: 9: ");
}

TEST(InputPlayerFeeding, ExtraItemsOfAFrameCarryToTheFollowingFramesInFileOrder) {
    ScratchDirectory scratch;
    // F, G and H in frame 1, a mouse item in frame 2, W in frame 3, a mouse
    // item in frame 5: G and H carry one frame each, the mouse item waits
    // behind H, W is on time in the camera's slot, and so is the last item.
    EXPECT_EQ(playFrames("start0\n1F 0G 0H 1_2_3 1W 2_-1_-1 \nend0", 6),
              "1:F 2:G 3:WH(2,3) 4: 5:(-1,-1) 6: ");
    // Two mouse items in one frame (an edited file) are also spread out.
    EXPECT_EQ(playFrames("start0\n1_1_0 0_2_0 0A \nend0", 3), "1:(1,0) 2:A(2,0) 3: ");
}

TEST(InputPlayerFeeding, AllValuesAreZeroAfterTheLastItem) {
    ScratchDirectory scratch;
    writeFile("rec.cfg", "start0\n1_5_5 0D \nend0");
    InputPlayer player;
    testing::internal::CaptureStdout();
    player.startPlaying();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(framesAsText(player, 4), "1:D(5,5) 2: 3: 4: ");
    EXPECT_TRUE(player.finished);
    // Nothing loaded yet: every frame is zero.
    InputPlayer idle;
    EXPECT_EQ(framesAsText(idle, 2), "1: 2: ");
}

TEST(InputPlayerFeeding, TheCameraKeyAndTheHandlersKeyHaveSlotsOfTheirOwn) {
    ScratchDirectory scratch;
    const struct {
        const char* items;
        const char* frames;
    } rows[] = {
        // W and F held together stay on schedule.
        {"1W 0F 1W 0F 1W 0F", "1:WF 2:WF 3:WF 4: "},
        // N fills both slots and waits until both are free.
        {"1N 0F 1W 0N", "1:NN 2:WF 3:NN 4: "},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(playFrames(std::string("start0\n") + row.items + " \nend0", 4), row.frames)
            << row.items;
    }
}
