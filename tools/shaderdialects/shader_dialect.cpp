// The rules, per line of code (comments are copied as they are):
//  - GLSL 1.20: a global "in" becomes "attribute" in the vertex stage and
//    "varying" in the fragment stage, a global "out" becomes "varying"; the
//    fragment stage's one "out vec4" goes and its name becomes gl_FragColor;
//    texture() becomes texture2D(), or shadow2D().r on a sampler2DShadow.
//  - GLSL ES 3.00: the same text, with default precisions, which ES requires
//    for floats in the fragment stage and for every shadow sampler.
#include "tools/shaderdialects/shader_dialect.h"

#include <cctype>
#include <map>
#include <sstream>

namespace shaderdialects {

namespace {

const char* const kSourceVersion = "#version 330";
const char* const kEsPrecisions =
    "precision highp float;\n"
    "precision highp int;\n"
    "precision highp sampler2D;\n"
    "precision highp sampler2DShadow;\n";

bool isIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Positions of `word` in `code` as a whole identifier.
std::vector<size_t> findWord(const std::string& code, const std::string& word) {
    std::vector<size_t> found;
    for (size_t at = code.find(word); at != std::string::npos; at = code.find(word, at + 1)) {
        const bool startsWord = at == 0 || !isIdentifierChar(code[at - 1]);
        const size_t end = at + word.size();
        const bool endsWord = end >= code.size() || !isIdentifierChar(code[end]);
        if (startsWord && endsWord) found.push_back(at);
    }
    return found;
}

std::string replaceWord(std::string code, const std::string& word, const std::string& with) {
    std::vector<size_t> found = findWord(code, word);
    for (auto at = found.rbegin(); at != found.rend(); ++at) code.replace(*at, word.size(), with);
    return code;
}

struct Line {
    std::string code;
    std::string comment;  // from "//" on, or empty
};

Line splitComment(const std::string& line) {
    const size_t comment = line.find("//");
    if (comment == std::string::npos) return {line, ""};
    return {line.substr(0, comment), line.substr(comment)};
}

class Glsl120Writer {
  public:
    Glsl120Writer(ShaderStage stage, std::map<std::string, std::string> samplerTypes)
        : stage(stage), samplerTypes(std::move(samplerTypes)) {}

    // False with `error` set when the line has no GLSL 1.20 form.
    bool translate(std::string& code, std::string& error) {
        if (!findWord(code, "layout").empty()) {
            error = "layout qualifiers have no GLSL 1.20 form";
            return false;
        }
        if (startsWith(code, "in ")) {
            code = (stage == ShaderStage::Vertex ? "attribute" : "varying") + code.substr(2);
        } else if (startsWith(code, "out ")) {
            if (stage == ShaderStage::Fragment) {
                std::istringstream words(code.substr(4));
                std::string type, name;
                words >> type >> name;
                if (type != "vec4" || name.empty() || name.back() != ';') {
                    error = "the fragment stage's output must be one 'out vec4 NAME;'";
                    return false;
                }
                fragmentOutput = name.substr(0, name.size() - 1);
                code.clear();
                dropLine = true;
                return true;
            }
            code = "varying" + code.substr(3);
        }
        if (!fragmentOutput.empty()) code = replaceWord(code, fragmentOutput, "gl_FragColor");
        return translateTextureCalls(code, error);
    }

    // Set for a line that is to leave no trace, not even a blank line.
    bool takeDropLine() {
        const bool drop = dropLine;
        dropLine = false;
        return drop;
    }

  private:
    bool translateTextureCalls(std::string& code, std::string& error) {
        std::vector<size_t> calls = findWord(code, "texture");
        for (auto call = calls.rbegin(); call != calls.rend(); ++call) {
            size_t open = *call + 7;
            while (open < code.size() && code[open] == ' ') ++open;
            if (open >= code.size() || code[open] != '(') continue;
            size_t nameEnd = open + 1;
            while (nameEnd < code.size() && code[nameEnd] == ' ') ++nameEnd;
            const size_t nameStart = nameEnd;
            while (nameEnd < code.size() && isIdentifierChar(code[nameEnd])) ++nameEnd;
            const std::string sampler = code.substr(nameStart, nameEnd - nameStart);
            const auto type = samplerTypes.find(sampler);
            if (type == samplerTypes.end()) {
                error = "texture() on '" + sampler + "', which is no sampler uniform of this file";
                return false;
            }
            if (type->second == "sampler2D") {
                code.replace(*call, 7, "texture2D");
                continue;
            }
            if (type->second != "sampler2DShadow") {
                error = "texture() on a " + type->second + " has no GLSL 1.20 form here";
                return false;
            }
            int depth = 0;
            size_t close = open;
            for (; close < code.size(); ++close) {
                if (code[close] == '(') ++depth;
                if (code[close] == ')' && --depth == 0) break;
            }
            if (close >= code.size()) {
                error = "a shadow lookup must close on its own line";
                return false;
            }
            code.insert(close + 1, ".r");
            code.replace(*call, 7, "shadow2D");
        }
        return true;
    }

    ShaderStage stage;
    std::map<std::string, std::string> samplerTypes;
    std::string fragmentOutput;
    bool dropLine = false;
};

// The type of every "uniform samplerX name;" of the file, by name.
std::map<std::string, std::string> samplerUniforms(const std::vector<std::string>& lines) {
    std::map<std::string, std::string> types;
    for (const std::string& line : lines) {
        std::istringstream words(splitComment(line).code);
        std::string qualifier, type, name;
        if (!(words >> qualifier >> type >> name) || qualifier != "uniform") continue;
        if (!startsWith(type, "sampler")) continue;
        if (!name.empty() && name.back() == ';') name.pop_back();
        types[name] = type;
    }
    return types;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
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
    const std::vector<std::string> lines = splitLines(source);
    if (lines.empty() || lines[0] != kSourceVersion) {
        result.error = origin + ": the source must open with \"" + kSourceVersion + "\"";
        return result;
    }
    const std::string version(dialect.versionLine);
    const bool glsl120 = version == "#version 120";
    const bool es = version.find(" es") != std::string::npos;
    Glsl120Writer writer(stage, samplerUniforms(lines));

    std::string text = version + "\n";
    if (es) text += kEsPrecisions;
    text += "// The " + std::string(dialect.description) + " form of " + origin +
            ", which the build writes in every dialect from one source.\n";
    for (size_t index = 1; index < lines.size(); ++index) {
        Line line = splitComment(lines[index]);
        if (glsl120) {
            std::string error;
            if (!writer.translate(line.code, error)) {
                result.error = origin + ":" + std::to_string(index + 1) + ": " + error;
                return result;
            }
            if (writer.takeDropLine()) {
                // An output declaration on a line of its own leaves no gap behind.
                if (index + 1 < lines.size() && lines[index + 1].empty()) ++index;
                continue;
            }
        }
        text += line.code + line.comment + "\n";
    }
    result.ok = true;
    result.text = text;
    return result;
}

}  // namespace shaderdialects
