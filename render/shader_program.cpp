// Shader building: a shader that fails to compile does not stop the build, so
// the link that follows reports too and the user sees both logs.
#include "render/shader_program.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/console.h"
#include "platform/gl_context.h"
#include "render/shading_mode.h"

using platform::reportGLError;

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

// Modes the base shaders know: the user's 0..6, the shadow pass's -2 and the
// reflection pass's 7. Any other value draws with the general program.
constexpr int kLowestSpecializedMode = kModeShadowPass;
constexpr int kHighestSpecializedMode = kModeReflectionPass;
constexpr const char* kModeMacro = "SHADING_MODE";

// `source` with `definitions` after its #version line, which must stay first.
std::string withDefinitions(const std::string& source, const std::string& definitions) {
    if (source.compare(0, 8, "#version") != 0) return definitions + source;
    const size_t lineEnd = source.find('\n');
    if (lineEnd == std::string::npos) return source + "\n" + definitions;
    return source.substr(0, lineEnd + 1) + definitions + source.substr(lineEnd + 1);
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
        buildsPerMode = vertexSource.find(kModeMacro) != std::string::npos &&
                        fragmentSource.find(kModeMacro) != std::string::npos;
        reportGLError();
    }
}

ShaderProgram::ShaderProgram(const ShaderProgram& general, const std::string& definitions)
    : kind(general.kind), quiet(true) {
    vertexSource = withDefinitions(general.vertexSource, definitions);
    fragmentSource = withDefinitions(general.fragmentSource, definitions);
    vertexShaderId = compile(GL_VERTEX_SHADER, vertexSource);
    if (vertexShaderId == 0) return;
    fragmentShaderId = compile(GL_FRAGMENT_SHADER, fragmentSource);
    if (fragmentShaderId == 0) return;
    programId = glCreateProgram();
    // The meshes found their attribute locations in the general program.
    bindAttribLocationsOf(general);
    link();
    loaded = programId != 0;
    if (loaded) findSharedUniforms(general);
}

ShaderProgram::~ShaderProgram() {
    glDeleteProgram(programId);
    glDeleteShader(vertexShaderId);
    glDeleteShader(fragmentShaderId);
}

GLuint ShaderProgram::compile(GLenum type, const std::string& source) {
    GLuint shader = glCreateShader(type);
    if (shader == 0) {
        if (!quiet) platform::printErrorLine("Could not create shader object.");
        return 0;
    }
    const GLchar* text = source.data();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);
    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (quiet) return shader;  // a failed compile fails the link too
    if (status != GL_TRUE) {
        platform::printLine("Shader compilation failed.");
        printShaderInfoLog(shader);
    }
    reportGLError();
    return shader;
}

void ShaderProgram::link() {
    if (programId == 0) programId = glCreateProgram();
    glAttachShader(programId, vertexShaderId);
    glAttachShader(programId, fragmentShaderId);
    // Some drivers draw nothing unless attribute array 0 is enabled, so the
    // position, which every program has and every draw enables, takes it.
    glBindAttribLocation(programId, 0, "in_Position");
    glLinkProgram(programId);
    GLint status = GL_FALSE;
    glGetProgramiv(programId, GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        if (!quiet) {
            platform::printLine("Shader linking failed.");
            printProgramInfoLog(programId);
        }
        glDeleteProgram(programId);
        programId = 0;
    }
    if (!quiet) reportGLError();
}

void ShaderProgram::bind() const { glUseProgram(programId); }

void ShaderProgram::unbind() const { glUseProgram(0); }

GLint ShaderProgram::getUniformLocation(const char* name) const {
    return glGetUniformLocation(programId, name);
}

GLint ShaderProgram::getAttribLocation(const char* name) const {
    return glGetAttribLocation(programId, name);
}

