// The translation of GLSL 3.30 into each dialect, on text as people write
// it: every written file is checked by the reference GLSL front end
// (glslangValidator; no ES context runs here) and must keep every line's
// number, and what cannot be written is refused naming the line. Then every
// shader of the run directory's ES set, compiled in every shading mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "test_support.h"
#include "tools/shaderdialects/shader_dialect.h"

using namespace shaderdialects;

namespace {

const Dialect& dialect(const std::string& directory) {
    for (const Dialect& d : dialects())
        if (directory == d.directory) return d;
    throw std::runtime_error("no dialect " + directory);
}

int lineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

struct ShaderFile {
    std::string what;  // for the failure message
    ShaderStage stage;
    std::string text;
};

// The files that glslangValidator refuses, each with its messages. One run
// takes them all; only where it fails is each file run on its own.
std::vector<std::string> refusedByTheReference(const std::vector<ShaderFile>& files) {
    std::string command = "glslangValidator";
    std::vector<std::string> paths;
    for (size_t index = 0; index < files.size(); ++index) {
        paths.push_back("file" + std::to_string(index) +
                        (files[index].stage == ShaderStage::Vertex ? ".vert" : ".frag"));
        support::writeFile(paths.back(), files[index].text);
        command += " " + paths.back();
    }
    if (std::system((command + " > log.txt 2>&1").c_str()) == 0) return {};
    std::vector<std::string> refused;
    for (size_t index = 0; index < files.size(); ++index) {
        if (std::system(("glslangValidator " + paths[index] + " > log.txt 2>&1").c_str()) != 0)
            refused.push_back(files[index].what + ":\n" + files[index].text + "\n" +
                              support::readFile("log.txt"));
    }
    return refused;
}

constexpr ShaderStage kVertex = ShaderStage::Vertex;
constexpr ShaderStage kFragment = ShaderStage::Fragment;

struct Row {
    std::string what;
    ShaderStage stage;
    std::string source;
    std::vector<std::string> refusedBy;
    int refusedLine;
};

// A case's source line as it is meant: "\t" a tab and "\r" a carriage return.
std::string unescaped(const std::string& line) {
    std::string out;
    for (size_t at = 0; at < line.size(); ++at) {
        if (line[at] == '\\' && at + 1 < line.size() &&
            (line[at + 1] == 't' || line[at + 1] == 'r')) {
            out += line[++at] == 't' ? '\t' : '\r';
        } else {
            out += line[at];
        }
    }
    return out;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The cases of the table: each "== what | stage | refused by | line" and the
// source lines after it.
std::vector<Row> casesFrom(const std::string& table) {
    std::vector<Row> rows;
    std::istringstream lines(table);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("== ", 0) == 0) {
            std::vector<std::string> cells;
            std::istringstream header(line.substr(3));
            for (std::string cell; std::getline(header, cell, '|');) cells.push_back(trimmed(cell));
            if (cells.size() != 4) throw std::runtime_error("a case header of four cells: " + line);
            Row row{
                cells[0], cells[1] == "vert" ? kVertex : kFragment, "", {}, std::stoi(cells[3])};
            std::istringstream refusers(cells[2]);
            for (std::string word; refusers >> word;)
                if (word != "-") row.refusedBy.push_back(word);
            rows.push_back(row);
        } else if (!rows.empty()) {
            rows.back().source += unescaped(line) + "\n";
        }
    }
    return rows;
}

}  // namespace

// The table of cases (shader_dialect_cases.txt), which the page's test of
// the writer's WebAssembly build reads too.
TEST(ShaderDialects, TextAsPeopleWriteItIsWrittenSoundlyOrRefusedNamingTheLine) {
    support::ScratchDirectory scratch;
    const std::vector<Row> rows = casesFrom(support::readFile(SHADER_DIALECT_CASES));
    ASSERT_FALSE(rows.empty());
    std::vector<ShaderFile> sources, written;
    for (const Row& row : rows) {
        sources.push_back({row.what, row.stage, row.source});
        for (const std::string directory : {"120", "330", "300es"}) {
            const Translation t =
                translateShader(row.source, row.stage, dialect(directory), "x.glsl");
            const std::string where = row.what + ", " + directory;
            if (std::find(row.refusedBy.begin(), row.refusedBy.end(), directory) !=
                row.refusedBy.end()) {
                EXPECT_FALSE(t.ok) << where << "\n" << t.text;
                EXPECT_EQ(t.error.rfind("x.glsl:" + std::to_string(row.refusedLine) + ": ", 0), 0u)
                    << where << ": " << t.error;
                EXPECT_EQ(t.error.find('\n'), std::string::npos) << where << ": " << t.error;
                continue;
            }
            ASSERT_TRUE(t.ok) << where << ": " << t.error;
            EXPECT_EQ(t.text.rfind(dialect(directory).versionLine, 0), 0u) << where;
            EXPECT_EQ(lineCount(t.text), lineCount(row.source)) << where << "\n" << t.text;
            written.push_back({where, row.stage, t.text});
        }
    }
    for (const std::string& refused : refusedByTheReference(sources))
        ADD_FAILURE() << "not valid GLSL 3.30: " << refused;
    for (const std::string& refused : refusedByTheReference(written))
        ADD_FAILURE() << "written broken: " << refused;
}

