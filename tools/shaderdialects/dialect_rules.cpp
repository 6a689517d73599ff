// The statement structure the rules rely on: braces and parentheses are
// counted over the code outside directives, so a declaration is found
// wherever it sits on its line, and a function's parameters never count.
#include "tools/shaderdialects/dialect_rules.h"

#include <algorithm>

namespace shaderdialects {

Source readSource(const std::string& text) {
    Source source;
    source.text = withLineFeeds(text);
    source.tokens = tokenize(source.text);
    for (size_t index = 0; index < source.tokens.size(); ++index) {
        if (!source.tokens[index].directive) source.code.push_back(index);
    }
    return source;
}

std::vector<Statement> globalStatements(const Source& source) {
    std::vector<Statement> statements;
    int braces = 0;
    int parentheses = 0;
    bool open = false;
    for (size_t index = 0; index < source.code.size(); ++index) {
        const std::string word = source.codeText(index);
        const bool global = braces == 0 && parentheses == 0;
        if (global && !open) {
            statements.push_back({index, index});
            open = true;
        }
        if (word == "(") ++parentheses;
        if (word == ")" && parentheses > 0) --parentheses;
        if (word == "{") ++braces;
        if (word == "}" && braces > 0) --braces;
        const bool ends = (word == ";" && global) || (word == "{" && braces == 1 && global) ||
                          (word == "}" && braces == 0 && parentheses == 0);
        if (open && ends) {
            if (word != "}") statements.back().last = index;
            open = false;
        }
    }
    if (open) statements.back().last = source.code.size() - 1;
    return statements;
}

size_t closingParenthesis(const Source& source, size_t open) {
    int depth = 0;
    for (size_t index = open; index < source.code.size(); ++index) {
        const std::string word = source.codeText(index);
        if (word == "(") ++depth;
        if (word == ")" && --depth == 0) return index;
    }
    return source.code.size();
}

Edit removal(const Source& source, size_t first, size_t last) {
    const size_t from = source.codeToken(first).offset;
    const size_t to = source.codeToken(last).offset + source.codeToken(last).length;
    const std::string removed = source.text.substr(from, to - from);
    return {from, to - from, std::string(std::count(removed.begin(), removed.end(), '\n'), '\n')};
}

std::string applyEdits(const std::string& text, std::vector<Edit> edits) {
    std::sort(edits.begin(), edits.end(),
              [](const Edit& a, const Edit& b) { return a.offset > b.offset; });
    std::string out = text;
    for (const Edit& edit : edits) out.replace(edit.offset, edit.length, edit.replacement);
    return out;
}

}  // namespace shaderdialects