const ShaderProgram& ShaderProgram::bindForDraw(int mode, bool opaqueColour) const {
    const bool specializable =
        buildsPerMode && mode >= kLowestSpecializedMode && mode <= kHighestSpecializedMode;
    if (!specializable) {
        bind();
        return *this;
    }
    std::unique_ptr<ShaderProgram>& built =
        drawPrograms[(mode - kLowestSpecializedMode) * 2 + (opaqueColour ? 1 : 0)];
    if (!built) {
        std::string definitions = "#define " + std::string(kModeMacro) + " " +
                                  std::to_string(mode) + "\n";
        if (opaqueColour) definitions += "#define OPAQUE_COLOUR\n";
        built.reset(new ShaderProgram(*this, definitions));
    }
    if (!built->isLoaded()) {
        bind();
        return *this;
    }
    built->bind();
    built->copyUniformValuesFrom(*this);
    return *built;
}

void ShaderProgram::bindAttribLocationsOf(const ShaderProgram& other) const {
    GLint count = 0;
    glGetProgramiv(other.programId, GL_ACTIVE_ATTRIBUTES, &count);
    for (GLint index = 0; index < count; ++index) {
        char name[256];
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        glGetActiveAttrib(other.programId, static_cast<GLuint>(index), sizeof name, &length,
                          &size, &type, name);
        const GLint location = glGetAttribLocation(other.programId, name);
        if (location >= 0) glBindAttribLocation(programId, static_cast<GLuint>(location), name);
    }
}

// The types are those the base shaders declare; a uniform of another type,
// or an array, is left as it is.
void ShaderProgram::findSharedUniforms(const ShaderProgram& general) {
    GLint count = 0;
    glGetProgramiv(programId, GL_ACTIVE_UNIFORMS, &count);
    for (GLint index = 0; index < count; ++index) {
        char name[256];
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(programId, static_cast<GLuint>(index), sizeof name, &length, &size,
                           &type, name);
        const GLint from = glGetUniformLocation(general.programId, name);
        const GLint to = glGetUniformLocation(programId, name);
        switch (type) {
            case GL_FLOAT:
            case GL_FLOAT_VEC2:
            case GL_FLOAT_VEC3:
            case GL_FLOAT_VEC4:
            case GL_FLOAT_MAT3:
            case GL_FLOAT_MAT4:
            case GL_INT:
            case GL_BOOL:
            case GL_SAMPLER_2D:
            case GL_SAMPLER_2D_SHADOW:
                if (from >= 0 && to >= 0 && size == 1) sharedUniforms.push_back({from, to, type});
                break;
            default: break;
        }
    }
}

void ShaderProgram::copyUniformValuesFrom(const ShaderProgram& general) const {
    for (const SharedUniform& uniform : sharedUniforms) {
        GLfloat floats[16];
        GLint integer = 0;
        switch (uniform.type) {
            case GL_FLOAT:
            case GL_FLOAT_VEC2:
            case GL_FLOAT_VEC3:
            case GL_FLOAT_VEC4:
            case GL_FLOAT_MAT3:
            case GL_FLOAT_MAT4: glGetUniformfv(general.programId, uniform.from, floats); break;
            default: glGetUniformiv(general.programId, uniform.from, &integer); break;
        }
        switch (uniform.type) {
            case GL_FLOAT: glUniform1fv(uniform.to, 1, floats); break;
            case GL_FLOAT_VEC2: glUniform2fv(uniform.to, 1, floats); break;
            case GL_FLOAT_VEC3: glUniform3fv(uniform.to, 1, floats); break;
            case GL_FLOAT_VEC4: glUniform4fv(uniform.to, 1, floats); break;
            case GL_FLOAT_MAT3: glUniformMatrix3fv(uniform.to, 1, GL_FALSE, floats); break;
            case GL_FLOAT_MAT4: glUniformMatrix4fv(uniform.to, 1, GL_FALSE, floats); break;
            default: glUniform1i(uniform.to, integer); break;
        }
    }
}
