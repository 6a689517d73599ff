// Shader building: a shader that fails to compile does not stop the build, so
// the link that follows reports too and the user sees both logs. Uniform
// values live here, in C++: each set is remembered, and each program object
// (the one built from the files or a build for one mode) is given the values
// it lacks when it is bound. Nothing is read back from the driver.
#include "render/shader_program.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "platform/console.h"
#include "platform/data_file.h"
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
// What the macro stands for when the compiler is asked whether the sources
// use it: a name no source declares.
constexpr const char* kModeMacroProbe = "island_mode_macro_probe_";

constexpr GLint kNotLookedUp = -2;

bool plainDrawingOn = false;

// Far larger than any shader source; a larger file is refused, not read.
constexpr size_t kLargestSource = size_t{1} << 26;

// What follows the file's name in the message for a shader file that cannot
// be read: it does not exist, or it names something else than a file.
std::string missingFileSuffix(const std::string& path) {
    const char* notAFile = platform::nonRegularFileKind(path);
    if (notAFile == nullptr) return " does not exist.";
    return std::string(" is ") + notAFile + ", not a regular file.";
}

// The offset just past the line of the #version directive, which only
// comments and white space may precede; 0 where there is none. The directive
// ends at the first line end outside a comment.
size_t afterVersionLine(const std::string& source) {
    const size_t n = source.size();
    size_t at = 0;
    for (;;) {
        while (at < n && std::isspace(static_cast<unsigned char>(source[at]))) ++at;
        if (source.compare(at, 2, "//") == 0) {
            at = source.find('\n', at);
            if (at == std::string::npos) return 0;
        } else if (source.compare(at, 2, "/*") == 0) {
            at = source.find("*/", at + 2);
            if (at == std::string::npos) return 0;
            at += 2;
        } else {
            break;
        }
    }
    if (at >= n || source[at] != '#') return 0;
    ++at;
    while (at < n && (source[at] == ' ' || source[at] == '\t')) ++at;
    if (source.compare(at, 7, "version") != 0) return 0;
    for (at += 7; at < n; ++at) {
        if (source[at] == '\n') return at + 1;
        if (source.compare(at, 2, "//") == 0) {
            at = source.find('\n', at);
            return at == std::string::npos ? n : at + 1;
        }
        if (source.compare(at, 2, "/*") == 0) {
            at = source.find("*/", at + 2);
            if (at == std::string::npos) return n;
            ++at;
        }
    }
    return n;
}

// `source` with `definitions` after its #version line, which must stay first.
std::string withDefinitions(const std::string& source, const std::string& definitions) {
    const size_t at = afterVersionLine(source);
    if (at == source.size() && at > 0 && source.back() != '\n') {
        return source + "\n" + definitions;
    }
    return source.substr(0, at) + definitions + source.substr(at);
}

// How many locations an attribute of `type` takes, for one array element.
GLint locationsTaken(GLenum type) {
    switch (type) {
        case GL_FLOAT_MAT2:
        case GL_FLOAT_MAT2x3:
        case GL_FLOAT_MAT2x4:
        case GL_DOUBLE_VEC3:
        case GL_DOUBLE_VEC4:
        case GL_DOUBLE_MAT2:
            return 2;
        case GL_FLOAT_MAT3:
        case GL_FLOAT_MAT3x2:
        case GL_FLOAT_MAT3x4:
        case GL_DOUBLE_MAT3x2:
            return 3;
        case GL_FLOAT_MAT4:
        case GL_FLOAT_MAT4x2:
        case GL_FLOAT_MAT4x3:
        case GL_DOUBLE_MAT2x3:
        case GL_DOUBLE_MAT2x4:
        case GL_DOUBLE_MAT4x2:
            return 4;
        case GL_DOUBLE_MAT3:
        case GL_DOUBLE_MAT3x4:
            return 6;
        case GL_DOUBLE_MAT4x3:
        case GL_DOUBLE_MAT4:
            return 8;
        default:
            return 1;
    }
}

struct ActiveAttribute {
    std::string name;
    GLint location;
    GLint end;  // one past the last location it takes
};

