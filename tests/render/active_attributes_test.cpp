// Which locations the attributes of a linked program take: a matrix takes
// one per column, so a location bound inside another attribute's columns
// overlaps it.
#include "render/active_attributes.h"

#include <algorithm>

#include "gl_test_support.h"
#include "render/shader_compile.h"

TEST(ActiveAttributes, AMatrixTakesOneLocationPerColumn) {
    support::ScratchDirectory scratch;
    ASSERT_TRUE(support::openContext(support::kCompatibility));
    const GLuint fragment = compiledShader(
        GL_FRAGMENT_SHADER, "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n");
    // The type of "t", bound to 0, where "p" is bound, and whether they overlap.
    const struct {
        const char* type;
        GLint position;
        bool overlap;
    } rows[] = {{"mat4", 3, true}, {"mat4", 4, false}, {"mat3", 2, true}, {"mat2", 2, false}};
    for (const auto& row : rows) {
        const GLuint vertex = compiledShader(
            GL_VERTEX_SHADER, std::string("#version 120\nattribute ") + row.type +
                                  " t;\nattribute vec4 p;\nvoid main() { gl_Position = p + "
                                  "vec4(t[0][0]); }\n");
        const GLuint program = glCreateProgram();
        glAttachShader(program, vertex);
        glAttachShader(program, fragment);
        glBindAttribLocation(program, 0, "t");
        glBindAttribLocation(program, static_cast<GLuint>(row.position), "p");
        glLinkProgram(program);
        GLint linked = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        ASSERT_EQ(linked, GL_TRUE) << row.type << " with p at " << row.position;
        AttributeLocations locations = attributeLocations(program);
        std::sort(locations.begin(), locations.end());
        EXPECT_EQ(locations, (AttributeLocations{{"p", row.position}, {"t", 0}})) << row.type;
        EXPECT_EQ(attributesOverlap(program), row.overlap) << row.type << " " << row.position;
        glDeleteProgram(program);
        glDeleteShader(vertex);
    }
    glDeleteShader(fragment);
    EXPECT_TRUE(support::takeGLErrors().empty());
    support::closeContext();
}
