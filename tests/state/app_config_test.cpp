// config.cfg is taken literally: only "true" is true, "%i" integer forms, no
// trimming, '#' only in the first column, the last occurrence of a key wins.
#include "state/app_config.h"

#include "test_support.h"

TEST(ConfigReader, EveryLineFormReadsAsScanfAndStringCompareWould) {
    const std::pair<const char*, const char*> rows[] = {
        {"", "800x600 gl2.1 [120]"},
        {"window_width=1024\nwindow_height=768\nglMajorVersion=3\nglMinorVersion=3\n",
         "1024x768 gl3.3 [120]"},
        {"window_width=0x400", "1024x600 gl2.1 [120]"},  // no line end after the last line
        {"window_width=0X10\n", "16x600 gl2.1 [120]"},
        {"window_width=010\n", "8x600 gl2.1 [120]"},
        {"window_width=12abc\n", "12x600 gl2.1 [120]"},
        {"window_width=abc\nwindow_height=\n", "800x600 gl2.1 [120]"},
        {"window_height= -7\n", "800x-7 gl2.1 [120]"},
        {"window_width=99999999999999999999\n", "2147483647x600 gl2.1 [120]"},
        {"window_width=-99999999999999999999\n", "-2147483648x600 gl2.1 [120]"},
        {"fullscreen=true\nshowfps=true\nforwardcontextflag=false\n",
         "800x600 gl2.1 [120] full nofwd fps"},
        {"fullscreen=True\nshowfps=TRUE\n", "800x600 gl2.1 [120]"},
        {"fullscreen=1\nshowfps=true \nforwardcontextflag=yes\n", "800x600 gl2.1 [120] nofwd"},
        {"#window_width=1024\n #window_width=1024\n\n\nwindow_height=480\n", "800x480 gl2.1 [120]"},
        {"shaderversion=33#0\n", "800x600 gl2.1 [33#0]"},  // '#' after the first column is text
        {"window_width = 1024\nWindow_width=1024\nshaderversion=330 \n", "800x600 gl2.1 [330 ]"},
        {"shaderversion=a=b=c\n", "800x600 gl2.1 [a=b=c]"},
        {"shaderversion\n", "800x600 gl2.1 [shaderversion]"},
        {"shaderversion=330\r\nshowfps=true\r\nwindow_width=640\r\n", "640x600 gl2.1 [330] fps"},
        {"window_width=640\nwindow_width=1024\n", "1024x600 gl2.1 [120]"},
        {"window_width=640\nwindow_width=x\n", "640x600 gl2.1 [120]"},
    };
    auto read = [](const char* file) {
        AppConfig c;
        readConfigInto(file, c);
        return std::to_string(c.window_width) + "x" + std::to_string(c.window_height) + " gl" +
               std::to_string(c.glMajorVersion) + "." + std::to_string(c.glMinorVersion) + " [" +
               c.shaderversion + "]" + (c.fullscreen == platform::GLFW_FULLSCREEN ? " full" : "") +
               (c.forwardcontextflag ? "" : " nofwd") + (c.showfps ? " fps" : "");
    };
    support::ScratchDirectory scratch;
    for (const auto& [text, expected] : rows) {
        support::writeFile("config.cfg", text);
        EXPECT_EQ(read("config.cfg"), expected) << text;
    }
    EXPECT_EQ(read("no_such.cfg"), "800x600 gl2.1 [120]");
    support::writeFile("config.cfg", "window_height=480\n");
    readConfig("config.cfg");  // into the program's configuration
    EXPECT_EQ(appConfig.window_height, 480);
    appConfig = AppConfig();
}
