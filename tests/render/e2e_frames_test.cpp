// The real program on both contexts it supports: at least 300 frames of the
// scripted demonstration without one OpenGL error line, then a clean exit on
// Escape. With showfps the title changes every 100 frames, which counts them.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <ostream>
#include <thread>

#include "interaction/e2e_session.h"

namespace {

using interaction_test::E2eSession;

struct ContextConfig {
    const char* name;
    const char* versionLines;
};

void PrintTo(const ContextConfig& config, std::ostream* stream) { *stream << config.name; }

class ProgramFrames : public ::testing::TestWithParam<ContextConfig> {};

TEST_P(ProgramFrames, ThreeHundredFramesWithoutAnOpenGLErrorLine) {
    const std::string unavailable = E2eSession::unavailableReason();
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
    E2eSession session;
    {
        std::ofstream config(session.runDirectory() / "config.cfg");
        config << GetParam().versionLines << "showfps=true\n";
    }
    ASSERT_TRUE(session.start(30.0));
    int titleChanges = 0;
    std::string title = session.windowTitle();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(150);
    while (titleChanges < 3 && session.running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::string now = session.windowTitle();
        if (!now.empty() && now != title) {
            ++titleChanges;
            title = now;
        }
    }
    ASSERT_EQ(titleChanges, 3) << "fewer than 300 frames in time; running: " << session.running()
                               << "\nstdout:\n" << session.standardOutput() << "\nstderr:\n"
                               << session.standardError();
    session.holdKey("Escape", 2.0);  // long enough for a slow frame to see it
    EXPECT_EQ(session.waitForExit(20.0), 0);
    EXPECT_EQ(session.standardError().find("GL: "), std::string::npos) << session.standardError();
}

INSTANTIATE_TEST_SUITE_P(
    Contexts, ProgramFrames,
    ::testing::Values(
        ContextConfig{"Compatibility21", "glMajorVersion=2\nglMinorVersion=1\nshaderversion=120\n"},
        ContextConfig{"Core33",
                      "glMajorVersion=3\nglMinorVersion=3\nshaderversion=330\n"
                      "forwardcontextflag=true\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
