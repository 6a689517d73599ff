// Shader programs report each failure on its stream and stay unloaded (a
// broken shader still goes on to a link that reports too); a good one looks
// names up uncached, -1 for a name it lacks.
#include "render/shader_program.h"

#include "gl_test_support.h"

TEST(ShaderProgram, FailuresAreReportedOnTheirStreamsAndGoodSourcesLink) {
    support::ScratchDirectory scratch;
    ASSERT_TRUE(support::openContext(support::kCompatibility));
    // in_Position comes last, yet takes attribute 0, which the draws rely on.
    const char* vertex =
        "#version 120\nattribute vec2 in_TexCoord;\nattribute vec3 in_Position;\n"
        "uniform mat4 mvMat;\n"
        "void main() { gl_Position = mvMat * vec4(in_Position, in_TexCoord.x); }\n";
    const char* fragment = "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n";
    const char* broken = "#version 120\nvoid main() { gl_Position = ; }\n";
    // Name, sources (nullptr: no file), standard error.
    const char* const rows[][4] = {
        {"novertex", nullptr, "", "Vertex shader file novertex.vert does not exist.\n"},
        {"nofragment", "", nullptr, "Fragment shader file nofragment.frag does not exist.\n"},
        {"empty", "", fragment, ""},
        {"broken", broken, fragment, ""},
        {"good", vertex, fragment, ""}};
    for (const auto& row : rows) {
        EXPECT_TRUE(support::takeGLErrors().empty())
            << "before " << row[0];  // destroyed harmlessly
        const std::string name = row[0];
        if (row[1]) support::writeFile(name + ".vert", row[1]);
        if (row[2]) support::writeFile(name + ".frag", row[2]);
        testing::internal::CaptureStderr();
        std::unique_ptr<ShaderProgram> p;
        const std::string out =
            support::printedBy([&] { p = std::make_unique<ShaderProgram>(name, 1); });
        EXPECT_EQ(testing::internal::GetCapturedStderr(), row[3]);
        EXPECT_EQ(p->isLoaded(), name == "good") << name;
        EXPECT_EQ(p->getProgramId() != 0, name == "good") << name;
        // A compile failure, then a link failure, each headline with its log.
        const size_t link = out.find("Shader linking failed.\n");
        const bool logs = out.find("Shader compilation failed.\n") == 0 &&
                          link != std::string::npos && link > 28 && out.size() > link + 24;
        EXPECT_EQ(logs, name == "empty" || name == "broken") << out;
        EXPECT_EQ(out.empty(), !logs) << out;
        if (name != "good") continue;
        EXPECT_TRUE(p->getAttribLocation("in_Position") == 0 &&
                    p->getAttribLocation("in_TexCoord") > 0 &&
                    p->getAttribLocation("in_Normal") == -1);
        p->bind();
        EXPECT_EQ(support::integerState(GL_CURRENT_PROGRAM), static_cast<int>(p->getProgramId()));
        EXPECT_TRUE(p->getUniformLocation("mvMat") >= 0 && p->getUniformLocation("nothing") == -1);
        glUniform1i(-1, 3);  // what a draw does with an absent uniform: harmless
        p->unbind();
        EXPECT_EQ(support::integerState(GL_CURRENT_PROGRAM), 0);
    }
    EXPECT_TRUE(support::takeGLErrors().empty());
    support::closeContext();
}
