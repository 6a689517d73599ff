// A ShaderProgram reads its two files and puts the pieces together: the
// compile and the link (shader_compile, program_link) report on the console,
// the values set are kept by its UniformRecord, and the builds for one mode
// each by its PerModeBuilds. The builds skip every message: a failed build
// only means that the general program draws.
#include "render/shader_program.h"

#include "platform/console.h"
#include "platform/data_file.h"
#include "platform/gl_context.h"
#include "render/active_attributes.h"
#include "render/per_mode_builds.h"
#include "render/program_link.h"
#include "render/shader_compile.h"
#include "render/shader_definitions.h"
#include "render/uniform_record.h"

namespace {

bool plainDrawingOn = false;

// What follows the file's name in the message for a shader file that cannot
// be read: it does not exist, or it names something else than a file.
std::string missingFileSuffix(const std::string& path) {
    const char* notAFile = platform::nonRegularFileKind(path);
    if (notAFile == nullptr) return " does not exist.";
    return std::string(" is ") + notAFile + ", not a regular file.";
}

// Reads the shader file at `path` into `source`; false, after its message on
// standard error (begun by `stage`), where it cannot.
bool readShaderFile(const std::string& path, const char* stage, std::string& source) {
    if (!platform::fileExists(path)) {
        platform::printErrorLine(std::string(stage) + " shader file " + path +
                                 missingFileSuffix(path));
        return false;
    }
    source = platform::readTextFile(path);
    return true;
}

}  // namespace

void setPlainDrawing(bool plain) { plainDrawingOn = plain; }

bool plainDrawing() { return plainDrawingOn; }

ShaderProgram::ShaderProgram(const std::string& basePath, int kind)
    : kind(kind),
      uniforms(std::make_unique<UniformRecord>()),
      builds(std::make_unique<PerModeBuilds>()) {
    if (!readShaderFile(basePath + ".vert", "Vertex", vertexSource)) return;
    if (!readShaderFile(basePath + ".frag", "Fragment", fragmentSource)) return;
    noteBuiltInsRead();
    vertexShaderId = compileAndReport(GL_VERTEX_SHADER, vertexSource);
    if (vertexShaderId == 0) return;
    platform::reportGLError();
    fragmentShaderId = compileAndReport(GL_FRAGMENT_SHADER, fragmentSource);
    if (fragmentShaderId == 0) return;
    platform::reportGLError();
    programId = linkAndReport(vertexShaderId, fragmentShaderId, !plainDrawing());
    if (programId != 0) {
        loaded = true;
        readLocationRanges = readLocations(programId);
        platform::reportGLError();
    }
}

ShaderProgram::ShaderProgram(const ShaderProgram& general, const std::string& definitions)
    : kind(general.kind),
      uniforms(std::make_unique<UniformRecord>()),
      builds(std::make_unique<PerModeBuilds>()) {
    vertexSource = withDefinitions(general.vertexSource, definitions);
    fragmentSource = withDefinitions(general.fragmentSource, definitions);
    noteBuiltInsRead();
    vertexShaderId = compiledShader(GL_VERTEX_SHADER, vertexSource);
    if (vertexShaderId == 0) return;
    fragmentShaderId = compiledShader(GL_FRAGMENT_SHADER, fragmentSource);
    if (fragmentShaderId == 0) return;
    // The meshes found their attribute locations in the general program.
    programId =
        startLinkQuietly(vertexShaderId, fragmentShaderId, attributeLocations(general.programId));
}

bool ShaderProgram::finishBuild() {
    if (programId != 0) programId = finishLinkQuietly(programId);
    loaded = programId != 0;
    if (loaded) readLocationRanges = readLocations(programId);
    return loaded;
}

ShaderProgram::~ShaderProgram() {
    glDeleteProgram(programId);
    glDeleteShader(vertexShaderId);
    glDeleteShader(fragmentShaderId);
}

void ShaderProgram::bind() const { uniforms->bind(programId); }

void ShaderProgram::unbind() const { uniforms->unbind(); }

GLint ShaderProgram::getUniformLocation(const char* name) const {
    return glGetUniformLocation(programId, name);
}

GLint ShaderProgram::getAttribLocation(const char* name) const {
    return glGetAttribLocation(programId, name);
}

void ShaderProgram::noteBuiltInsRead() {
    const auto reads = [this](const char* name) {
        return vertexSource.find(name) != std::string::npos ||
               fragmentSource.find(name) != std::string::npos;
    };
    readsVertexId = reads("gl_VertexID");
    readsPrimitiveId = reads("gl_PrimitiveID");
}

bool ShaderProgram::sharesCorners() const { return !plainDrawing() && !readsVertexId; }

bool ShaderProgram::drawsInParts() const {
    return !plainDrawing() && !platform::commandsRunElsewhere() && !readsPrimitiveId;
}

void ShaderProgram::setInt(const char* name, GLint value) const {
    uniforms->set(programId, name, UniformValue::ofInt(value));
}

void ShaderProgram::setFloat(const char* name, GLfloat value) const {
    uniforms->set(programId, name, UniformValue::ofFloat(value));
}

void ShaderProgram::setVec2(const char* name, glm::vec2 value) const {
    uniforms->set(programId, name, UniformValue::ofVec2(value));
}

void ShaderProgram::setVec3(const char* name, glm::vec3 value) const {
    uniforms->set(programId, name, UniformValue::ofVec3(value));
}

void ShaderProgram::setMat4(const char* name, const glm::mat4& value, bool transposed) const {
    uniforms->set(programId, name, UniformValue::ofMat4(value, transposed));
}

void ShaderProgram::bindForDraw(int mode, bool opaqueColour) const {
    uniforms->bind(drawProgram(mode, opaqueColour).programId);
}

const ShaderProgram& ShaderProgram::drawProgram(int mode, bool opaqueColour) const {
    return builds->programFor(*this, mode, opaqueColour);
}

void ShaderProgram::startBuild(int mode, bool opaqueColour) const {
    builds->startFor(*this, mode, opaqueColour);
}

std::uint64_t ShaderProgram::lastChangeReadBy(const ShaderProgram& reader,
                                              const std::vector<std::string>& excluded) const {
    return uniforms->lastChangeReadBy(reader.programId, excluded);
}
