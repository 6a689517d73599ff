// The fast scanner follows the format text directive by directive with the
// rules of scanf: a space matches any white space (none included), "%d" and
// "%f" skip leading white space, any other character must match exactly, and
// the first mismatch ends the scan with the remaining targets unwritten. It
// converts only what it can convert exactly (at most nine-digit integers and
// plain decimal floats followed by white space or the end of the line) and
// hands every other line to sscanf on a bounded copy, which is the reference.
#include "assets/obj_line_scanner.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace {

// White space as the C locale's isspace sees it.
inline bool isSpace(char c) { return c == ' ' || static_cast<unsigned char>(c - '\t') <= 4; }

inline bool isDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

inline const char* skipSpace(const char* p, const char* end) {
    while (p < end && isSpace(*p)) ++p;
    return p;
}

// What the fast scanner made of one conversion.
enum class Conversion {
    Stored,       // converted, exactly as sscanf would
    Stopped,      // sscanf would stop here too (no digits, end of line)
    NeedsLibrary  // only sscanf can say what this is
};

// "%d" after the white space: an optional sign and up to nine digits. Longer
// numbers wrap in ways that are the library's to define.
Conversion convertInt(const char*& p, const char* end, int& value) {
    const char* q = p;
    bool negative = false;
    if (q < end && (*q == '+' || *q == '-')) {
        negative = *q == '-';
        ++q;
    }
    const char* digits = q;
    int magnitude = 0;
    while (q < end && isDigit(*q) && q - digits < 9) magnitude = magnitude * 10 + (*q++ - '0');
    if (q == digits) return Conversion::Stopped;
    if (q < end && isDigit(*q)) return Conversion::NeedsLibrary;
    value = negative ? -magnitude : magnitude;
    p = q;
    return Conversion::Stored;
}

// Powers of ten that a float holds exactly (5^10 < 2^24).
constexpr float kExactPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                       1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// "%f" after the white space, for plain decimal text: an optional sign,
// digits with at most one point, an optional exponent with digits, and then
// white space or the end of the line. Hex, inf, nan, a dangling exponent or
// any other following character go to the library.
Conversion convertFloat(const char*& p, const char* end, float& value) {
    const char* q = p;
    bool negative = false;
    if (q < end && (*q == '+' || *q == '-')) {
        negative = *q == '-';
        ++q;
    }
    const char* numberStart = q;
    std::uint64_t mantissa = 0;
    int digitCount = 0;
    int fractionDigits = 0;
    while (q < end && isDigit(*q)) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*q++ - '0');
        ++digitCount;
        if (digitCount > 19) return Conversion::NeedsLibrary;
    }
    if (q < end && *q == '.') {
        ++q;
        while (q < end && isDigit(*q)) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*q++ - '0');
            ++digitCount;
            ++fractionDigits;
            if (digitCount > 19) return Conversion::NeedsLibrary;
        }
    }
    if (digitCount == 0) return Conversion::NeedsLibrary;
    int exponent = 0;
    if (q < end && (*q == 'e' || *q == 'E')) {
        ++q;
        bool negativeExponent = false;
        if (q < end && (*q == '+' || *q == '-')) {
            negativeExponent = *q == '-';
            ++q;
        }
        if (q == end || !isDigit(*q)) return Conversion::NeedsLibrary;
        while (q < end && isDigit(*q)) {
            if (exponent < 100000) exponent = exponent * 10 + (*q - '0');
            ++q;
        }
        if (negativeExponent) exponent = -exponent;
    }
    if (q < end && !isSpace(*q)) return Conversion::NeedsLibrary;

    float magnitude = 0.0f;
    const int decimalExponent = exponent - fractionDigits;
    if (mantissa < (1u << 24) && decimalExponent >= -10 && decimalExponent <= 10) {
        // Both operands are exact, so the one rounding of the product or
        // quotient gives the correctly rounded float, as strtof does.
        const float exactMantissa = static_cast<float>(mantissa);
        magnitude = decimalExponent >= 0 ? exactMantissa * kExactPowersOfTen[decimalExponent]
                                         : exactMantissa / kExactPowersOfTen[-decimalExponent];
    } else {
        const std::from_chars_result result = std::from_chars(numberStart, q, magnitude);
        if (result.ec != std::errc() || result.ptr != q) return Conversion::NeedsLibrary;
    }
    value = negative ? -magnitude : magnitude;
    p = q;
    return Conversion::Stored;
}

// The values one fast scan converted, in scan order, before they are stored.
struct ScannedValues {
    int count = 0;
    int ints[9];
    float floats[9];
};

// Follows `format` over [p, end). Returns false when the line must go to the
// library; true when the scan ended as sscanf's would, with the converted
// values in `values`.
bool scanFast(const char* format, const char* p, const char* end, ScannedValues& values) {
    for (const char* f = format; *f != '\0'; ++f) {
        if (*f == ' ') {
            p = skipSpace(p, end);
        } else if (*f == '%') {
            ++f;
            p = skipSpace(p, end);
            if (p == end) return true;
            Conversion conversion =
                *f == 'd' ? convertInt(p, end, values.ints[values.count])
                          : convertFloat(p, end, values.floats[values.count]);
            if (conversion == Conversion::NeedsLibrary) return false;
            if (conversion == Conversion::Stopped) return true;
            ++values.count;
        } else {
            if (p == end || *p != *f) return true;
            ++p;
        }
    }
    return true;
}

}  // namespace

