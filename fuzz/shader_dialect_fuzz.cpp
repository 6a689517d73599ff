// GLSL text, as a visitor may type it into the page's editor, written into
// each dialect: a written text keeps the source's line count and opens with
// the dialect's version line (white space may come first, as in the
// source); a refusal is one line that names the source.
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "tools/shaderdialects/shader_dialect.h"

using namespace shaderdialects;

namespace {

// Line ends as a compiler counts them: "\r\n", "\n" and a lone "\r" each end one.
long lineEnds(const std::string& text) {
    long ends = 0;
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\n' ||
            (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n')))
            ++ends;
    }
    return ends;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string source(reinterpret_cast<const char*>(data), size);
    for (const Dialect& dialect : dialects()) {
        for (const ShaderStage stage : {ShaderStage::Vertex, ShaderStage::Fragment}) {
            const Translation written = translateShader(source, stage, dialect, "user.frag");
            if (written.ok) {
                check(lineEnds(written.text) == lineEnds(source), "every line keeps its number");
                const size_t first = written.text.find_first_not_of(" \t\v\f");
                check(written.text.compare(first, std::string(dialect.versionLine).size(),
                                           dialect.versionLine) == 0,
                      "the version line first, after white space at most");
            } else {
                check(written.error.rfind("user.frag:", 0) == 0, "a refusal names the source");
                check(std::count(written.error.begin(), written.error.end(), '\n') == 0,
                      "a refusal is one line");
            }
        }
    }
    return 0;
}
