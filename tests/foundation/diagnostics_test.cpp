// The error report takes one error per call and names it; the context report
// tells a compatibility context from a forward-compatible core one. The core
// cases run in their own test program, since a process has one context.
#include <gtest/gtest.h>

#include <string>

#include "app/diagnostics.h"
#include "gl_test_context.h"
#include "platform/gl.h"

#ifndef ISLAND_CORE_CONTEXT
#define ISLAND_CORE_CONTEXT 0
#endif

namespace {

class Diagnostics : public ::testing::Test {
protected:
    void SetUp() override {
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
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));  // the report consumed its error
}