// The active attributes of the linked `program`, built-in ones left out.
std::vector<ActiveAttribute> activeAttributes(GLuint program) {
    std::vector<ActiveAttribute> attributes;
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_ATTRIBUTES, &count);
    for (GLint index = 0; index < count; ++index) {
        char name[256];
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        glGetActiveAttrib(program, static_cast<GLuint>(index), sizeof name, &length, &size, &type,
                          name);
        const GLint location = glGetAttribLocation(program, name);
        if (location < 0) continue;  // a built-in attribute
        attributes.push_back(
            {name, location, location + locationsTaken(type) * (size > 0 ? size : 1)});
    }
    return attributes;
}

// True when two active attributes of the linked `program` share a location.
bool attributesOverlap(GLuint program) {
    const std::vector<ActiveAttribute> attributes = activeAttributes(program);
    for (size_t a = 0; a < attributes.size(); ++a) {
        for (size_t b = a + 1; b < attributes.size(); ++b) {
            if (attributes[a].location < attributes[b].end &&
                attributes[b].location < attributes[a].end) {
                return true;
            }
        }
    }
    return false;
}

// A shader object of `type` given `source` and compiled; 0 where the driver
// created none.
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

}  // namespace

bool fileExists(const std::string& path) { return platform::regularFileOpens(path); }

std::string readTextFile(const std::string& path) {
    const platform::DataFile file = platform::readDataFile(path, kLargestSource);
    return file.failed() ? std::string() : std::string(file.bytes.get(), file.length);
}

void setPlainDrawing(bool plain) { plainDrawingOn = plain; }

bool plainDrawing() { return plainDrawingOn; }

