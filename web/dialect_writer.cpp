// The page's dialect writer: the same GLSL 3.30 to GLSL ES 3.00 translation
// that writes the desktop's sets (tools/shaderdialects), built as a small
// module of its own, shaderdialects_web.js, for the page's editor. Text goes
// in and text comes out; it needs no file system and no GL.
#include <emscripten.h>

#include <string>

#include "tools/shaderdialects/shader_dialect.h"

namespace {

// The last answer, kept until the next call so the page can read it.
std::string answer;

const shaderdialects::Dialect& es300() {
    for (const shaderdialects::Dialect& dialect : shaderdialects::dialects()) {
        if (std::string(dialect.directory) == "300es") return dialect;
    }
    return shaderdialects::dialects().back();
}

}  // namespace

// `source` (`length` bytes, GLSL 3.30) written as GLSL ES 3.00, for the
// vertex stage or (`fragment` not 0) the fragment stage. The answer starts
// with '+' and goes on with the written text, or starts with '-' and goes on
// with the refusal, one line: "<origin>:<line>: <what cannot be written>".
extern "C" EMSCRIPTEN_KEEPALIVE const char* writeEs300(const char* source, int length, int fragment,
                                                       const char* origin) {
    const shaderdialects::Translation translation = shaderdialects::translateShader(
        std::string(source, static_cast<size_t>(length)),
        fragment != 0 ? shaderdialects::ShaderStage::Fragment : shaderdialects::ShaderStage::Vertex,
        es300(), origin);
    answer = translation.ok ? "+" + translation.text : "-" + translation.error;
    return answer.c_str();
}
