// rec.cfg as the recorder writes it: the exact bytes, the frame counts of
// items in the same frame and across frames, and a file that cannot be
// written.
#include "app/input_recorder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "interaction_test_support.h"

using interaction_test::readFile;
using interaction_test::ScratchDirectory;

namespace {

void countFrames(InputRecorder& recorder, int frames) {
    for (int frame = 0; frame < frames; ++frame) recorder.countFrame();
}

}  // namespace

// Two frames after the start the mouse moves 3 pixels right and W is held;
// five frames later F; three frames after that the recording ends.
TEST(InputRecorder, WritesTheDocumentedExampleByteForByte) {
    ScratchDirectory scratch;
    InputRecorder recorder;
    testing::internal::CaptureStdout();
    recorder.startRecording();
    countFrames(recorder, 2);
    recorder.recordMouse(3, 0);
    recorder.recordKey('W');
    countFrames(recorder, 5);
    recorder.recordKey('F');
    countFrames(recorder, 3);
    recorder.stopRecording();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "start recording\nend recording\n");
    EXPECT_EQ(readFile("rec.cfg"), "start0\n2_3_0 0W 5F \nend3");
}

TEST(InputRecorder, EveryItemIsOnDiskAsSoonAsItIsRecorded) {
    ScratchDirectory scratch;
    InputRecorder recorder;
    testing::internal::CaptureStdout();
    recorder.startRecording();
    EXPECT_EQ(readFile("rec.cfg"), "start0\n");
    countFrames(recorder, 1);
    recorder.recordMouse(-4, -2);
    recorder.recordKey('F');
    EXPECT_EQ(readFile("rec.cfg"), "start0\n1_-4_-2 0F ");
    testing::internal::GetCapturedStdout();
}

TEST(InputRecorder, StartAndStopWithNothingBetweenGiveAnEmptyItemLine) {
    ScratchDirectory scratch;
    InputRecorder recorder;
    testing::internal::CaptureStdout();
    recorder.startRecording();
    countFrames(recorder, 4);
    recorder.stopRecording();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(readFile("rec.cfg"), "start0\n\nend4");
}

TEST(InputRecorder, ANewRecordingReplacesTheOldFile) {
    ScratchDirectory scratch;
    InputRecorder recorder;
    testing::internal::CaptureStdout();
    recorder.startRecording();
    countFrames(recorder, 7);
    recorder.recordKey('H');
    recorder.recordKey('H');
    recorder.stopRecording();
    recorder.startRecording();
    countFrames(recorder, 2);
    recorder.stopRecording();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(readFile("rec.cfg"), "start0\n\nend2");
}

TEST(InputRecorder, ARecCfgDirectoryIsReportedOnceAndNothingBreaks) {
    ScratchDirectory scratch;
    std::filesystem::create_directory("rec.cfg");
    InputRecorder recorder;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    recorder.startRecording();
    countFrames(recorder, 2);
    recorder.recordMouse(1, 1);
    recorder.recordKey('W');
    recorder.stopRecording();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "start recording\nend recording\n");
    EXPECT_EQ(errors, "Cannot write rec.cfg: Is a directory (this recording is not saved)\n");
    EXPECT_TRUE(std::filesystem::is_directory("rec.cfg"));

    // The next recording reports again, once.
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    recorder.startRecording();
    recorder.recordKey('W');
    const std::string secondErrors = testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(secondErrors, errors);
}

// The recording runs in a forked child; as root it first drops to an
// unprivileged user, for whom the directory really is read-only.
TEST(InputRecorderDeathTest, AReadOnlyDirectoryIsReportedOnceWithoutACrash) {
    GTEST_FLAG_SET(death_test_style, "fast");
    ScratchDirectory scratch;
    ASSERT_EQ(chmod(scratch.path.c_str(), 0555), 0);
    EXPECT_EXIT(
        {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) std::_Exit(3);
            InputRecorder recorder;
            recorder.startRecording();
            countFrames(recorder, 3);
            recorder.recordMouse(2, -2);
            recorder.recordKey('A');
            recorder.stopRecording();
            std::_Exit(std::filesystem::exists("rec.cfg") ? 4 : 0);
        },
        testing::ExitedWithCode(0),
        testing::MatchesRegex("Cannot write rec\\.cfg: Permission denied \\(this recording is "
                              "not saved\\)\n"));
}
