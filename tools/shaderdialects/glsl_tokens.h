// The tokens of a GLSL source, as far as the dialect rules need them: names,
// numbers and operators outside comments, each with its place and line, and
// whether it belongs to a preprocessor directive. Comments are never tokens,
// so nothing inside them is ever rewritten.
#pragma once

#include <string>
#include <vector>

namespace shaderdialects {

enum class TokenKind { Identifier, Number, Punctuation };

struct Token {
    TokenKind kind;
    size_t offset;  // into the text given to tokenize
    size_t length;
    int line;              // from 1
    bool directive;        // part of a "#..." line
    int conditionalDepth;  // how many #if, #ifdef, #ifndef enclose it
};

// `text` with every CR LF and every lone CR made a LF: one line end per line,
// so that the line numbers stay those of the original.
std::string withLineFeeds(const std::string& text);

std::vector<Token> tokenize(const std::string& text);

inline std::string tokenText(const std::string& text, const Token& token) {
    return text.substr(token.offset, token.length);
}

}  // namespace shaderdialects
