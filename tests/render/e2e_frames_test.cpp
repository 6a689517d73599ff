// The real program on both contexts it supports: at least 300 frames of the
// scripted demonstration without one OpenGL error line, then a clean exit on
// Escape. With showfps the title changes every 100 frames, which counts them.
#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <thread>

#include "demo_process.h"

namespace {

struct ContextConfig {
    const char* name;
    const char* versionLines;
};

void PrintTo(const ContextConfig& config, std::ostream* stream) { *stream << config.name; }

class ProgramFrames : public ::testing::TestWithParam<ContextConfig> {};

TEST_P(ProgramFrames, ThreeHundredFramesWithoutAnOpenGLErrorLine) {
    DemoProcess demo;
    demo.writeFile("config.cfg", std::string(GetParam().versionLines) + "showfps=true\n");
    demo.start();
    ASSERT_NE(demo.waitForWindow(30.0), 0u) << demo.standardError();
    int titleChanges = 0;
    std::string title = demo.windowTitle();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(150);
    while (titleChanges < 3 && demo.isRunning() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::string now = demo.windowTitle();
        if (!now.empty() && now != title) {
            ++titleChanges;
            title = now;
        }
    }
    ASSERT_EQ(titleChanges, 3) << "fewer than 300 frames in time; running: " << demo.isRunning()
                               << "\nstdout:\n" << demo.standardOutput() << "\nstderr:\n"
                               << demo.standardError();
    demo.tapKey("Escape", 2.0);  // long enough for a slow frame to see it
    EXPECT_EQ(demo.waitForExit(20.0), 0);
    EXPECT_EQ(demo.standardError().find("GL: "), std::string::npos) << demo.standardError();
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
