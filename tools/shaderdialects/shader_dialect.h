// Writes one shader source in each GLSL dialect the program can load. The
// source is GLSL 3.30; the translation to GLSL 1.20 and GLSL ES 3.00 is a
// small set of exact rules, and anything those rules cannot carry over is an
// error rather than a silent difference between the dialects.
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
    std::string error;  // one line naming the source line that cannot be written, otherwise
};

// `source` must open with "#version 330". `origin` names the source in the
// note written under the version line.
Translation translateShader(const std::string& source, ShaderStage stage, const Dialect& dialect,
                            const std::string& origin);

}  // namespace shaderdialects
