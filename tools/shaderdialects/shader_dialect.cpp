// One source, three dialects. The version line is rewritten in place, with a
// note saying where the file comes from; the dialect's rules then edit the
// rest (dialect_rules.h). No edit adds or removes a line, so a compiler's
// message about the written file names the line of the source.
#include "tools/shaderdialects/shader_dialect.h"

#include "tools/shaderdialects/dialect_rules.h"

namespace shaderdialects {

namespace {

const char* const kVersionError = "the source must open with \"#version 330\"";

// The token index one past the version directive in `end`, when the source
// opens with "#version 330" or "#version 330 core" on a line of its own. A
// directive ends with its line: "#version" with its number on a later line
// is no version line (the line it would be written over is more than one).
bool findVersionLine(const Source& source, size_t& end) {
    const std::vector<Token>& tokens = source.tokens;
    if (tokens.size() < 3 || tokenText(source.text, tokens[0]) != "#" ||
        tokenText(source.text, tokens[1]) != "version" ||
        tokenText(source.text, tokens[2]) != "330" || tokens[1].line != tokens[0].line ||
        tokens[2].line != tokens[0].line) {
        return false;
    }
    end = 3;
    if (end < tokens.size() && tokens[end].line == tokens[0].line &&
        tokenText(source.text, tokens[end]) == "core") {
        ++end;
    }
    return end >= tokens.size() || tokens[end].line != tokens[0].line;
}

// The note is a block comment: a "//" note would swallow a block comment that
// opens later on the line.
std::string note(const Dialect& dialect, const std::string& origin) {
    std::string name;
    for (const char c : origin) {
        if (c != '*' && c != '\n' && c != '\r') name += c;
    }
    return std::string("/* the ") + dialect.description + " form of " + name +
           ", written from its GLSL 3.30 source */";
}

// The version line goes first, as GLSL ES wants it: where comments come
// ahead of it, it opens the first line and leaves the note in its place.
void writeVersionLine(const Source& source, size_t versionEnd, const Dialect& dialect,
                      const std::string& origin, std::vector<Edit>& edits) {
    const Token& first = source.tokens[0];
    const Token& last = source.tokens[versionEnd - 1];
    const size_t length = last.offset + last.length - first.offset;
    if (first.line == 1) {
        edits.push_back(
            {first.offset, length, std::string(dialect.versionLine) + " " + note(dialect, origin)});
    } else {
        edits.push_back({0, 0, std::string(dialect.versionLine) + " "});
        edits.push_back({first.offset, length, note(dialect, origin)});
    }
}

}  // namespace

const std::vector<Dialect>& dialects() {
    static const std::vector<Dialect> all = {
        {"120", "#version 120", "GLSL 1.20"},
        {"330", "#version 330", "GLSL 3.30"},
        {"300es", "#version 300 es", "GLSL ES 3.00"},
    };
    return all;
}

Translation translateShader(const std::string& source, ShaderStage stage, const Dialect& dialect,
                            const std::string& origin) {
    Translation result;
    const Source read = readSource(source);
    size_t versionEnd = 0;
    if (!findVersionLine(read, versionEnd)) {
        const int line = read.tokens.empty() ? 1 : read.tokens[0].line;
        result.error = origin + ":" + std::to_string(line) + ": " + kVersionError;
        return result;
    }
    const std::string directory = dialect.directory;
    RuleResult rules;
    if (directory == "120") rules = glsl120Rules(read, stage);
    if (directory == "300es") rules = glslEs300Rules(read);
    if (rules.failed()) {
        result.error = origin + ":" + std::to_string(rules.errorLine) + ": " + rules.error;
        return result;
    }
    writeVersionLine(read, versionEnd, dialect, origin, rules.edits);
    result.ok = true;
    result.text = applyEdits(read.text, rules.edits);
    return result;
}

}  // namespace shaderdialects
