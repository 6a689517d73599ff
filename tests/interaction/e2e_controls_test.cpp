// The real program on a display of its own, driven by xdotool: a title set by a key, a
// recording made with R and written to rec.cfg, a recording ended by Esc, and
// a rec.cfg that cannot be written.
#include <cctype>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "demo_process.h"

namespace {

class ControlsE2eTest : public testing::Test {
protected:
    void SetUp() override {
        demo.start();
        ASSERT_NE(demo.waitForWindow(), 0u) << demo.standardError();
    }

    // Ends the program with Esc and expects a clean exit.
    void endWithEscape() {
        demo.tapKey("Escape");
        EXPECT_EQ(demo.waitForExit(), 0) << demo.standardError();
    }

    DemoProcess demo;
};

bool isNumber(const std::string& text, std::size_t from, std::size_t to) {
    if (from < to && text[from] == '-') ++from;
    if (from >= to) return false;
    for (std::size_t i = from; i < to; ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

// A whole recording: "start0\n", items each followed by one blank (key items
// only with a key of `keys`, mouse items "n_n_n"), "\nend" and a count.
bool isRecording(const std::string& text, const std::string& keys) {
    const std::string start = "start0\n";
    const std::size_t endLine = text.rfind("\nend");
    if (text.compare(0, start.size(), start) != 0 || endLine == std::string::npos) return false;
    if (endLine < start.size() || !isNumber(text, endLine + 4, text.size())) return false;
    std::size_t position = start.size();
    int items = 0;
    while (position < endLine) {
        const std::size_t blank = text.find(' ', position);
        if (blank == std::string::npos || blank >= endLine) return false;
        const std::size_t firstSeparator = text.find('_', position);
        if (firstSeparator < blank) {
            const std::size_t secondSeparator = text.find('_', firstSeparator + 1);
            if (secondSeparator >= blank || !isNumber(text, position, firstSeparator) ||
                !isNumber(text, firstSeparator + 1, secondSeparator) ||
                !isNumber(text, secondSeparator + 1, blank))
                return false;
        } else if (!isNumber(text, position, blank - 1) ||
                   keys.find(text[blank - 1]) == std::string::npos) {
            return false;
        }
        position = blank + 1;
        ++items;
    }
    return items > 0;
}

}  // namespace

TEST_F(ControlsE2eTest, TappingVSelectsTheWaterAndSaysSoInTheTitle) {
    demo.tapKey("v");
    EXPECT_TRUE(demo.waitForTitle("selected object: water")) << demo.windowTitle();
    demo.tapKey("v");
    EXPECT_TRUE(demo.waitForTitle("selected object: cliff")) << demo.windowTitle();
    endWithEscape();
}

TEST_F(ControlsE2eTest, RecordingWithWHeldWritesStartWItemsAndEnd) {
    demo.tapKey("p");
    demo.tapKey("r");
    demo.tapKey("w", 0.5);
    demo.tapKey("r");
    const std::string recording = demo.readFile("rec.cfg");
    endWithEscape();
    EXPECT_TRUE(isRecording(recording, "W"))
        << recording;
    EXPECT_NE(recording.find("W "), std::string::npos) << recording;
    EXPECT_NE(demo.standardOutput().find("end playing\nstart recording\nend recording\n"),
              std::string::npos)
        << demo.standardOutput();
    // Esc after the recording has ended leaves the file as it was.
    EXPECT_EQ(demo.readFile("rec.cfg"), recording);
}

TEST_F(ControlsE2eTest, EscWhileRecordingStillWritesTheEndLine) {
    demo.tapKey("r");
    demo.tapKey("f", 0.3);
    EXPECT_EQ(demo.readFile("rec.cfg").find("end"), std::string::npos);
    endWithEscape();
    const std::string recording = demo.readFile("rec.cfg");
    EXPECT_TRUE(isRecording(recording, "F")) << recording;
    const std::string output = demo.standardOutput();
    EXPECT_NE(output.find("start recording\n"), std::string::npos) << output;
    EXPECT_NE(output.find("end recording\n"), std::string::npos) << output;
}

TEST_F(ControlsE2eTest, AnUnwritableRecCfgIsReportedOnceAndTheProgramGoesOn) {
    std::filesystem::create_directory(std::filesystem::path(demo.directory()) / "rec.cfg");
    demo.tapKey("r");
    demo.tapKey("h", 0.3);
    demo.tapKey("r");
    demo.tapKey("p");  // playback on, then off: the directory cannot be read either
    demo.tapKey("p");
    demo.tapKey("p");
    EXPECT_TRUE(demo.isRunning());
    endWithEscape();
    EXPECT_EQ(demo.standardError().find("Cannot write rec.cfg: Is a directory"),
              demo.standardError().rfind("Cannot write rec.cfg"))
        << demo.standardError();
    EXPECT_NE(demo.standardError().find("Cannot write rec.cfg: Is a directory"),
              std::string::npos)
        << demo.standardError();
    EXPECT_NE(demo.standardError().find("Cannot read rec.cfg: Is a directory"),
              std::string::npos)
        << demo.standardError();
}
