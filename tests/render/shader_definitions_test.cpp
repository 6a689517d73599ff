// Definitions go right after the #version line, whatever comments surround
// it, and at the start of a source without one: a definition before the
// directive fails the compile, and one inside a comment is lost.
#include "render/shader_definitions.h"

#include "test_support.h"

TEST(ShaderDefinitions, GoRightAfterTheVersionLineOutsideComments) {
    // Source, and what it becomes with "#define D\n".
    const char* const rows[][2] = {
        {"#version 120\nvoid main() {}\n", "#version 120\n#define D\nvoid main() {}\n"},
        {"void main() {}\n", "#define D\nvoid main() {}\n"},
        {"// a\n/* b\n c */ \n#  version 330 core\nx",
         "// a\n/* b\n c */ \n#  version 330 core\n#define D\nx"},
        {"#version 120 // note\nx", "#version 120 // note\n#define D\nx"},
        {"#version 120 /* a\nb */\nx", "#version 120 /* a\nb */\n#define D\nx"},
        {"#version 300 es", "#version 300 es\n#define D\n"},
        {"int a;\n#version 120\n", "#define D\nint a;\n#version 120\n"},
        {"/* never closed #version 120\n", "#define D\n/* never closed #version 120\n"}};
    for (const auto& row : rows)
        EXPECT_EQ(withDefinitions(row[0], "#define D\n"), row[1]) << row[0];
}
