// The fast scanner follows the format text directive by directive with the
// rules of scanf: a space matches any white space (none included), "%d" and
// "%f" skip leading white space, any other character must match exactly, and
// the first mismatch ends the scan with the remaining targets unwritten. It
// converts only what it can convert exactly (at most nine-digit integers and
// plain decimal floats followed by white space or the end of the line) and
// hands every other line to sscanf on a bounded copy, which is the reference.
// A line ends before its "\n" or at the end of the text: the fast scanner never
// takes a "\n" for white space, so it never scans past the line, and it finds
// the line's end as it goes instead of searching for it first. Digits are read
// eight bytes at a time where eight more bytes of text remain; a "\n" stops
// them like any other non-digit.
#include "assets/obj_line_scanner.h"

#include <cfloat>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace {

// White space as the C locale's isspace sees it, less the "\n" that ends a
// line: within one line the two are the same.
inline bool isSpace(char c) {
    return c == ' ' || c == '\t' || static_cast<unsigned char>(c - '\v') <= 2;
}

inline bool isDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

inline bool atLineEnd(const char* p, const char* end) { return p == end || *p == '\n'; }

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

// The number of leading ASCII digits among the 8 bytes of `word`, in memory
// order. A byte's digit test can only be disturbed by a carry out of an
// earlier byte, and only a non-digit byte carries, so the first non-digit is
// always found exactly.
inline int leadingDigits(std::uint64_t word) {
    const std::uint64_t offsets = word ^ 0x3030303030303030ull;
    const std::uint64_t nonDigits =
        (offsets | (offsets + 0x0606060606060606ull)) & 0xF0F0F0F0F0F0F0F0ull;
    return nonDigits == 0 ? 8 : __builtin_ctzll(nonDigits) >> 3;
}

// The value of the first `count` (1 to 8) digits of `word`: the digits are
// moved to the high end, behind zero bytes, and combined pairwise.
inline std::uint64_t digitsValue(std::uint64_t word, int count) {
    word = (word & 0x0F0F0F0F0F0F0F0Full) << (8 * (8 - count));
    word = (word * 10 + (word >> 8)) & 0x00FF00FF00FF00FFull;
    word = (word * 100 + (word >> 16)) & 0x0000FFFF0000FFFFull;
    return (word * 10000 + (word >> 32)) & 0xFFFFFFFFull;
}

constexpr std::uint64_t kPowersOfTen[] = {1,      10,      100,      1000,     10000,
                                          100000, 1000000, 10000000, 100000000};

// Consumes the digits at q and appends them to `value`; returns how many.
// Eight bytes at a time while eight remain before the end of the text. Stops
// counting soon after 19 digits (callers refuse such numbers, and `value` has
// wrapped).
__attribute__((noinline)) int readManyDigits(const char*& q, const char* end,
                                             std::uint64_t& value) {
    int count = 0;
    while (end - q >= 8) {
        std::uint64_t word;
        std::memcpy(&word, q, sizeof word);
        const int digits = leadingDigits(word);
        if (digits == 0) return count;
        value = value * kPowersOfTen[digits] + digitsValue(word, digits);
        q += digits;
        count += digits;
        if (digits < 8 || count > 19) return count;
    }
    while (q < end && isDigit(*q) && count <= 19) {
        value = value * 10 + static_cast<unsigned>(*q++ - '0');
        ++count;
    }
    return count;
}

// As readManyDigits, with the common case inline: fewer than eight digits,
// all within one 8-byte word.
inline __attribute__((always_inline)) int readDigits(const char*& q, const char* end,
                                                     std::uint64_t& value) {
    if (end - q >= 8) {
        std::uint64_t word;
        std::memcpy(&word, q, sizeof word);
        const int digits = leadingDigits(word);
        if (digits < 8) {
            if (digits > 0) {
                value = value * kPowersOfTen[digits] + digitsValue(word, digits);
                q += digits;
            }
            return digits;
        }
    }
    return readManyDigits(q, end, value);
}

// "%d" after the white space: an optional sign and up to nine digits. Longer
// numbers wrap in ways that are the library's to define.
inline __attribute__((always_inline)) Conversion convertInt(const char*& p, const char* end,
                                                            int& value) {
    const char* q = p;
    bool negative = false;
    if (q < end && (*q == '+' || *q == '-')) {
        negative = *q == '-';
        ++q;
    }
    std::uint64_t magnitude = 0;
    const int digits = readDigits(q, end, magnitude);
    if (digits == 0) return Conversion::Stopped;
    if (digits > 9) return Conversion::NeedsLibrary;
    value = negative ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
    p = q;
    return Conversion::Stored;
}

