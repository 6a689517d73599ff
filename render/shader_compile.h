// Compiling one shader object from its source. A shader that fails to compile
// is still returned, so that the link that follows is attempted and reports
// too: the user then sees both logs.
#pragma once

#include <string>

#include "platform/gl.h"

// A shader object of `type` given `source` (its length passed, so the text
// need not end in a NUL) and compiled; 0 where the driver created none.
// Reports nothing.
GLuint compiledShader(GLenum type, const std::string& source);

// True when the compile of `shader` succeeded.
bool compiledCleanly(GLuint shader);

// compiledShader, reporting: "Could not create shader object." on standard
// error for 0; "Shader compilation failed." and the shader's log on standard
// output for a failed compile, whose shader is returned all the same; then
// any pending OpenGL error.
GLuint compileAndReport(GLenum type, const std::string& source);
