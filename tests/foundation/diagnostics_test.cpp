// The error report takes one error per call and names it; the context report
// tells a compatibility context from a forward-compatible core one, and gets
// a real 2.x context right. The core and the 2.x cases run in test programs
// of their own, since a process has one kind of context.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/diagnostics.h"
#include "gl_test_context.h"
#include "platform/gl.h"

#ifndef ISLAND_CORE_CONTEXT
#define ISLAND_CORE_CONTEXT 0
#endif
// A 2.x context, which knows neither the version nor the flags queries.
#ifndef ISLAND_LEGACY_CONTEXT
#define ISLAND_LEGACY_CONTEXT 0
#endif

namespace {

class Diagnostics : public ::testing::Test {
protected:
    void SetUp() override {
        if (ISLAND_LEGACY_CONTEXT) setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
        testing::internal::CaptureStdout();  // start-up's own context report
        testing::internal::CaptureStderr();
        const bool open = gltest::openContext(ISLAND_CORE_CONTEXT ? gltest::coreContext()
                                                                  : gltest::compatibilityContext());
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        if (!open) GTEST_SKIP() << "no display";
        gltest::takeGLErrors();
    }
    void TearDown() override { gltest::closeContext(); }
};

}  // namespace

TEST(GLErrorMessages, EachCodeHasItsText) {
    EXPECT_STREQ(glErrorMessage(GL_NO_ERROR), "");
    EXPECT_STREQ(glErrorMessage(GL_INVALID_ENUM), "GL: enum argument out of range.");
    EXPECT_STREQ(glErrorMessage(GL_INVALID_VALUE), "GL: Numeric argument out of range.");
    EXPECT_STREQ(glErrorMessage(GL_INVALID_OPERATION), "GL: Operation illegal in current state.");
    EXPECT_STREQ(glErrorMessage(GL_OUT_OF_MEMORY),
                 "GL: Not enough memory left to execute command.");
    EXPECT_STREQ(glErrorMessage(GL_INVALID_FRAMEBUFFER_OPERATION),
                 "GL: Framebuffer object is not complete.");
    EXPECT_STREQ(glErrorMessage(0x0503), "GL: Unknown error.");  // stack overflow
    EXPECT_STREQ(glErrorMessage(0x0504), "GL: Unknown error.");  // stack underflow
    EXPECT_STREQ(glErrorMessage(0x1234), "GL: Unknown error.");
}

TEST_F(Diagnostics, ReportTakesOneErrorAndPrintsItOnStandardError) {
    glEnable(0xFFFF);  // not a capability: GL_INVALID_ENUM
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    reportGLError();
    reportGLError();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "GL: enum argument out of range.\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(Diagnostics, ReportPrintsNothingWithoutAnError) {
    testing::internal::CaptureStderr();
    reportGLError();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(Diagnostics, ContextReportTellsTheKindOfContext) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    printContextInfo();
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out.rfind("Loaded OpenGL Version ", 0), 0u) << out;
    if (ISLAND_CORE_CONTEXT) {
        EXPECT_NE(out.find("\nContext is forward compatible.\n"
                           "Doing illegal operation (glTranslate) now...\n"
                           "Illegal operation caused an error message. :)\n"),
                  std::string::npos)
            << out;
        EXPECT_EQ(err, "");
    } else {
        EXPECT_NE(out.find("\nContext is NOT forward compatible.\n"
                           "Doing illegal operation (glTranslate) now...\n"),
                  std::string::npos)
            << out;
        EXPECT_EQ(err, "Illegal operation did NOT cause an error message. :(\n");
    }
    if (ISLAND_LEGACY_CONTEXT) {
        EXPECT_EQ(out.rfind("Loaded OpenGL Version 2.1\n", 0), 0u) << out;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));  // the report consumed its error
}
