// What the dialect rules share: the source as text and tokens, the edits a
// rule makes, and the global statements the rules look at. An edit never
// adds or removes a line end, so every line of the written file keeps its
// number and a compiler's message points into the source as written.
#pragma once

#include <string>
#include <vector>

#include "tools/shaderdialects/glsl_tokens.h"
#include "tools/shaderdialects/shader_dialect.h"

namespace shaderdialects {

struct Source {
    std::string text;  // LF line ends only
    std::vector<Token> tokens;
    std::vector<size_t> code;  // the indices of the tokens outside directives

    const Token& codeToken(size_t index) const { return tokens[code[index]]; }
    std::string codeText(size_t index) const { return tokenText(text, codeToken(index)); }
    bool codeIs(size_t index, const char* word) const {
        return index < code.size() && codeText(index) == word;
    }
};

Source readSource(const std::string& text);

struct Edit {
    size_t offset;
    size_t length;
    std::string replacement;
};

struct RuleResult {
    std::vector<Edit> edits;
    int errorLine = 0;
    std::string error;  // the construct that has no form in the dialect

    bool failed() const { return !error.empty(); }
    bool refuse(const Token& at, const std::string& why) {
        errorLine = at.line;
        error = why;
        return false;
    }
};

// A statement at global scope, as code indices: from `first` to `last`, the
// ';' that ends it or the '{' that opens its body.
struct Statement {
    size_t first;
    size_t last;
};
std::vector<Statement> globalStatements(const Source& source);

// The code index of the ')' that closes the '(' at `open`; code.size() when none.
size_t closingParenthesis(const Source& source, size_t open);

// An edit that takes out code indices `first` to `last` but keeps their line ends.
Edit removal(const Source& source, size_t first, size_t last);

// `source` with `edits` (which must not overlap) made.
std::string applyEdits(const std::string& text, std::vector<Edit> edits);

// The edits that write `source` (GLSL 3.30, version line excluded) in GLSL
// 1.20 or in GLSL ES 3.00.
RuleResult glsl120Rules(const Source& source, ShaderStage stage);
RuleResult glslEs300Rules(const Source& source);

}  // namespace shaderdialects
