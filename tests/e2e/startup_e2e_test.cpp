// Start-up and shutdown of the real binary: the default window, the context
// report, the fatal shader failure, and the three ways to end the program.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>

#include "demo_process.h"

TEST(Startup, WithoutConfigOpens800By600AndEscEndsWithStatusZero) {
    DemoProcess demo;
    demo.start();
    ASSERT_NE(demo.waitForWindow(), 0u) << demo.standardError();
    int width = 0, height = 0;
    demo.windowSize(&width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    demo.tapKey("Escape");
    EXPECT_EQ(demo.waitForExit(), 0) << demo.standardError();
    const std::string out = demo.standardOutput();
    EXPECT_EQ(out.rfind("Loaded OpenGL Version ", 0), 0u) << out;
    EXPECT_NE(out.find("\nContext is NOT forward compatible.\n"
                       "Doing illegal operation (glTranslate) now...\n"),
              std::string::npos)
        << out;
    EXPECT_NE(demo.standardError().find("Illegal operation did NOT cause an error message. :(\n"),
              std::string::npos);
}

TEST(Startup, HexadecimalWidthFromConfig) {
    DemoProcess demo;
    demo.writeFile("config.cfg", "window_width=0x400\n");
    demo.start();
    ASSERT_NE(demo.waitForWindow(), 0u) << demo.standardError();
    int width = 0, height = 0;
    demo.windowSize(&width, &height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 600);
    demo.tapKey("q");
    EXPECT_EQ(demo.waitForExit(), 0) << demo.standardError();
}

TEST(Startup, MissingMinimalVertexShaderIsFatal) {
    DemoProcess demo;
    demo.removePath("Shaders/120/minimal.vert");
    demo.start();
    EXPECT_EQ(demo.waitForExit(), 1);
    EXPECT_EQ(demo.standardError().find("Fragment shader file"), std::string::npos);
    EXPECT_NE(demo.standardError().find("Vertex shader file Shaders/120/minimal.vert does not exist.\n"),
              std::string::npos);
    const std::string out = demo.standardOutput();
    EXPECT_NE(out.find("Could not compile minimal shader program.\n"), std::string::npos) << out;
    // The base program is never built.
    EXPECT_EQ(out.find("base"), std::string::npos) << out;
    EXPECT_EQ(demo.standardError().find("base"), std::string::npos);
}

TEST(Startup, BrokenBaseShaderIsFatalAfterItsLogs) {
    DemoProcess demo;
    demo.writeFile("Shaders/120/base.frag", "#version 120\nvoid main() { oops }\n");
    demo.start();
    EXPECT_EQ(demo.waitForExit(), 1);
    const std::string out = demo.standardOutput();
    const std::size_t compile = out.find("Shader compilation failed.\n");
    const std::size_t link = out.find("Shader linking failed.\n");
    const std::size_t fatal = out.find("Could not compile base shader program.\n");
    ASSERT_NE(compile, std::string::npos) << out;
    ASSERT_NE(link, std::string::npos) << out;
    ASSERT_NE(fatal, std::string::npos) << out;
    EXPECT_LT(compile, link);
    EXPECT_LT(link, fatal);
}

TEST(Startup, ClosingTheWindowEndsWithStatusZero) {
    DemoProcess demo;
    demo.start();
    ASSERT_NE(demo.waitForWindow(), 0u) << demo.standardError();
    demo.requestClose();
    EXPECT_EQ(demo.waitForExit(), 0) << demo.standardError();
}

TEST(Startup, UnopenableWindowIsFatal) {
    // Too small, negative (GLFW would fail an assertion), past what the window
    // system can give, and past the largest viewport of the context.
    for (const char* config : {"window_width=0\n", "window_width=-5\n", "window_height=-5\n",
                               "window_width=800000000\n", "window_width=20000\n"}) {
        DemoProcess demo;
        demo.writeFile("config.cfg", config);
        demo.start();
        EXPECT_EQ(demo.waitForExit(), 1) << config;
        EXPECT_NE(demo.standardError().find("Failed to initialize OpenGL window.\n"),
                  std::string::npos)
            << config << demo.standardError();
    }
}

TEST(Startup, FrameRateTitleWithShowfps) {
    DemoProcess demo;
    // A small window keeps 100 frames of the full scene quick on a software renderer.
    demo.writeFile("config.cfg", "showfps=true\nwindow_width=160\nwindow_height=120\n");
    demo.start();
    ASSERT_NE(demo.waitForWindow(), 0u) << demo.standardError();
    // The title is replaced every 100 frames by the rate, "%5.2f".
    std::string title;
    for (int attempt = 0; attempt < 300; ++attempt) {
        title = demo.windowTitle();
        if (title != "GLFW Window") break;
        usleep(200000);
    }
    double rate = 0.0;
    char rest = 0;
    EXPECT_EQ(std::sscanf(title.c_str(), "%lf%c", &rate, &rest), 1) << title;
    EXPECT_GT(rate, 0.0);
    EXPECT_GE(title.size(), 5u);
    EXPECT_EQ(title[title.size() - 3], '.') << title;
    demo.tapKey("Escape");
    EXPECT_EQ(demo.waitForExit(), 0) << demo.standardError();
}