// Powers of ten that a double holds exactly (5^22 < 2^53).
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The float nearest to mantissa × 10^decimalExponent, as strtof gives it, for
// the common case; false for the rest. With both operands exact, one double
// multiplication or division gives the double d nearest to the true value x.
// Rounding d to float gives the float nearest to x unless d is exactly halfway
// between two floats: any halfway point strictly between x and d would be a
// double nearer to x than d. That one case, and results outside the normal
// float range, are left to from_chars.
bool convertDecimal(std::uint64_t mantissa, int decimalExponent, int digitCount, float& value) {
    if (mantissa == 0) {
        value = 0.0f;
        return true;
    }
    if (digitCount > 15 || decimalExponent < -22 || decimalExponent > 22) return false;
    const double exactMantissa = static_cast<double>(mantissa);
    const double nearest = decimalExponent >= 0
                               ? exactMantissa * kExactPowersOfTen[decimalExponent]
                               : exactMantissa / kExactPowersOfTen[-decimalExponent];
    if (nearest < static_cast<double>(FLT_MIN) || nearest > static_cast<double>(FLT_MAX))
        return false;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &nearest, sizeof bits);
    // The 29 bits of a double's significand below a float's 24.
    constexpr std::uint64_t kBelowFloat = (std::uint64_t{1} << 29) - 1;
    if ((bits & kBelowFloat) == (std::uint64_t{1} << 28)) return false;
    value = static_cast<float>(nearest);
    return true;
}

// "%f" after the white space, for plain decimal text: an optional sign,
// digits with at most one point, an optional exponent with digits, and then
// white space or the end of the line. Hex, inf, nan, a dangling exponent or
// any other following character go to the library.
inline __attribute__((always_inline)) Conversion convertFloat(const char*& p, const char* end,
                                                              float& value) {
    const char* q = p;
    bool negative = false;
    if (q < end && (*q == '+' || *q == '-')) {
        negative = *q == '-';
        ++q;
    }
    const char* numberStart = q;
    std::uint64_t mantissa = 0;
    int digitCount = readDigits(q, end, mantissa);
    int fractionDigits = 0;
    if (q < end && *q == '.') {
        ++q;
        fractionDigits = readDigits(q, end, mantissa);
        digitCount += fractionDigits;
    }
    if (digitCount == 0 || digitCount > 19) return Conversion::NeedsLibrary;
    int exponent = 0;
    if (q < end && (*q == 'e' || *q == 'E')) {
        ++q;
        bool negativeExponent = false;
        if (q < end && (*q == '+' || *q == '-')) {
            negativeExponent = *q == '-';
            ++q;
        }
        std::uint64_t exponentValue = 0;
        const int exponentDigits = readDigits(q, end, exponentValue);
        if (exponentDigits == 0 || exponentDigits > 6) return Conversion::NeedsLibrary;
        exponent =
            negativeExponent ? -static_cast<int>(exponentValue) : static_cast<int>(exponentValue);
    }
    if (!atLineEnd(q, end) && !isSpace(*q)) return Conversion::NeedsLibrary;

    float magnitude = 0.0f;
    if (!convertDecimal(mantissa, exponent - fractionDigits, digitCount, magnitude)) {
#if defined(__cpp_lib_to_chars)
        const std::from_chars_result result = std::from_chars(numberStart, q, magnitude);
        if (result.ec != std::errc() || result.ptr != q) return Conversion::NeedsLibrary;
#else
        // A standard library without floating-point from_chars (emscripten's
        // libc++): the library reads the line, which gives the same value.
        (void)numberStart;
        return Conversion::NeedsLibrary;
#endif
    }
    value = negative ? -magnitude : magnitude;
    p = q;
    return Conversion::Stored;
}

