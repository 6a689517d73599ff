// A small scanner: comments are skipped (a block comment may span lines),
// a '#' that opens a line starts a directive that ends with that line, and
// the #if family counts the conditional depth of what follows.
#include "tools/shaderdialects/glsl_tokens.h"

#include <cctype>
#include <cstring>

namespace shaderdialects {

namespace {

bool isIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// The operators of more than one character, longest first.
const char* const kLongOperators[] = {"<<=", ">>=", "&&", "||", "^^", "<<", ">>",
                                      "<=",  ">=",  "==", "!=", "++", "--", "+=",
                                      "-=",  "*=",  "/=", "%=", "&=", "|=", "^="};

size_t operatorLength(const std::string& text, size_t at) {
    for (const char* op : kLongOperators) {
        if (text.compare(at, std::strlen(op), op) == 0) return std::strlen(op);
    }
    return 1;
}

// A number: digits, a point, an exponent with its sign, a suffix, hex digits.
size_t numberLength(const std::string& text, size_t at) {
    size_t end = at;
    const bool hex = text.compare(at, 2, "0x") == 0 || text.compare(at, 2, "0X") == 0;
    while (end < text.size()) {
        const char c = text[end];
        const bool exponentSign = (c == '+' || c == '-') && !hex && end > at &&
                                  (text[end - 1] == 'e' || text[end - 1] == 'E');
        if (!isIdentifierChar(c) && c != '.' && !exponentSign) break;
        ++end;
    }
    return end - at;
}

// Tracks the directives' conditional depth.
class Directives {
  public:
    void start() { nameExpected = true; }
    // Sees a directive's tokens; `name` is the first after the '#'.
    void see(const std::string& text, const Token& token) {
        if (!nameExpected || token.kind != TokenKind::Identifier) return;
        nameExpected = false;
        const std::string name = tokenText(text, token);
        if (name == "if" || name == "ifdef" || name == "ifndef") pendingOpen = true;
        if (name == "endif" && depth > 0) --depth;
    }
    // At the end of a directive's line: an #if counts from the next line on.
    void end() {
        if (pendingOpen) ++depth;
        pendingOpen = false;
        nameExpected = false;
    }
    int depthNow() const { return depth; }

  private:
    int depth = 0;
    bool pendingOpen = false;
    bool nameExpected = false;
};

}  // namespace

std::string withLineFeeds(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\r') {
            out += text[at];
        } else if (at + 1 >= text.size() || text[at + 1] != '\n') {
            out += '\n';
        }
    }
    return out;
}

std::vector<Token> tokenize(const std::string& text) {
    std::vector<Token> tokens;
    Directives directives;
    int line = 1;
    bool lineHasToken = false;
    bool inDirective = false;
    size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c == '\n') {
            if (inDirective) directives.end();
            inDirective = false;
            lineHasToken = false;
            ++line;
            ++at;
        } else if (text.compare(at, 2, "//") == 0) {
            at = text.find('\n', at);
            if (at == std::string::npos) at = text.size();
        } else if (text.compare(at, 2, "/*") == 0) {
            const size_t close = text.find("*/", at + 2);
            const size_t end = close == std::string::npos ? text.size() : close + 2;
            for (size_t i = at; i < end; ++i) line += text[i] == '\n';
            at = end;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++at;
        } else {
            if (c == '#' && !lineHasToken) {
                inDirective = true;
                directives.start();
            }
            TokenKind kind = TokenKind::Punctuation;
            size_t length = operatorLength(text, at);
            if (isIdentifierStart(c)) {
                kind = TokenKind::Identifier;
                for (length = 1; isIdentifierChar(text[at + length]); ++length) {
                }
            } else if (isDigit(c) || (c == '.' && isDigit(text[at + 1]))) {
                kind = TokenKind::Number;
                length = numberLength(text, at);
            }
            const Token token{kind, at, length, line, inDirective, directives.depthNow()};
            if (inDirective && c != '#') directives.see(text, token);
            tokens.push_back(token);
            lineHasToken = true;
            at += length;
        }
    }
    return tokens;
}

}  // namespace shaderdialects
