// Values are compared bit for bit: one that reads the same but is written
// differently (0 and -0) counts as a change, which only costs an upload.
#include "render/uniform_record.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr GLint kNotLookedUp = -2;

void upload(GLint location, const UniformValue& value) {
    switch (value.type) {
        case UniformValue::Type::Int:
            glUniform1i(location, value.integer);
            break;
        case UniformValue::Type::Float:
            glUniform1f(location, value.floats[0]);
            break;
        case UniformValue::Type::Vec2:
            glUniform2fv(location, 1, value.floats);
            break;
        case UniformValue::Type::Vec3:
            glUniform3fv(location, 1, value.floats);
            break;
        case UniformValue::Type::Mat4:
            glUniformMatrix4fv(location, 1, value.transposed ? GL_TRUE : GL_FALSE, value.floats);
            break;
    }
}

bool sameValue(const UniformValue& a, const UniformValue& b) {
    return a.type == b.type && a.transposed == b.transposed && a.integer == b.integer &&
           std::memcmp(a.floats, b.floats, sizeof a.floats) == 0;
}

UniformValue ofFloats(UniformValue::Type type, const GLfloat* floats, size_t count) {
    UniformValue value;
    value.type = type;
    std::copy(floats, floats + count, value.floats);
    return value;
}

}  // namespace

UniformValue UniformValue::ofInt(GLint value) {
    UniformValue v;
    v.integer = value;
    return v;
}

UniformValue UniformValue::ofFloat(GLfloat value) { return ofFloats(Type::Float, &value, 1); }

UniformValue UniformValue::ofVec2(glm::vec2 value) { return ofFloats(Type::Vec2, &value[0], 2); }

UniformValue UniformValue::ofVec3(glm::vec3 value) { return ofFloats(Type::Vec3, &value[0], 3); }

UniformValue UniformValue::ofMat4(const glm::mat4& value, bool transposed) {
    UniformValue v = ofFloats(Type::Mat4, &value[0][0], 16);
    v.transposed = transposed;
    return v;
}

void UniformRecord::set(GLuint ownProgram, const char* name, const UniformValue& value) {
    upload(glGetUniformLocation(boundProgram.value_or(ownProgram), name), value);
    remember(name, value);
    // The bound program held every value when it was bound and has been
    // given each one set since.
    if (boundProgram) programs[*boundProgram].upToDateWith = latestChange;
}

void UniformRecord::remember(const char* name, const UniformValue& value) {
    for (Remembered& slot : remembered) {
        if (slot.name != name) continue;
        if (sameValue(slot.value, value)) return;
        slot.value = value;
        slot.changedAt = ++latestChange;
        return;
    }
    remembered.push_back({name, value, ++latestChange});
}

UniformRecord::ProgramCopy& UniformRecord::copyOf(GLuint program) {
    ProgramCopy& copy = programs[program];
    copy.locations.resize(remembered.size(), kNotLookedUp);
    return copy;
}

GLint UniformRecord::locationIn(GLuint program, ProgramCopy& copy, size_t index) const {
    GLint& location = copy.locations[index];
    if (location == kNotLookedUp) {
        location = glGetUniformLocation(program, remembered[index].name.c_str());
    }
    return location;
}

void UniformRecord::bind(GLuint program) {
    glUseProgram(program);
    boundProgram = program;
    if (program == 0) return;
    ProgramCopy& copy = copyOf(program);
    if (copy.upToDateWith == latestChange) return;
    for (size_t i = 0; i < remembered.size(); ++i) {
        if (remembered[i].changedAt <= copy.upToDateWith) continue;
        const GLint location = locationIn(program, copy, i);
        if (location >= 0) upload(location, remembered[i].value);
    }
    copy.upToDateWith = latestChange;
}

void UniformRecord::unbind() {
    glUseProgram(0);
    boundProgram.reset();
}

void UniformRecord::forget(GLuint program) {
    programs.erase(program);
    if (boundProgram == program) boundProgram.reset();
}

std::uint64_t UniformRecord::lastChangeReadBy(GLuint reader,
                                              const std::vector<std::string>& excluded) {
    if (reader == 0) return 0;
    ProgramCopy& copy = copyOf(reader);
    std::uint64_t last = 0;
    for (size_t i = 0; i < remembered.size(); ++i) {
        const std::string& name = remembered[i].name;
        if (std::find(excluded.begin(), excluded.end(), name) != excluded.end()) continue;
        if (locationIn(reader, copy, i) >= 0) last = std::max(last, remembered[i].changedAt);
    }
    return last;
}
