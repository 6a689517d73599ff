// The error report takes one error per call and names it on standard error.
// The context layer and the context report tell a compatibility context from a
// forward-compatible core one, and get a real 2.x context (which knows neither
// the version nor the flags queries) right. Built once per kind of context, since a process
// has one window.
#include "app/diagnostics.h"

#include <cstdlib>

#include "gl_test_support.h"
#include "platform/gl_context.h"

namespace {

const bool kCore = ISLAND_CORE_CONTEXT;

class Diagnostics : public testing::Test {
  protected:
    void SetUp() override {
        if (ISLAND_LEGACY_CONTEXT) setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
        ASSERT_TRUE(support::openContext(kCore ? support::kCore : support::kCompatibility));
    }
    void TearDown() override { support::closeContext(); }
};

}  // namespace

TEST_F(Diagnostics, ErrorsAreReportedOneAtATime) {
    EXPECT_TRUE(support::takeGLErrors().empty());
    const std::pair<GLenum, const char*> messages[] = {
        {GL_NO_ERROR, ""},
        {GL_INVALID_ENUM, "GL: enum argument out of range."},
        {GL_INVALID_VALUE, "GL: Numeric argument out of range."},
        {GL_INVALID_OPERATION, "GL: Operation illegal in current state."},
        {GL_OUT_OF_MEMORY, "GL: Not enough memory left to execute command."},
        {GL_INVALID_FRAMEBUFFER_OPERATION, "GL: Framebuffer object is not complete."},
        {0x0503, "GL: Unknown error."},  // stack overflow
        {0x1234, "GL: Unknown error."}};
    for (const auto& [code, text] : messages)
        EXPECT_STREQ(platform::glErrorMessage(code), text) << code;
    glEnable(0xFFFF);  // not a capability: GL_INVALID_ENUM
    testing::internal::CaptureStderr();
    EXPECT_EQ(support::printedBy([] { platform::reportGLError(), platform::reportGLError(); }), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "GL: enum argument out of range.\n");
}

TEST_F(Diagnostics, TheContextDescribesItself) {
    // The kind is told without a query the context does not know (2.x knows
    // neither the flags nor the profile).
    using platform::GLContextKind;
    const GLContextKind contextKind = kCore                   ? GLContextKind::Core
                                      : ISLAND_LEGACY_CONTEXT ? GLContextKind::Legacy
                                                              : GLContextKind::Compatibility;
    EXPECT_EQ(platform::currentGLContextKind(), contextKind);
    EXPECT_EQ(platform::contextLacksFixedFunction(), kCore);
    EXPECT_TRUE(support::takeGLErrors().empty());
    testing::internal::CaptureStderr();
    const std::string out = support::printedBy(printContextInfo);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              kCore ? "" : "Illegal operation did NOT cause an error message. :(\n");
    EXPECT_EQ(
        out.rfind(ISLAND_LEGACY_CONTEXT ? "Loaded OpenGL Version 2.1\n" : "Loaded OpenGL Version ",
                  0),
        0u)
        << out;
    const std::string kind =
        kCore ? "\nContext is forward compatible.\n" : "\nContext is NOT forward compatible.\n";
    const std::string result = kCore ? "Illegal operation caused an error message. :)\n" : "";
    EXPECT_NE(out.find(kind + "Doing illegal operation (glTranslate) now...\n" + result),
              std::string::npos)
        << out;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));  // the report took its own error
}