FacePattern chooseFacePattern(bool hasPositions, bool hasTexCoords, bool hasNormals) {
    if (hasPositions && hasTexCoords && hasNormals) return FacePattern::All;
    if (hasPositions && hasTexCoords) return FacePattern::PositionsTexCoords;
    if (hasPositions && hasNormals) return FacePattern::PositionsNormals;
    if (hasTexCoords && hasNormals) return FacePattern::TexCoordsNormals;
    if (hasPositions) return FacePattern::PositionsOnly;
    if (hasTexCoords) return FacePattern::TexCoordsOnly;
    if (hasNormals) return FacePattern::NormalsOnly;
    return FacePattern::None;
}

const char* faceFormat(FacePattern pattern, const char* line, const char* end) {
    switch (pattern) {
        case FacePattern::PositionsOnly: {
            // The "/" test looks at the line's own bytes only, never past its end.
            const size_t window = end - line < 10 ? static_cast<size_t>(end - line) : 10;
            return std::memchr(line, '/', window) != nullptr ? "f %d// %d// %d//" : "f %d %d %d";
        }
        case FacePattern::TexCoordsOnly: return "f /%d/ /%d/ /%d/";
        case FacePattern::NormalsOnly: return "f //%d //%d //%d";
        case FacePattern::PositionsTexCoords: return "f %d/%d/ %d/%d/ %d/%d/";
        case FacePattern::PositionsNormals: return "f %d//%d %d//%d %d//%d";
        case FacePattern::TexCoordsNormals: return "f /%d/%d /%d/%d /%d/%d";
        case FacePattern::All: return "f %d/%d/%d %d/%d/%d %d/%d/%d";
        case FacePattern::None: break;
    }
    return nullptr;
}

const char* ObjLineScanner::terminatedCopy(const char* begin, const char* end) {
    ++libraryScanCount;
    lineCopy.assign(begin, end);
    return lineCopy.c_str();
}

void ObjLineScanner::scanFloats(const char* format, const char* begin, const char* end,
                                float* x, float* y, float* z) {
    ScannedValues values;
    if (scanFast(format, begin, end, values)) {
        float* targets[3] = {x, y, z};
        for (int i = 0; i < values.count; ++i) *targets[i] = values.floats[i];
        return;
    }
    std::sscanf(terminatedCopy(begin, end), format, x, y, z);
}

void ObjLineScanner::scanPosition(const char* begin, const char* end, glm::vec3& position) {
    scanFloats("v %f %f %f", begin, end, &position.x, &position.y, &position.z);
}

void ObjLineScanner::scanNormal(const char* begin, const char* end, glm::vec3& normal) {
    scanFloats("vn %f %f %f", begin, end, &normal.x, &normal.y, &normal.z);
}

void ObjLineScanner::scanTexCoord(const char* begin, const char* end, glm::vec2& texCoord) {
    float ignored = 0.0f;
    scanFloats("vt %f %f", begin, end, &texCoord.x, &texCoord.y, &ignored);
}

void ObjLineScanner::scanFace(FacePattern pattern, const char* begin, const char* end,
                              ObjFace& face) {
    const char* format = faceFormat(pattern, begin, end);
    if (format == nullptr) return;
    int* p = face.positionIndex;
    int* t = face.texCoordIndex;
    int* n = &face.normalIndex;
    int unused = 0;
    int* u = &unused;
    // The targets in scan order; formats with fewer conversions leave the tail.
    int* targets[9] = {u, u, u, u, u, u, u, u, u};
    auto assign = [&](std::initializer_list<int*> list) {
        int i = 0;
        for (int* target : list) targets[i++] = target;
    };
    switch (pattern) {
        case FacePattern::PositionsOnly: assign({&p[0], &p[1], &p[2]}); break;
        case FacePattern::TexCoordsOnly: assign({&t[0], &t[1], &t[2]}); break;
        case FacePattern::NormalsOnly: assign({n, n, n}); break;
        case FacePattern::PositionsTexCoords:
            assign({&p[0], &t[0], &p[1], &t[1], &p[2], &t[2]});
            break;
        case FacePattern::PositionsNormals: assign({&p[0], n, &p[1], n, &p[2], n}); break;
        case FacePattern::TexCoordsNormals: assign({&t[0], n, &t[1], n, &t[2], n}); break;
        case FacePattern::All: assign({&p[0], &t[0], n, &p[1], &t[1], n, &p[2], &t[2], n}); break;
        case FacePattern::None: return;
    }
    ScannedValues values;
    if (scanFast(format, begin, end, values)) {
        for (int i = 0; i < values.count; ++i) *targets[i] = values.ints[i];
        return;
    }
    std::sscanf(terminatedCopy(begin, end), format, targets[0], targets[1], targets[2],
                targets[3], targets[4], targets[5], targets[6], targets[7], targets[8]);
}
