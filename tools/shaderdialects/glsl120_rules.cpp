// GLSL 1.20, per global declaration: "in" becomes "attribute" in the vertex
// stage and "varying" in the fragment stage, "out" becomes "varying"; the
// fragment stage's one "out vec4 NAME;" goes and NAME becomes gl_FragColor.
// Precision statements and qualifiers go (1.20 has none, and reads them as
// reserved words); texture() takes the name of its sampler's type. What
// 1.20 lacks altogether is refused, naming the construct.
#include <map>
#include <set>

#include "tools/shaderdialects/dialect_rules.h"

namespace shaderdialects {

namespace {

const std::set<std::string> kPrecisionWords = {"highp", "mediump", "lowp"};
// The types a 1.20 attribute or varying may have.
const std::set<std::string> kFloatTypes = {
    "float",  "vec2",   "vec3",   "vec4",   "mat2",   "mat3",   "mat4",   "mat2x2",
    "mat2x3", "mat2x4", "mat3x2", "mat3x3", "mat3x4", "mat4x2", "mat4x3", "mat4x4"};
// Words after which a name is used, not declared.
const std::set<std::string> kStatementWords = {"return", "else", "do"};

// Names and operators of GLSL 3.30 that GLSL 1.20 does not know.
const std::set<std::string> kUnknownIn120 = {"uint",
                                             "uvec2",
                                             "uvec3",
                                             "uvec4",
                                             "switch",
                                             "case",
                                             "texelFetch",
                                             "texelFetchOffset",
                                             "textureSize",
                                             "textureLod",
                                             "textureLodOffset",
                                             "textureProj",
                                             "textureProjLod",
                                             "textureProjOffset",
                                             "textureProjLodOffset",
                                             "textureOffset",
                                             "textureGrad",
                                             "textureGradOffset",
                                             "textureProjGrad",
                                             "textureProjGradOffset",
                                             "inverse",
                                             "determinant",
                                             "round",
                                             "roundEven",
                                             "trunc",
                                             "isnan",
                                             "isinf",
                                             "sinh",
                                             "cosh",
                                             "tanh",
                                             "asinh",
                                             "acosh",
                                             "atanh",
                                             "modf",
                                             "floatBitsToInt",
                                             "floatBitsToUint",
                                             "intBitsToFloat",
                                             "uintBitsToFloat",
                                             "gl_VertexID",
                                             "gl_InstanceID",
                                             "gl_ClipDistance",
                                             "gl_PrimitiveID",
                                             "flat",
                                             "noperspective",
                                             "layout",
                                             "%",
                                             "%=",
                                             "<<",
                                             ">>",
                                             "<<=",
                                             ">>=",
                                             "&",
                                             "|",
                                             "^",
                                             "&=",
                                             "|=",
                                             "^=",
                                             "~"};

// The 1.20 lookup for each sampler type it has; ".r" follows a shadow lookup.
const std::map<std::string, std::pair<std::string, bool>> kLookups = {
    {"sampler1D", {"texture1D", false}},     {"sampler2D", {"texture2D", false}},
    {"sampler3D", {"texture3D", false}},     {"samplerCube", {"textureCube", false}},
    {"sampler1DShadow", {"shadow1D", true}}, {"sampler2DShadow", {"shadow2D", true}}};

bool isSamplerType(const std::string& word) {
    return word.find("sampler") != std::string::npos && word.find("sampler") <= 1;
}

// The type of every sampler the file declares, uniform or parameter, by name:
// "uniform sampler2D a, b;" names two, "(sampler2D a, vec2 b)" one.
std::map<std::string, std::string> samplerTypes(const Source& source) {
    std::map<std::string, std::string> types;
    const auto isIdentifier = [&](size_t index) {
        return index < source.code.size() && source.codeToken(index).kind == TokenKind::Identifier;
    };
    for (size_t index = 0; index + 1 < source.code.size(); ++index) {
        const std::string type = source.codeText(index);
        if (!isSamplerType(type) || !isIdentifier(index + 1)) continue;
        size_t name = index + 1;
        types[source.codeText(name)] = type;
        while (source.codeIs(name + 1, ",") && isIdentifier(name + 2) &&
               (source.codeIs(name + 3, ",") || source.codeIs(name + 3, ";") ||
                source.codeIs(name + 3, "["))) {
            name += 2;
            types[source.codeText(name)] = type;
        }
    }
    return types;
}

class Writer {
  public:
    Writer(const Source& source, ShaderStage stage)
        : source(source), stage(stage), gone(source.code.size(), false) {}

    RuleResult run() {
        for (const Statement& statement : globalStatements(source)) {
            if (!declaration(statement)) return result;
        }
        if (everyToken()) directives();
        return result;
    }