// A directive ends with its line: a version number on a later line than
// "#version" makes no version line, which is refused at the "#" (written
// over, the lines between would be lost).
TEST(ShaderDialects, AVersionLineSplitOverLinesIsRefused) {
    for (const std::string source :
         {"#version\n330\nvoid main() {}\n", "#\nversion 330\nvoid main() {}\n",
          "#version \r\r330 core\nvoid main() {}\n"}) {
        for (const Dialect& d : dialects()) {
            const Translation t = translateShader(source, kFragment, d, "x.frag");
            EXPECT_FALSE(t.ok) << d.directory << ": " << source;
            EXPECT_EQ(t.error.rfind("x.frag:1: ", 0), 0u) << t.error;
        }
    }
}

// The lines keep their numbers, so a compiler's message about a written file
// names the line of the source where the fault is.
TEST(ShaderDialects, ACompilersMessageNamesTheSourcesLineInEveryDialect) {
    support::ScratchDirectory scratch;
    const std::string source =
        "#version 330\n/* a comment\n   of two lines */\nout vec4 c;\n\n"
        "void main() {\n    c = vec4(undeclared);\n}\n";
    for (const Dialect& d : dialects()) {
        const Translation t = translateShader(source, kFragment, d, "x.frag");
        ASSERT_TRUE(t.ok) << d.directory << ": " << t.error;
        const std::vector<std::string> refused =
            refusedByTheReference({{d.directory, kFragment, t.text}});
        ASSERT_EQ(refused.size(), 1u) << d.directory;
        EXPECT_NE(refused[0].find(":7: 'undeclared'"), std::string::npos) << refused[0];
    }
}

// What the rules let through and a dialect's compiler refuses (a float times
// an int, which only ES 3.00 rejects) stops the tool with the source's line,
// and the broken file is not left behind.
TEST(ShaderDialects, TheToolTakesBackAWrittenFileThatTheReferenceRefuses) {
    support::ScratchDirectory scratch;
    support::writeFile("set/base.vert",
                       "#version 330\nin vec3 p;\nvoid main() { gl_Position = vec4(p, 1.0); }\n");
    support::writeFile("set/base.frag",
                       "#version 330\nout vec4 c;\nuniform float a;\n\n"
                       "void main() { c = vec4(a * 2); }\n");
    const std::string command = std::string(SHADERDIALECTS_TOOL) + " set out base > log.txt 2>&1";
    EXPECT_NE(std::system(command.c_str()), 0);
    const std::string log = support::readFile("log.txt");
    EXPECT_EQ(log.rfind("shaderdialects: base.frag:5: ", 0), 0u) << log;
    EXPECT_NE(log.find("GLSL ES 3.00"), std::string::npos) << log;
    EXPECT_FALSE(std::ifstream("out/300es/base.frag").good());
}

// GLSL 3.30 takes what ES 3.00 refuses (an int where a float is meant, a
// float without a precision in the fragment stage), so the ES set is compiled
// and linked here, in every shading mode the program builds.
TEST(ShaderDialects, EveryProgramOfTheEsSetLinksAsGlslEs300InEveryMode) {
    const std::string directory = support::runPath("Shaders/300es/");
    for (const std::string program : {"base", "minimal"}) {
        for (const std::string mode : {"", "-2", "0", "1", "2", "3", "4", "5", "6", "7"}) {
            std::string command = "glslangValidator -l";
            if (!mode.empty()) command += " -DSHADING_MODE=" + mode;
            command += " '" + directory + program + ".vert' '" + directory + program +
                       ".frag' > /dev/null";
            EXPECT_EQ(std::system(command.c_str()), 0) << command;
        }
    }
}