// Follows the format over the line at p, one directive per instantiation,
// so that each format compiles to straight-line code, and hands each converted
// value to targets.store<Slot>(value). Returns nullptr when the line must go to
// the library; otherwise the scan ended as sscanf's would, and the result is
// where it stopped, within the line. Values stored before a line turns out to
// need the library are the ones the library stores there too: both read the
// same prefix of the line the same way.
template <const char* Format, typename Targets, int At = 0, int Slot = 0>
inline const char* scanFast(const char* p, const char* end, Targets& targets) {
    constexpr char directive = Format[At];
    if constexpr (directive == '\0') {
        return p;
    } else if constexpr (directive == ' ') {
        return scanFast<Format, Targets, At + 1, Slot>(skipSpace(p, end), end, targets);
    } else if constexpr (directive == '%') {
        p = skipSpace(p, end);
        if (atLineEnd(p, end)) return p;
        if constexpr (Format[At + 1] == 'd') {
            int value = 0;
            const Conversion conversion = convertInt(p, end, value);
            if (conversion != Conversion::Stored)
                return conversion == Conversion::Stopped ? p : nullptr;
            targets.template store<Slot>(value);
        } else {
            float value = 0.0f;
            const Conversion conversion = convertFloat(p, end, value);
            if (conversion != Conversion::Stored)
                return conversion == Conversion::Stopped ? p : nullptr;
            targets.template store<Slot>(value);
        }
        return scanFast<Format, Targets, At + 2, Slot + 1>(p, end, targets);
    } else {
        if (p == end || *p != directive) return p;
        return scanFast<Format, Targets, At + 1, Slot>(p + 1, end, targets);
    }
}

constexpr char kPositionFormat[] = "v %f %f %f";
constexpr char kNormalFormat[] = "vn %f %f %f";
constexpr char kTexCoordFormat[] = "vt %f %f";

// The float targets of a vertex line, in scan order.
struct FloatTargets {
    float* slots[3];
    template <int Slot>
    void store(float value) {
        *slots[Slot] = value;
    }
};

// Face fields by number: 0-2 position indices, 3-5 texture-coordinate
// indices, 6 the normal index.
int* faceField(ObjFace& face, int field) {
    if (field < 3) return &face.positionIndex[field];
    if (field < 6) return &face.texCoordIndex[field - 3];
    return &face.normalIndex;
}

// One face pattern: its format and the field each conversion goes to.
#define ISLAND_FACE_PATTERN(name, format, ...)                            \
    struct name {                                                         \
        static constexpr char kFormat[] = format;                         \
        static constexpr int kFields[] = {__VA_ARGS__};                   \
        static constexpr int kFieldCount = sizeof(kFields) / sizeof(int); \
    };
ISLAND_FACE_PATTERN(PositionsOnlyPattern, "f %d %d %d", 0, 1, 2)
ISLAND_FACE_PATTERN(PositionsOnlySlashPattern, "f %d// %d// %d//", 0, 1, 2)
ISLAND_FACE_PATTERN(TexCoordsOnlyPattern, "f /%d/ /%d/ /%d/", 3, 4, 5)
ISLAND_FACE_PATTERN(NormalsOnlyPattern, "f //%d //%d //%d", 6, 6, 6)
ISLAND_FACE_PATTERN(PositionsTexCoordsPattern, "f %d/%d/ %d/%d/ %d/%d/", 0, 3, 1, 4, 2, 5)
ISLAND_FACE_PATTERN(PositionsNormalsPattern, "f %d//%d %d//%d %d//%d", 0, 6, 1, 6, 2, 6)
ISLAND_FACE_PATTERN(TexCoordsNormalsPattern, "f /%d/%d /%d/%d /%d/%d", 3, 6, 4, 6, 5, 6)
ISLAND_FACE_PATTERN(AllPattern, "f %d/%d/%d %d/%d/%d %d/%d/%d", 0, 3, 6, 1, 4, 6, 2, 5, 6)
#undef ISLAND_FACE_PATTERN

template <typename Pattern>
struct FaceTargets {
    ObjFace& face;
    template <int Slot>
    void store(int value) {
        constexpr int field = Pattern::kFields[Slot];
        if constexpr (field < 3) {
            face.positionIndex[field] = value;
        } else if constexpr (field < 6) {
            face.texCoordIndex[field - 3] = value;
        } else {
            face.normalIndex = value;
        }
    }
};

template <typename Pattern>
const char* scanFaceFast(const char* begin, const char* end, ObjFace& face) {
    FaceTargets<Pattern> targets{face};
    return scanFast<Pattern::kFormat>(begin, end, targets);
}

template <const char* Format>
const char* scanFloatsFast(const char* begin, const char* end, float* x, float* y, float* z) {
    FloatTargets targets{{x, y, z}};
    return scanFast<Format>(begin, end, targets);
}