ShaderProgram::ShaderProgram(const std::string& basePath, int kind) : kind(kind) {
    const std::string vertexPath = basePath + ".vert";
    const std::string fragmentPath = basePath + ".frag";
    if (!fileExists(vertexPath)) {
        platform::printErrorLine("Vertex shader file " + vertexPath +
                                 missingFileSuffix(vertexPath));
        return;
    }
    vertexSource = readTextFile(vertexPath);
    if (!fileExists(fragmentPath)) {
        platform::printErrorLine("Fragment shader file " + fragmentPath +
                                 missingFileSuffix(fragmentPath));
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

ShaderProgram::ShaderProgram(const ShaderProgram& general, const std::string& definitions)
    : kind(general.kind), quiet(true) {
    vertexSource = withDefinitions(general.vertexSource, definitions);
    fragmentSource = withDefinitions(general.fragmentSource, definitions);
    vertexShaderId = compile(GL_VERTEX_SHADER, vertexSource);
    if (vertexShaderId == 0) return;
    fragmentShaderId = compile(GL_FRAGMENT_SHADER, fragmentSource);
    if (fragmentShaderId == 0) return;
    // The meshes found their attribute locations in the general program.
    loaded = linkWith(general.attributeLocations()) && !attributesOverlap(programId);
    if (!loaded) {
        glDeleteProgram(programId);
        programId = 0;
    }
}

ShaderProgram::~ShaderProgram() {
    glDeleteProgram(programId);
    glDeleteShader(vertexShaderId);
    glDeleteShader(fragmentShaderId);
}

GLuint ShaderProgram::compile(GLenum type, const std::string& source) {
    const GLuint shader = compiledShader(type, source);
    if (shader == 0) {
        if (!quiet) platform::printErrorLine("Could not create shader object.");
        return 0;
    }
    if (quiet) return shader;  // a failed compile fails the link too
    if (!compiledCleanly(shader)) {
        platform::printLine("Shader compilation failed.");
        printShaderInfoLog(shader);
    }
    reportGLError();
    return shader;
}

bool ShaderProgram::linkWith(const std::vector<std::pair<std::string, GLint>>& locations) {
    programId = glCreateProgram();
    glAttachShader(programId, vertexShaderId);
    glAttachShader(programId, fragmentShaderId);
    for (const auto& [name, location] : locations) {
        glBindAttribLocation(programId, static_cast<GLuint>(location), name.c_str());
    }
    glLinkProgram(programId);
    GLint status = GL_FALSE;
    glGetProgramiv(programId, GL_LINK_STATUS, &status);
    return status == GL_TRUE;
}

// Some drivers draw nothing unless attribute array 0 is enabled, so the
// position, which every program has and every draw enables, is bound to
// location 0. Where the sources place another attribute there, the binding
// would make the two share it (or fail the link): the program is then linked
// again as the sources alone say.
void ShaderProgram::link() {
    bool linked = false;
    if (plainDrawing()) {
        linked = linkWith({});
    } else {
        linked = linkWith({{"in_Position", 0}});
        if (!linked || attributesOverlap(programId)) {
            glDeleteProgram(programId);
            linked = linkWith({});
        }
    }
    if (!linked) {
        if (!quiet) {
            platform::printLine("Shader linking failed.");
            printProgramInfoLog(programId);
        }
        glDeleteProgram(programId);
        programId = 0;
    }
    if (!quiet) reportGLError();
}

void ShaderProgram::bind() const { bindAndBringUpToDate(*this); }

void ShaderProgram::unbind() const {
    glUseProgram(0);
    boundProgram = nullptr;
}

GLint ShaderProgram::getUniformLocation(const char* name) const {
    return glGetUniformLocation(programId, name);
}

GLint ShaderProgram::getAttribLocation(const char* name) const {
    return glGetAttribLocation(programId, name);
}

void ShaderProgram::setInt(const char* name, GLint value) const {
    RememberedValue v;
    v.type = RememberedValue::Type::Int;
    v.integer = value;
    setValue(name, v);
}

void ShaderProgram::setFloat(const char* name, GLfloat value) const {
    RememberedValue v;
    v.type = RememberedValue::Type::Float;
    v.floats[0] = value;
    setValue(name, v);
}

void ShaderProgram::setVec2(const char* name, glm::vec2 value) const {
    RememberedValue v;
    v.type = RememberedValue::Type::Vec2;
    std::memcpy(v.floats, &value[0], sizeof value);
    setValue(name, v);
}

void ShaderProgram::setVec3(const char* name, glm::vec3 value) const {
    RememberedValue v;
    v.type = RememberedValue::Type::Vec3;
    std::memcpy(v.floats, &value[0], sizeof value);
    setValue(name, v);
}

void ShaderProgram::setMat4(const char* name, const glm::mat4& value, bool transposed) const {
    RememberedValue v;
    v.type = RememberedValue::Type::Mat4;
    v.transposed = transposed;
    std::memcpy(v.floats, &value[0][0], sizeof value);
    setValue(name, v);
}

void ShaderProgram::setValue(const char* name, const RememberedValue& value) const {
    const ShaderProgram& target = boundProgram != nullptr ? *boundProgram : *this;
    upload(target.getUniformLocation(name), value);
    remember(name, value);
    // The bound program held every value when it was bound and has been
    // given each one set since.
    if (boundProgram != nullptr) boundProgram->upToDateWith = latestChange;
}

void ShaderProgram::remember(const char* name, const RememberedValue& value) const {
    for (RememberedValue& slot : remembered) {
        if (slot.name != name) continue;
        if (sameValue(slot, value)) return;
        const std::string keptName = std::move(slot.name);
        slot = value;
        slot.name = keptName;
        slot.changedAt = ++latestChange;
        return;
    }
    remembered.push_back(value);
    remembered.back().name = name;
    remembered.back().changedAt = ++latestChange;
}

void ShaderProgram::upload(GLint location, const RememberedValue& value) {
    switch (value.type) {
        case RememberedValue::Type::Int:
            glUniform1i(location, value.integer);
            break;
        case RememberedValue::Type::Float:
            glUniform1f(location, value.floats[0]);
            break;
        case RememberedValue::Type::Vec2:
            glUniform2fv(location, 1, value.floats);
            break;
        case RememberedValue::Type::Vec3:
            glUniform3fv(location, 1, value.floats);
            break;
        case RememberedValue::Type::Mat4:
            glUniformMatrix4fv(location, 1, value.transposed ? GL_TRUE : GL_FALSE, value.floats);
            break;
    }
}

// Bit for bit: a value that reads the same but is written differently (0
// and -0) counts as a change, which only costs an upload.
bool ShaderProgram::sameValue(const RememberedValue& a, const RememberedValue& b) {
    return a.type == b.type && a.transposed == b.transposed && a.integer == b.integer &&
           std::memcmp(a.floats, b.floats, sizeof a.floats) == 0;
}

void ShaderProgram::bindAndBringUpToDate(const ShaderProgram& target) const {
    glUseProgram(target.programId);
    boundProgram = &target;
    if (target.upToDateWith == latestChange || target.programId == 0) return;
    target.rememberedLocations.resize(remembered.size(), kNotLookedUp);
    for (size_t i = 0; i < remembered.size(); ++i) {
        if (remembered[i].changedAt <= target.upToDateWith) continue;
        GLint& location = target.rememberedLocations[i];
        if (location == kNotLookedUp)
            location = target.getUniformLocation(remembered[i].name.c_str());
        if (location >= 0) upload(location, remembered[i]);
    }
    target.upToDateWith = latestChange;
}

std::uint64_t ShaderProgram::lastChangeReadBy(const ShaderProgram& reader,
                                              const std::vector<std::string>& excluded) const {
    if (reader.programId == 0) return 0;
    reader.rememberedLocations.resize(remembered.size(), kNotLookedUp);
    std::uint64_t last = 0;
    for (size_t i = 0; i < remembered.size(); ++i) {
        const RememberedValue& value = remembered[i];
        if (std::find(excluded.begin(), excluded.end(), value.name) != excluded.end()) continue;
        GLint& location = reader.rememberedLocations[i];
        if (location == kNotLookedUp) location = reader.getUniformLocation(value.name.c_str());
        if (location >= 0) last = std::max(last, value.changedAt);
    }
    return last;
}

void ShaderProgram::bindForDraw(int mode, bool opaqueColour) const {
    bindAndBringUpToDate(drawProgram(mode, opaqueColour));
}

const ShaderProgram& ShaderProgram::drawProgram(int mode, bool opaqueColour) const {
    if (plainDrawing() || !loaded || mode < kLowestSpecializedMode ||
        mode > kHighestSpecializedMode) {
        return *this;
    }
    if (perModeBuilds == PerModeBuilds::Undecided) {
        perModeBuilds = sourcesUseModeMacro() ? PerModeBuilds::Used : PerModeBuilds::NotUsed;
    }
    if (perModeBuilds != PerModeBuilds::Used) return *this;
    std::unique_ptr<ShaderProgram>& built =
        drawPrograms[(mode - kLowestSpecializedMode) * 2 + (opaqueColour ? 1 : 0)];
    if (!built) {
        std::string definitions =
            "#define " + std::string(kModeMacro) + " " + std::to_string(mode) + "\n";
        if (opaqueColour) definitions += "#define OPAQUE_COLOUR\n";
        built.reset(new ShaderProgram(*this, definitions));
        if (!built->isLoaded()) {
            // Sources that use the macro in a way of their own: one failed
            // build is compiled once, and then the general program draws.
            perModeBuilds = PerModeBuilds::NotUsed;
            if (boundProgram != this) boundProgram = nullptr;
            drawPrograms.clear();
            return *this;
        }
    }
    return *built;
}

std::vector<std::pair<std::string, GLint>> ShaderProgram::attributeLocations() const {
    std::vector<std::pair<std::string, GLint>> locations;
    for (const ActiveAttribute& attribute : activeAttributes(programId)) {
        locations.push_back({attribute.name, attribute.location});
    }
    return locations;
}

bool ShaderProgram::sourcesUseModeMacro() const {
    const std::string probe = "#define " + std::string(kModeMacro) + " " + kModeMacroProbe + "\n";
    for (const auto& [type, source] :
         {std::pair{GL_VERTEX_SHADER, &vertexSource}, {GL_FRAGMENT_SHADER, &fragmentSource}}) {
        const GLuint shader = compiledShader(type, withDefinitions(*source, probe));
        if (shader == 0) return false;
        const bool compiles = compiledCleanly(shader);
        glDeleteShader(shader);
        if (!compiles) return true;
    }
    return false;
}
