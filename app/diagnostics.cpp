// The context report asks for the version and the flags with queries that
// 2.x contexts do not know. They then raise GL_INVALID_ENUM, which is taken
// from the queue before the report's own error test, and the version is the
// one the context layer reads from the version string instead.
#include "app/diagnostics.h"

#include <string>

#include "platform/console.h"
#include "platform/gl.h"
#include "platform/gl_context.h"

namespace {

// Takes the errors that the queries before it raised; true when there were any.
// Bounded, since a lost context may report an error at every call.
bool discardErrors() {
    bool any = false;
    for (int taken = 0; taken < 8 && glGetError() != GL_NO_ERROR; ++taken) any = true;
    return any;
}

}  // namespace

void printContextInfo() {
    GLint major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    if (discardErrors()) {
        const platform::GLVersion version = platform::currentGLVersion();
        major = version.major;
        minor = version.minor;
    }
    platform::printLine("Loaded OpenGL Version " + std::to_string(major) + "." +
                        std::to_string(minor));
    GLint flags = 0;
    glGetIntegerv(GL_CONTEXT_FLAGS, &flags);
    if (discardErrors()) flags = 0;  // 2.x knows no flags: not forward compatible
    platform::printLine((flags & GL_CONTEXT_FLAG_FORWARD_COMPATIBLE_BIT)
                            ? "Context is forward compatible."
                            : "Context is NOT forward compatible.");
    platform::printLine("Doing illegal operation (glTranslate) now...");
    glTranslatef(1.0f, 0.0f, 0.0f);
    if (glGetError() != GL_NO_ERROR) {
        platform::printLine("Illegal operation caused an error message. :)");
    } else {
        platform::printErrorLine("Illegal operation did NOT cause an error message. :(");
    }
}
