// config.cfg is taken literally: only "true" is true, "%i" integer forms,
// no trimming, the last occurrence of a key wins.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "app/app_config.h"

namespace {

AppConfig readFrom(const std::string& text) {
    // Test cases run in parallel in one directory: each writes a file of its own.
    const std::string path =
        std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".cfg";
    {
        std::ofstream file(path, std::ios::binary);
        file << text;
    }
    AppConfig config;
    readConfigInto(path, config);
    std::remove(path.c_str());
    return config;
}

}  // namespace

TEST(ConfigReader, MissingFileKeepsEveryDefault) {
    AppConfig config;
    readConfigInto("no_such_config.cfg", config);
    EXPECT_EQ(config.window_width, 800);
    EXPECT_EQ(config.window_height, 600);
    EXPECT_EQ(config.glMajorVersion, 2);
    EXPECT_EQ(config.glMinorVersion, 1);
    EXPECT_EQ(config.shaderversion, "120");
    EXPECT_EQ(config.fullscreen, platform::GLFW_WINDOW);
    EXPECT_TRUE(config.forwardcontextflag);
    EXPECT_FALSE(config.showfps);
}

TEST(ConfigReader, OnlyTheExactWordTrueCounts) {
    EXPECT_EQ(readFrom("fullscreen=True\n").fullscreen, platform::GLFW_WINDOW);
    EXPECT_EQ(readFrom("fullscreen=1\n").fullscreen, platform::GLFW_WINDOW);
    EXPECT_EQ(readFrom("fullscreen=true\n").fullscreen, platform::GLFW_FULLSCREEN);
    EXPECT_FALSE(readFrom("showfps=TRUE\n").showfps);
    EXPECT_TRUE(readFrom("showfps=true\n").showfps);
    EXPECT_FALSE(readFrom("forwardcontextflag=yes\n").forwardcontextflag);
    EXPECT_FALSE(readFrom("showfps=true \n").showfps);  // a trailing blank is part of the value
}

TEST(ConfigReader, IntegerFormsFollowPercentI) {
    EXPECT_EQ(readFrom("window_width=0x400\n").window_width, 1024);
    EXPECT_EQ(readFrom("window_width=0X10\n").window_width, 16);
    EXPECT_EQ(readFrom("window_width=010\n").window_width, 8);
    EXPECT_EQ(readFrom("window_width=12abc\n").window_width, 12);
    EXPECT_EQ(readFrom("window_width=abc\n").window_width, 800);
    EXPECT_EQ(readFrom("window_width=\n").window_width, 800);
    EXPECT_EQ(readFrom("window_height= -7\n").window_height, -7);
    EXPECT_EQ(readFrom("glMajorVersion=3\nglMinorVersion=3\n").glMinorVersion, 3);
}

TEST(ConfigReader, HugeNumbersDoNotWrapAround) {
    EXPECT_EQ(readFrom("window_width=99999999999999999999\n").window_width, 2147483647);
    EXPECT_EQ(readFrom("window_width=-99999999999999999999\n").window_width, -2147483647 - 1);
}

TEST(ConfigReader, CommentsOnlyInColumnZero) {
    EXPECT_EQ(readFrom("#window_width=1024\n").window_width, 800);
    EXPECT_EQ(readFrom(" #window_width=1024\n").window_width, 800);  // unknown key, ignored
    EXPECT_EQ(readFrom("\n\nwindow_width=640\n").window_width, 640);
}

TEST(ConfigReader, KeysAndValuesAreNotTrimmed) {
    EXPECT_EQ(readFrom("window_width = 1024\n").window_width, 800);
    EXPECT_EQ(readFrom("shaderversion=330 \n").shaderversion, "330 ");
    EXPECT_EQ(readFrom("Window_width=1024\n").window_width, 800);
}

TEST(ConfigReader, ValueKeepsEqualsSignsAfterTheFirst) {
    EXPECT_EQ(readFrom("shaderversion=a=b=c\n").shaderversion, "a=b=c");
}

TEST(ConfigReader, LineWithoutEqualsIsItsOwnKeyAndValue) {
    EXPECT_EQ(readFrom("shaderversion\n").shaderversion, "shaderversion");
}

TEST(ConfigReader, LastLineWithoutLineEndIsRead) {
    EXPECT_EQ(readFrom("window_width=640").window_width, 640);
    EXPECT_EQ(readFrom("shaderversion=330").shaderversion, "330");
}

TEST(ConfigReader, WindowsLineEndsAreStripped) {
    AppConfig config = readFrom("shaderversion=330\r\nshowfps=true\r\nwindow_width=640\r\n");
    EXPECT_EQ(config.shaderversion, "330");
    EXPECT_TRUE(config.showfps);
    EXPECT_EQ(config.window_width, 640);
}

TEST(ConfigReader, LastOccurrenceOfAKeyWins) {
    EXPECT_EQ(readFrom("window_width=640\nwindow_width=1024\n").window_width, 1024);
    // A later value without a number leaves the earlier one in place.
    EXPECT_EQ(readFrom("window_width=640\nwindow_width=x\n").window_width, 640);
}

TEST(ConfigReader, ReadConfigFillsTheGlobalConfiguration) {
    {
        std::ofstream file("global_config_test.cfg");
        file << "window_height=480\n";
    }
    readConfig("global_config_test.cfg");
    std::remove("global_config_test.cfg");
    EXPECT_EQ(appConfig.window_height, 480);
    appConfig = AppConfig();
}
