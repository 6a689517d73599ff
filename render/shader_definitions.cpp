// A scan rather than a regular expression: a comment may span lines, and a
// line end inside a block comment does not end the directive.
#include "render/shader_definitions.h"

#include <cctype>

namespace {

// The offset just past the line of the #version directive; 0 where there is
// none.
size_t afterVersionLine(const std::string& source) {
    const size_t n = source.size();
    size_t at = 0;
    for (;;) {
        while (at < n && std::isspace(static_cast<unsigned char>(source[at]))) ++at;
        if (source.compare(at, 2, "//") == 0) {
            at = source.find('\n', at);
            if (at == std::string::npos) return 0;
        } else if (source.compare(at, 2, "/*") == 0) {
            at = source.find("*/", at + 2);
            if (at == std::string::npos) return 0;
            at += 2;
        } else {
            break;
        }
    }
    if (at >= n || source[at] != '#') return 0;
    ++at;
    while (at < n && (source[at] == ' ' || source[at] == '\t')) ++at;
    if (source.compare(at, 7, "version") != 0) return 0;
    for (at += 7; at < n; ++at) {
        if (source[at] == '\n') return at + 1;
        if (source.compare(at, 2, "//") == 0) {
            at = source.find('\n', at);
            return at == std::string::npos ? n : at + 1;
        }
        if (source.compare(at, 2, "/*") == 0) {
            at = source.find("*/", at + 2);
            if (at == std::string::npos) return n;
            ++at;
        }
    }
    return n;
}

}  // namespace

std::string withDefinitions(const std::string& source, const std::string& definitions) {
    const size_t at = afterVersionLine(source);
    if (at == source.size() && at > 0 && source.back() != '\n') {
        return source + "\n" + definitions;
    }
    return source.substr(0, at) + definitions + source.substr(at);
}