  private:
    // The qualifiers of a global declaration.
    bool declaration(const Statement& statement) {
        size_t at = statement.first;
        if (source.codeIs(at, "precision")) {
            remove(at, statement.last);
            return true;
        }
        size_t storage = source.code.size();
        bool uniform = false;
        for (; at < statement.last; ++at) {
            const std::string word = source.codeText(at);
            uniform = uniform || word == "uniform";
            if (word == "in" || word == "out") {
                storage = at;
            } else if (word == "smooth") {
                result.edits.push_back(removal(source, at, at));
            } else if (word != "centroid" && word != "invariant" && word != "uniform" &&
                       word != "const" && kPrecisionWords.count(word) == 0) {
                break;
            }
        }
        const bool any = uniform || storage != source.code.size();
        if (any && source.codeIs(at + 1, "{")) {
            return result.refuse(source.codeToken(at), "interface blocks have no GLSL 1.20 form");
        }
        if (storage == source.code.size()) return true;
        const std::string type = source.codeText(at);
        if (kFloatTypes.count(type) == 0) {
            return result.refuse(source.codeToken(at),
                                 "an input or output of type '" + type + "' has no GLSL 1.20 form");
        }
        if (stage == ShaderStage::Fragment && source.codeIs(storage, "out")) {
            return fragmentOutput(statement, at);
        }
        const bool attribute = stage == ShaderStage::Vertex && source.codeIs(storage, "in");
        const Token& token = source.codeToken(storage);
        result.edits.push_back({token.offset, token.length, attribute ? "attribute" : "varying"});
        return true;
    }

    // "out vec4 NAME;": the declaration goes, and NAME is gl_FragColor.
    bool fragmentOutput(const Statement& statement, size_t type) {
        const Token& at = source.codeToken(statement.first);
        if (!outputName.empty()) {
            return result.refuse(at, "GLSL 1.20 has one fragment output, gl_FragColor");
        }
        if (!source.codeIs(type, "vec4") || type + 2 != statement.last ||
            !source.codeIs(statement.last, ";") ||
            source.codeToken(type + 1).kind != TokenKind::Identifier) {
            return result.refuse(at, "the fragment stage's output must be one 'out vec4 NAME;'");
        }
        outputName = source.codeText(type + 1);
        remove(statement.first, statement.last);
        return true;
    }

    // Every token outside the removed declarations: what 1.20 lacks, the
    // precision qualifiers, the output's name and the lookups.
    bool everyToken() {
        const std::map<std::string, std::string> samplers = samplerTypes(source);
        for (size_t index = 0; index < source.code.size(); ++index) {
            if (gone[index]) continue;
            const Token& token = source.codeToken(index);
            const std::string word = source.codeText(index);
            if (kUnknownIn120.count(word) != 0 ||
                (isSamplerType(word) && kLookups.count(word) == 0)) {
                return result.refuse(token, "'" + word + "' has no GLSL 1.20 form");
            }
            if (token.kind == TokenKind::Number && (word.back() == 'u' || word.back() == 'U')) {
                return result.refuse(token, "unsigned numbers have no GLSL 1.20 form");
            }
            if (kPrecisionWords.count(word) != 0)
                result.edits.push_back(removal(source, index, index));
            if (!outputName.empty() && word == outputName && !outputUse(index)) return false;
            if (word == "texture" && source.codeIs(index + 1, "(") && !lookup(index, samplers))
                return false;
        }
        return true;
    }

    // A macro's body is code too: the output's name is renamed there, and a
    // lookup, whose sampler the macro may take as an argument, is refused.
    bool directives() {
        for (const Token& token : source.tokens) {
            if (!token.directive) continue;
            const std::string word = tokenText(source.text, token);
            if (word == "texture") {
                return result.refuse(token, "texture() in a macro has no GLSL 1.20 form here");
            }
            if (!outputName.empty() && word == outputName)
                result.edits.push_back({token.offset, token.length, "gl_FragColor"});
        }
        return true;
    }

    void remove(size_t first, size_t last) {
        result.edits.push_back(removal(source, first, last));
        for (size_t index = first; index <= last; ++index) gone[index] = true;
    }

    // A use of the output's name, which must not be declared again.
    bool outputUse(size_t index) {
        const Token& token = source.codeToken(index);
        const bool declared = index > 0 &&
                              source.codeToken(index - 1).kind == TokenKind::Identifier &&
                              kStatementWords.count(source.codeText(index - 1)) == 0;
        if (declared) {
            return result.refuse(token, "a second declaration of '" + outputName +
                                            "', the fragment output, has no GLSL 1.20 form");
        }
        result.edits.push_back({token.offset, token.length, "gl_FragColor"});
        return true;
    }

    bool lookup(size_t call, const std::map<std::string, std::string>& samplers) {
        const Token& token = source.codeToken(call);
        const std::string sampler = source.codeText(call + 2);
        const auto type = samplers.find(sampler);
        if (type == samplers.end()) {
            return result.refuse(
                token, "texture() on '" + sampler + "', which is no sampler declared in this file");
        }
        const auto form = kLookups.find(type->second);
        if (form == kLookups.end()) {
            return result.refuse(token,
                                 "texture() on a " + type->second + " has no GLSL 1.20 form");
        }
        result.edits.push_back({token.offset, token.length, form->second.first});
        if (!form->second.second) return true;
        const size_t close = closingParenthesis(source, call + 1);
        if (close == source.code.size()) return result.refuse(token, "texture() is never closed");
        const Token& end = source.codeToken(close);
        result.edits.push_back({end.offset + end.length, 0, ".r"});
        return true;
    }

    const Source& source;
    ShaderStage stage;
    RuleResult result;
    std::vector<bool> gone;  // code indices of the declarations taken out
    std::string outputName;
};

}  // namespace

RuleResult glsl120Rules(const Source& source, ShaderStage stage) {
    return Writer(source, stage).run();
}

}  // namespace shaderdialects
