// GLSL ES 3.00 takes the 3.30 text as it is, but for two things. It wants
// default precisions: for floats in the fragment stage and for every shadow
// sampler. They go in front of the first declaration, on its own line, so no
// line moves; a declaration that an #if hides ahead of them is refused. And
// it converts no int to a float: an int number that is the whole initialiser
// of a float ("float a = 1;") is written as a float ("1.0"), which is
// exactly what 3.30 makes of it.
#include <set>

#include "tools/shaderdialects/dialect_rules.h"

namespace shaderdialects {

namespace {

const char* const kPrecisions =
    "precision highp float; precision highp int; precision highp sampler2D; "
    "precision highp sampler2DShadow; ";
// The sampler types of GLSL ES 3.00 without a default precision, besides the
// two above, which every file gets.
const std::set<std::string> kSamplersWithoutPrecision = {
    "sampler3D",  "samplerCubeShadow", "sampler2DArray", "sampler2DArrayShadow",
    "isampler2D", "isampler3D",        "isamplerCube",   "isampler2DArray",
    "usampler2D", "usampler3D",        "usamplerCube",   "usampler2DArray"};
// What GLSL 3.30 has and GLSL ES 3.00 lacks.
const std::set<std::string> kUnknownInEs300 = {
    "sampler1D",        "sampler1DShadow",     "sampler1DArray", "sampler1DArrayShadow",
    "sampler2DRect",    "sampler2DRectShadow", "samplerBuffer",  "sampler2DMS",
    "sampler2DMSArray", "isampler1D",          "usampler1D",     "noperspective",
    "gl_ClipDistance",  "gl_PrimitiveID"};

// A decimal int number whose value a float with ".0" appended keeps: no octal
// (a leading 0), no hex, no suffix.
bool isPlainDecimalInt(const std::string& word) {
    if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos) return false;
    return word == "0" || word[0] != '0';
}

// A precision for each sampler type of the file that has no default one.
std::string samplerPrecisions(const Source& source) {
    std::set<std::string> types;
    for (size_t index = 0; index < source.code.size(); ++index) {
        if (kSamplersWithoutPrecision.count(source.codeText(index)) != 0)
            types.insert(source.codeText(index));
    }
    std::string statements;
    for (const std::string& type : types) statements += "precision highp " + type + "; ";
    return statements;
}

// Where the precisions go: before the first code token outside every #if.
// Only precision statements may come ahead of it, inside an #if.
bool precisionsAhead(const Source& source, RuleResult& result) {
    bool inPrecisionStatement = false;
    for (size_t index = 0; index < source.code.size(); ++index) {
        const Token& token = source.codeToken(index);
        if (token.conditionalDepth == 0) {
            result.edits.push_back({token.offset, 0, kPrecisions + samplerPrecisions(source)});
            return true;
        }
        if (source.codeIs(index, "precision")) inPrecisionStatement = true;
        if (!inPrecisionStatement) {
            return result.refuse(token,
                                 "GLSL ES 3.00 needs default precisions ahead of the first "
                                 "declaration, which lies inside #if here; put one outside "
                                 "every #if first");
        }
        if (source.codeIs(index, ";")) inPrecisionStatement = false;
    }
    return true;
}

// "float NAME = INT" and ", NAME = INT" after it, up to the ';'.
void floatInitialisers(const Source& source, RuleResult& result) {
    for (size_t index = 0; index + 3 < source.code.size(); ++index) {
        if (!source.codeIs(index, "float")) continue;
        size_t name = index + 1;
        while (source.codeToken(name).kind == TokenKind::Identifier &&
               source.codeIs(name + 1, "=")) {
            size_t number = name + 2;
            if (source.codeIs(number, "-") || source.codeIs(number, "+")) ++number;
            if (number + 1 >= source.code.size()) break;
            const bool ends = source.codeIs(number + 1, ",") || source.codeIs(number + 1, ";");
            if (ends && isPlainDecimalInt(source.codeText(number))) {
                const Token& token = source.codeToken(number);
                result.edits.push_back({token.offset + token.length, 0, ".0"});
            }
            if (!source.codeIs(number + 1, ",")) break;
            name = number + 2;
            if (name + 1 >= source.code.size()) break;
        }
    }
}

}  // namespace

RuleResult glslEs300Rules(const Source& source) {
    RuleResult result;
    for (size_t index = 0; index < source.code.size(); ++index) {
        const std::string word = source.codeText(index);
        if (kUnknownInEs300.count(word) != 0) {
            result.refuse(source.codeToken(index), "'" + word + "' has no GLSL ES 3.00 form");
            return result;
        }
    }
    if (!precisionsAhead(source, result)) return result;
    floatInitialisers(source, result);
    return result;
}

}  // namespace shaderdialects
