// Uniform values kept in C++ for one program and the builds of its sources:
// each value set is remembered with a serial that grows with every change,
// and each program object bound through the record is given the values it
// lacks when it is bound. So every build, when bound, holds exactly what the
// one program would hold. Nothing is read back from the driver.
#pragma once

#include <cstdint>
#include <glm/glm.hpp>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/gl.h"

// One uniform value as it is uploaded.
struct UniformValue {
    enum class Type { Int, Float, Vec2, Vec3, Mat4 };
    Type type = Type::Int;
    bool transposed = false;  // a Mat4 uploaded with the transpose flag GL_TRUE
    GLint integer = 0;
    GLfloat floats[16] = {};

    static UniformValue ofInt(GLint value);
    static UniformValue ofFloat(GLfloat value);
    static UniformValue ofVec2(glm::vec2 value);
    static UniformValue ofVec3(glm::vec3 value);
    static UniformValue ofMat4(const glm::mat4& value, bool transposed);
};

class UniformRecord {
  public:
    // Writes `value` to `name` in the program bound through the record (at its
    // location in `ownProgram` when none is) and remembers it. A name the
    // program lacks is remembered and written to location -1: no effect.
    void set(GLuint ownProgram, const char* name, const UniformValue& value);
    // Makes `program` current and gives it every value changed since it last
    // held them all.
    void bind(GLuint program);
    // Makes no program current.
    void unbind();
    // Forgets `program`, which is about to be deleted.
    void forget(GLuint program);
    // The serial of the last change to a remembered value that `reader` uses,
    // leaving out the names in `excluded`; 0 when none was ever set.
    std::uint64_t lastChangeReadBy(GLuint reader, const std::vector<std::string>& excluded);

  private:
    struct Remembered {
        std::string name;
        UniformValue value;
        std::uint64_t changedAt = 0;  // the serial of its last change
    };
    // Of one program object: the serial up to which it holds the remembered
    // values, and their locations in it, looked up once each (a linked
    // program's locations never change).
    struct ProgramCopy {
        std::uint64_t upToDateWith = 0;
        std::vector<GLint> locations;
    };

    // Keeps `value` as the one of `name`, with a new serial if it changed.
    void remember(const char* name, const UniformValue& value);
    // `program`'s copy, with a location slot for every remembered value.
    ProgramCopy& copyOf(GLuint program);
    // The location of remembered value `index` in `program`.
    GLint locationIn(GLuint program, ProgramCopy& copy, size_t index) const;

    std::vector<Remembered> remembered;  // in the order first set
    std::uint64_t latestChange = 0;
    std::map<GLuint, ProgramCopy> programs;
    std::optional<GLuint> boundProgram;  // bound through the record, if any
};
