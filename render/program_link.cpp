// A program that did not link is deleted here, so that a caller holds either
// a linked program or 0.
#include "render/program_link.h"

#include "platform/console.h"
#include "platform/gl_context.h"
#include "render/info_log.h"

namespace {

bool linked(GLuint program) {
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status == GL_TRUE;
}

// A new program of the two shaders, `locations` bound, linked: true when it
// linked.
bool linkInto(GLuint& program, GLuint vertexShader, GLuint fragmentShader,
              const AttributeLocations& locations) {
    program = startLinkQuietly(vertexShader, fragmentShader, locations);
    return linked(program);
}

}  // namespace

// Where the sources place another attribute at location 0, the binding would
// make the two share it (or fail the link): the program is then linked again
// as the sources alone say.
GLuint linkAndReport(GLuint vertexShader, GLuint fragmentShader, bool positionAtZero) {
    GLuint program = 0;
    bool linked = false;
    if (positionAtZero) {
        linked = linkInto(program, vertexShader, fragmentShader, {{"in_Position", 0}});
        if (!linked || attributesOverlap(program)) {
            glDeleteProgram(program);
            linked = linkInto(program, vertexShader, fragmentShader, {});
        }
    } else {
        linked = linkInto(program, vertexShader, fragmentShader, {});
    }
    if (!linked) {
        platform::printLine("Shader linking failed.");
        printInfoLog(InfoLogOf::Program, program);
        glDeleteProgram(program);
        program = 0;
    }
    platform::reportGLError();
    return program;
}

GLuint linkQuietly(GLuint vertexShader, GLuint fragmentShader,
                   const AttributeLocations& locations) {
    return finishLinkQuietly(startLinkQuietly(vertexShader, fragmentShader, locations));
}

GLuint startLinkQuietly(GLuint vertexShader, GLuint fragmentShader,
                        const AttributeLocations& locations) {
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    for (const auto& [name, location] : locations) {
        glBindAttribLocation(program, static_cast<GLuint>(location), name.c_str());
    }
    glLinkProgram(program);
    return program;
}

GLuint finishLinkQuietly(GLuint program) {
    if (linked(program) && !attributesOverlap(program)) return program;
    glDeleteProgram(program);
    return 0;
}