// The end of the line that contains `from`; a plain line's scan stops right
// at it.
inline const char* lineEndFrom(const char* from, const char* end) {
    if (atLineEnd(from, end)) return from;
    const void* newline = std::memchr(from, '\n', static_cast<size_t>(end - from));
    return newline != nullptr ? static_cast<const char*>(newline) : end;
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

namespace {

// The "/" test looks at the line's own bytes only, never past its end.
bool slashInFirstTenBytes(const char* line, const char* end) {
    for (int i = 0; i < 10 && !atLineEnd(line + i, end); ++i)
        if (line[i] == '/') return true;
    return false;
}

}  // namespace

const char* ObjLineScanner::terminatedCopy(const char* begin, const char* end) {
    ++libraryScanCount;
    lineCopy.assign(begin, end);
    return lineCopy.c_str();
}

const char* ObjLineScanner::scanPosition(const char* begin, const char* end, glm::vec3& position) {
    const char* stop =
        scanFloatsFast<kPositionFormat>(begin, end, &position.x, &position.y, &position.z);
    if (stop != nullptr) return lineEndFrom(stop, end);
    const char* lineEnd = lineEndFrom(begin, end);
    std::sscanf(terminatedCopy(begin, lineEnd), kPositionFormat, &position.x, &position.y,
                &position.z);
    return lineEnd;
}

const char* ObjLineScanner::scanNormal(const char* begin, const char* end, glm::vec3& normal) {
    const char* stop = scanFloatsFast<kNormalFormat>(begin, end, &normal.x, &normal.y, &normal.z);
    if (stop != nullptr) return lineEndFrom(stop, end);
    const char* lineEnd = lineEndFrom(begin, end);
    std::sscanf(terminatedCopy(begin, lineEnd), kNormalFormat, &normal.x, &normal.y, &normal.z);
    return lineEnd;
}

const char* ObjLineScanner::scanTexCoord(const char* begin, const char* end, glm::vec2& texCoord) {
    float ignored = 0.0f;
    const char* stop =
        scanFloatsFast<kTexCoordFormat>(begin, end, &texCoord.x, &texCoord.y, &ignored);
    if (stop != nullptr) return lineEndFrom(stop, end);
    const char* lineEnd = lineEndFrom(begin, end);
    std::sscanf(terminatedCopy(begin, lineEnd), kTexCoordFormat, &texCoord.x, &texCoord.y);
    return lineEnd;
}

const char* ObjLineScanner::scanFace(FacePattern pattern, const char* begin, const char* end,
                                     ObjFace& face) {
    const char* format = nullptr;
    const int* fields = nullptr;
    int fieldCount = 0;
    auto tryFast = [&](auto pattern) {
        using Pattern = decltype(pattern);
        format = Pattern::kFormat;
        fields = Pattern::kFields;
        fieldCount = Pattern::kFieldCount;
        return scanFaceFast<Pattern>(begin, end, face);
    };
    const char* stop = nullptr;
    switch (pattern) {
        case FacePattern::None:
            return lineEndFrom(begin, end);
        case FacePattern::PositionsOnly:
            stop = slashInFirstTenBytes(begin, end) ? tryFast(PositionsOnlySlashPattern{})
                                                    : tryFast(PositionsOnlyPattern{});
            break;
        case FacePattern::TexCoordsOnly:
            stop = tryFast(TexCoordsOnlyPattern{});
            break;
        case FacePattern::NormalsOnly:
            stop = tryFast(NormalsOnlyPattern{});
            break;
        case FacePattern::PositionsTexCoords:
            stop = tryFast(PositionsTexCoordsPattern{});
            break;
        case FacePattern::PositionsNormals:
            stop = tryFast(PositionsNormalsPattern{});
            break;
        case FacePattern::TexCoordsNormals:
            stop = tryFast(TexCoordsNormalsPattern{});
            break;
        case FacePattern::All:
            stop = tryFast(AllPattern{});
            break;
    }
    if (stop != nullptr) return lineEndFrom(stop, end);
    // The targets in scan order; a format with fewer conversions than nine
    // leaves the rest, which sscanf then ignores.
    int unused = 0;
    int* targets[9] = {&unused, &unused, &unused, &unused, &unused,
                       &unused, &unused, &unused, &unused};
    for (int i = 0; i < fieldCount; ++i) targets[i] = faceField(face, fields[i]);
    const char* lineEnd = lineEndFrom(begin, end);
    std::sscanf(terminatedCopy(begin, lineEnd), format, targets[0], targets[1], targets[2],
                targets[3], targets[4], targets[5], targets[6], targets[7], targets[8]);
    return lineEnd;
}
