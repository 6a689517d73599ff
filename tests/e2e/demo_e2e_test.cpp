// The real island binary, for what only it can show: that main reads
// config.cfg, reports the context, takes keys from the X server (taps that
// fall between two polls included), finishes a recording when Esc ends it,
// ends with status 0 on Esc or a closed window and 1 when start-up fails.

#include <regex>

#include "demo_process.h"

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(Demo, TapsRecordAMoveOfTheLightAndEscEndsTheRecordingAndTheProgram) {
    DemoProcess demo;
    const auto recording = [&] { return support::readFile(demo.path("rec.cfg")); };
    support::writeFile(demo.path("config.cfg"), "window_width=0x400\n");
    demo.start();
    ASSERT_TRUE(demo.awaitFirstFrame());
    EXPECT_EQ(demo.windowSize(), "1024x600");
    demo.tapKey("r");
    ASSERT_TRUE(demo.await("\"start recording\"",
                           [&] { return contains(demo.standardOutput(), "start recording\n"); }));
    demo.tapKey("f");
    ASSERT_TRUE(demo.await("an F item in rec.cfg", [&] { return contains(recording(), "F "); }));
    demo.tapKey("Escape");
    EXPECT_EQ(demo.awaitExit(), 0);
    // A held key tapped acts for one frame: one item.
    EXPECT_TRUE(std::regex_match(recording(), std::regex("start0\n[0-9]+F \nend[0-9]+")))
        << recording();
    const std::string out = demo.standardOutput();
    EXPECT_EQ(out.rfind("Loaded OpenGL Version ", 0), 0u) << out;
    EXPECT_TRUE(contains(out, "\nContext is NOT forward compatible.\nDoing illegal operation"));
    EXPECT_TRUE(contains(out, "start recording\nend recording\n")) << out;
    const std::string err = demo.standardError();
    EXPECT_TRUE(contains(err, "Illegal operation did NOT cause an error message. :(\n"));
    EXPECT_FALSE(contains(err, "GL: ")) << err;
}

TEST(Demo, ClosingTheWindowEndsWithStatusZero) {
    DemoProcess demo;
    demo.start();
    ASSERT_TRUE(demo.awaitFirstFrame());
    EXPECT_EQ(demo.windowSize(), "800x600");
    demo.requestClose();
    EXPECT_EQ(demo.awaitExit(), 0) << demo.standardError();
}

TEST(Demo, AFailedStartUpEndsWithStatusOneAndSaysWhy) {
    const struct {
        const char* file;
        const char* contents;
        const char* message;  // on standard error, or standard output
    } rows[] = {
        // Too small, negative (GLFW would fail an assertion), past what the
        // window system can give, and past the context's largest viewport.
        {"config.cfg", "window_width=0\n", "Failed to initialize OpenGL window.\n"},
        {"config.cfg", "window_height=-5\n", "Failed to initialize OpenGL window.\n"},
        {"config.cfg", "window_width=800000000\n", "Failed to initialize OpenGL window.\n"},
        {"config.cfg", "window_width=20000\n", "Failed to initialize OpenGL window.\n"},
        {"Shaders/120/base.frag", "#version 120\nvoid main() { oops }\n",
         "Could not compile base shader program.\n"},
    };
    for (const auto& row : rows) {
        DemoProcess demo;
        support::writeFile(demo.path(row.file), row.contents);
        demo.start();
        EXPECT_EQ(demo.awaitExit(), 1) << row.contents;
        EXPECT_TRUE(contains(demo.standardError() + demo.standardOutput(), row.message))
            << demo.standardOutput();
    }
}
