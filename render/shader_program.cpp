// Shader building: a shader that fails to compile does not stop the build, so
// the link that follows reports too and the user sees both logs.
#include "render/shader_program.h"

#include <fstream>
#include <iterator>

#include "app/diagnostics.h"
#include "platform/console.h"

namespace {

constexpr GLsizei kInfoLogSize = 8096;

void printShaderInfoLog(GLuint shader) {
    char log[kInfoLogSize];
    log[0] = 0;
    GLsizei length = 0;
    glGetShaderInfoLog(shader, kInfoLogSize, &length, log);
    if (length > 0) platform::printLine(log);
}

void printProgramInfoLog(GLuint program) {
    char log[kInfoLogSize];
    log[0] = 0;
    GLsizei length = 0;
    glGetProgramInfoLog(program, kInfoLogSize, &length, log);
    if (length > 0) platform::printLine(log);
}

}  // namespace

bool fileExists(const std::string& path) {
    std::ifstream file(path);
    return file.good();
}

std::string readTextFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

ShaderProgram::ShaderProgram(const std::string& basePath, int kind) : kind(kind) {
    const std::string vertexPath = basePath + ".vert";
    const std::string fragmentPath = basePath + ".frag";
    if (!fileExists(vertexPath)) {
        platform::printErrorLine("Vertex shader file " + vertexPath + " does not exist.");
        return;
    }
    vertexSource = readTextFile(vertexPath);
    if (!fileExists(fragmentPath)) {
        platform::printErrorLine("Fragment shader file " + fragmentPath + " does not exist.");
        return;
    }
    fragmentSource = readTextFile(fragmentPath);

    vertexShaderId = compile(GL_VERTEX_SHADER, vertexSource);
    if (vertexShaderId == 0) return;
    reportGLError();
    fragmentShaderId = compile(GL_FRAGMENT_SHADER, fragmentSource);
    if (fragmentShaderId == 0) return;
    reportGLError();
    link();
    if (programId != 0) {
        loaded = true;
        reportGLError();
    }
}

ShaderProgram::~ShaderProgram() {
    glDeleteProgram(programId);
    glDeleteShader(vertexShaderId);
    glDeleteShader(fragmentShaderId);
}

GLuint ShaderProgram::compile(GLenum type, const std::string& source) {
    GLuint shader = glCreateShader(type);
    if (shader == 0) {
        platform::printErrorLine("Could not create shader object.");
        return 0;
    }
    const GLchar* text = source.data();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);
    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status != GL_TRUE) {
        platform::printLine("Shader compilation failed.");
        printShaderInfoLog(shader);
    }
    reportGLError();
    return shader;
}

void ShaderProgram::link() {
    programId = glCreateProgram();
    glAttachShader(programId, vertexShaderId);
    glAttachShader(programId, fragmentShaderId);
    // Some drivers draw nothing unless attribute array 0 is enabled, so the
    // position, which every program has and every draw enables, takes it.
    glBindAttribLocation(programId, 0, "in_Position");
    glLinkProgram(programId);
    GLint status = GL_FALSE;
    glGetProgramiv(programId, GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        platform::printLine("Shader linking failed.");
        printProgramInfoLog(programId);
        glDeleteProgram(programId);
        programId = 0;
    }
    reportGLError();
}

void ShaderProgram::bind() const { glUseProgram(programId); }

void ShaderProgram::unbind() const { glUseProgram(0); }

GLint ShaderProgram::getUniformLocation(const char* name) const {
    return glGetUniformLocation(programId, name);
}

GLint ShaderProgram::getAttribLocation(const char* name) const {
    return glGetAttribLocation(programId, name);
}
