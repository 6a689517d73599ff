// The quiet form serves the builds and the probes that only ask whether a
// source compiles; the reporting form serves the program built from the files.
#include "render/shader_compile.h"

#include "platform/console.h"
#include "platform/gl_context.h"
#include "render/info_log.h"

GLuint compiledShader(GLenum type, const std::string& source) {
    const GLuint shader = glCreateShader(type);
    if (shader == 0) return 0;
    const GLchar* text = source.data();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);
    return shader;
}

bool compiledCleanly(GLuint shader) {
    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    return status == GL_TRUE;
}

GLuint compileAndReport(GLenum type, const std::string& source) {
    const GLuint shader = compiledShader(type, source);
    if (shader == 0) {
        platform::printErrorLine("Could not create shader object.");
        return 0;
    }
    if (!compiledCleanly(shader)) {
        platform::printLine("Shader compilation failed.");
        printInfoLog(InfoLogOf::Shader, shader);
    }
    platform::reportGLError();
    return shader;
}
