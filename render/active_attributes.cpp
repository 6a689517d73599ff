// Asked of the driver after the link: what the linker chose is what the
// draws will use.
#include "render/active_attributes.h"

namespace {

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

}  // namespace

AttributeLocations attributeLocations(GLuint program) {
    AttributeLocations locations;
    for (const ActiveAttribute& attribute : activeAttributes(program)) {
        locations.push_back({attribute.name, attribute.location});
    }
    return locations;
}

std::vector<LocationRange> readLocations(GLuint program) {
    std::vector<LocationRange> ranges;
    for (const ActiveAttribute& attribute : activeAttributes(program)) {
        ranges.push_back({attribute.location, attribute.end});
    }
    return ranges;
}

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
