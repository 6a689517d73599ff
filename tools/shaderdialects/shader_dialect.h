// Writes one shader source in each GLSL dialect the program can load. The
// source is GLSL 3.30, as people write it (comments of both kinds, CR LF line
// ends, several declarations on a line); the translation to GLSL 1.20 and
// GLSL ES 3.00 is a small set of exact rules, and anything those rules cannot
// carry over is refused, naming the line, rather than written broken. Every
// line of a written file has the number of its line in the source.
#pragma once

#include <string>
#include <vector>

namespace shaderdialects {

enum class ShaderStage { Vertex, Fragment };

struct Dialect {
    const char* directory;  // the directory under Shaders/ that config.cfg's shaderversion names
    const char* versionLine;
    const char* description;
};

// GLSL 1.20, GLSL 3.30 and GLSL ES 3.00, in that order.
const std::vector<Dialect>& dialects();

struct Translation {
    bool ok = false;
    std::string text;   // the shader in the dialect, when ok
    std::string error;  // otherwise one line: "origin:line: what cannot be written"
};

// `source` must open with "#version 330" (or "#version 330 core"), after
// comments at most. `origin` names the source in the errors and in the note
// written on the version line.
Translation translateShader(const std::string& source, ShaderStage stage, const Dialect& dialect,
                            const std::string& origin);

}  // namespace shaderdialects
