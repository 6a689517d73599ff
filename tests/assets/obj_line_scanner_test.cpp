// Differential test of the OBJ line scanning: every line of many generated and
// hand-written files is also scanned on its own with the C library's sscanf
// and the formats of the face-pattern table, and the reader must agree bit for
// bit. The lines mix signs, exponents, hex floats, inf and nan, missing and
// extra fields, tabs and other white space, CR before LF, NUL bytes and junk.
#include "assets/obj_line_scanner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "assets/obj_reader.h"

namespace {

struct Kinds {
    bool positions, texCoords, normals;
};

// The face format for a line, straight from the table: the kinds the whole
// file holds decide, and for positions alone a "/" among the first 10 bytes.
const char* referenceFaceFormat(const Kinds& kinds, const std::string& line) {
    const bool p = kinds.positions, t = kinds.texCoords, n = kinds.normals;
    if (p && t && n) return "f %d/%d/%d %d/%d/%d %d/%d/%d";
    if (p && t) return "f %d/%d/ %d/%d/ %d/%d/";
    if (p && n) return "f %d//%d %d//%d %d//%d";
    if (t && n) return "f /%d/%d /%d/%d /%d/%d";
    if (p) return line.substr(0, 10).find('/') != std::string::npos ? "f %d// %d// %d//" : "f %d %d %d";
    if (t) return "f /%d/ /%d/ /%d/";
    if (n) return "f //%d //%d //%d";
    return nullptr;
}

int referenceConvert(int index) {
    return index == 0 ? 0 : static_cast<int>(static_cast<unsigned>(index) - 1u);
}

// The model that scanning each line alone with sscanf gives.
ObjModel referenceModel(const std::vector<std::string>& lines) {
    // The kinds the file holds, from the lines' first bytes ("vnan 1 2" is a
    // normal line).
    Kinds kinds{false, false, false};
    for (const std::string& line : lines) {
        if (line.compare(0, 2, "vn") == 0) kinds.normals = true;
        else if (line.compare(0, 2, "vt") == 0) kinds.texCoords = true;
        else if (!line.empty() && line[0] == 'v') kinds.positions = true;
    }
    ObjModel model;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        if (line.compare(0, 2, "vn") == 0) {
            glm::vec3 n(0.0f);
            std::sscanf(line.c_str(), "vn %f %f %f", &n.x, &n.y, &n.z);
            model.normals.push_back(n);
        } else if (line.compare(0, 2, "vt") == 0) {
            glm::vec2 t(0.0f);
            std::sscanf(line.c_str(), "vt %f %f", &t.x, &t.y);
            model.texCoords.push_back(t);
        } else if (line[0] == 'v') {
            glm::vec3 p(0.0f);
            std::sscanf(line.c_str(), "v %f %f %f", &p.x, &p.y, &p.z);
            model.positions.push_back(p);
        } else if (line[0] == 'f') {
            ObjFace face;
            int *p = face.positionIndex, *t = face.texCoordIndex, *n = &face.normalIndex;
            const char* format = referenceFaceFormat(kinds, line);
            const bool pp = kinds.positions, tt = kinds.texCoords, nn = kinds.normals;
            if (format == nullptr) {
            } else if (pp && tt && nn) {
                std::sscanf(line.c_str(), format, &p[0], &t[0], n, &p[1], &t[1], n, &p[2], &t[2], n);
            } else if (pp && tt) {
                std::sscanf(line.c_str(), format, &p[0], &t[0], &p[1], &t[1], &p[2], &t[2]);
            } else if (pp && nn) {
                std::sscanf(line.c_str(), format, &p[0], n, &p[1], n, &p[2], n);
            } else if (tt && nn) {
                std::sscanf(line.c_str(), format, &t[0], n, &t[1], n, &t[2], n);
            } else if (pp) {
                std::sscanf(line.c_str(), format, &p[0], &p[1], &p[2]);
            } else if (tt) {
                std::sscanf(line.c_str(), format, &t[0], &t[1], &t[2]);
            } else {
                std::sscanf(line.c_str(), format, n, n, n);
            }
            for (int& i : face.positionIndex) i = referenceConvert(i);
            for (int& i : face.texCoordIndex) i = referenceConvert(i);
            face.normalIndex = referenceConvert(face.normalIndex);
            model.faces.push_back(face);
        }
    }
    return model;
}

template <typename T>
bool sameBits(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

std::string describe(const ObjFace& face) {
    return "p " + std::to_string(face.positionIndex[0]) + " " + std::to_string(face.positionIndex[1]) +
           " " + std::to_string(face.positionIndex[2]) + " t " + std::to_string(face.texCoordIndex[0]) +
           " " + std::to_string(face.texCoordIndex[1]) + " " + std::to_string(face.texCoordIndex[2]) +
           " n " + std::to_string(face.normalIndex) + " tangent " + std::to_string(face.tangentIndex);
}

std::string firstDifference(const ObjModel& actual, const ObjModel& expected,
                            const std::vector<std::string>& lines) {
    size_t v = 0, vt = 0, vn = 0, f = 0;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        bool differs = false;
        if (line.compare(0, 2, "vn") == 0) {
            differs = std::memcmp(&actual.normals[vn], &expected.normals[vn], sizeof(glm::vec3)) != 0;
            ++vn;
        } else if (line.compare(0, 2, "vt") == 0) {
            differs = std::memcmp(&actual.texCoords[vt], &expected.texCoords[vt], sizeof(glm::vec2)) != 0;
            ++vt;
        } else if (line[0] == 'v') {
            differs = std::memcmp(&actual.positions[v], &expected.positions[v], sizeof(glm::vec3)) != 0;
            ++v;
        } else if (line[0] == 'f') {
            differs = std::memcmp(&actual.faces[f], &expected.faces[f], sizeof(ObjFace)) != 0;
            if (differs) {
                const ObjFace& a = actual.faces[f];
                const ObjFace& e = expected.faces[f];
                return line + "\" read as " + describe(a) + ", library " + describe(e);
            }
            ++f;
        }
        if (differs) return line;
    }
    return "";
}

void expectReaderMatchesLibrary(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    ObjModel model;
    parseObjText(text.data(), static_cast<int>(text.size()), model);
    const ObjModel expected = referenceModel(lines);
    const bool equal = sameBits(model.positions, expected.positions) &&
                       sameBits(model.texCoords, expected.texCoords) &&
                       sameBits(model.normals, expected.normals) &&
                       model.faces.size() == expected.faces.size() &&
                       (model.faces.empty() || std::memcmp(model.faces.data(), expected.faces.data(),
                                                           model.faces.size() * sizeof(ObjFace)) == 0);
    EXPECT_TRUE(equal) << "first differing line: \"" << firstDifference(model, expected, lines) << "\"";
}

// Random number text: plain decimals of every length and exponent, and the
// forms only the library handles.
class NumberText {
public:
    explicit NumberText(std::mt19937& random) : random(random) {}

    std::string floatText() {
        switch (pick(14)) {
            case 0: return special();
            case 1: return sign() + digits(1 + pick(30)) + "." + digits(pick(30)) + exponent();
            case 2: return sign() + "." + digits(1 + pick(12));
            case 3: return sign() + digits(1 + pick(8)) + ".";
            case 4: {
                char buffer[64];
                std::snprintf(buffer, sizeof buffer, "%.9g", randomFloat());
                return buffer;
            }
            case 5: {
                char buffer[64];
                std::snprintf(buffer, sizeof buffer, "%a", static_cast<double>(randomFloat()));
                return buffer;
            }
            case 6: return sign() + digits(1 + pick(9)) + "e" + sign() + digits(1 + pick(2));
            default: return sign() + digits(1 + pick(3)) + "." + digits(1 + pick(8));
        }
    }

    std::string intText() {
        switch (pick(10)) {
            case 0: return sign() + digits(9 + pick(4));
            case 1: return special();
            case 2: return "";
            default: return sign() + digits(1 + pick(7));
        }
    }

    std::string separator() {
        static const char* const separators[] = {" ", " ", " ", "  ", "\t", " \t ", "\v", "\f",
                                                 "\r", "", ",", "x", std::string(1, '\0').c_str()};
        const int which = pick(13);
        if (which == 12) return std::string(1, '\0');
        return separators[which];
    }

    int pick(int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); }

private:
    std::string sign() {
        switch (pick(6)) {
            case 0: return "-";
            case 1: return "+";
            default: return "";
        }
    }
    std::string digits(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += static_cast<char>('0' + pick(10));
        return text;
    }
    std::string exponent() {
        switch (pick(5)) {
            case 0: return std::string(pick(2) ? "e" : "E") + sign() + digits(1 + pick(2));
            case 1: return pick(2) ? "e" : "e+";
            default: return "";
        }
    }
    std::string special() {
        static const char* const forms[] = {"inf",  "-INF",     "infinity", "nan",  "-nan",
                                            "nan(1)", "0x1p-3", "0X1.8P+2", "0x",   "-",
                                            "+",    ".",        "e5",       "1e99", "-1e-50",
                                            "1e-40", "00",      "1..2",     "1e+-3", "3.4028236e38"};
        return forms[pick(20)];
    }
    float randomFloat() {
        std::uniform_real_distribution<float> magnitude(-40.0f, 40.0f);
        return (pick(2) ? 1.0f : -1.0f) * std::pow(10.0f, magnitude(random)) *
               std::uniform_real_distribution<float>(1.0f, 10.0f)(random);
    }

    std::mt19937& random;
};

std::string vertexLine(NumberText& numbers, const char* prefix, int values) {
    std::string line = prefix;
    for (int i = 0; i < values; ++i) line += numbers.separator() + numbers.floatText();
    if (numbers.pick(6) == 0) line += "\r";
    return line;
}

std::string faceLine(NumberText& numbers) {
    std::string line = "f";
    const int corners = numbers.pick(6);
    for (int corner = 0; corner < corners; ++corner) {
        line += numbers.pick(8) == 0 ? numbers.separator() : " ";
        const int form = numbers.pick(6);
        line += numbers.intText();
        if (form >= 1) line += "/";
        if (form >= 2) line += numbers.pick(3) == 0 ? "" : numbers.intText();
        if (form >= 3) line += "/";
        if (form >= 4) line += numbers.intText();
    }
    if (numbers.pick(6) == 0) line += "\r";
    return line;
}

}  // namespace

TEST(ObjLineScanner, GeneratedLinesMatchTheLibraryForEveryCombinationOfKinds) {
    std::mt19937 random(12345);
    NumberText numbers(random);
    for (int mask = 0; mask < 8; ++mask) {
        const Kinds kinds{(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0};
        SCOPED_TRACE(mask);
        std::vector<std::string> lines;
        for (int i = 0; i < 20000; ++i) {
            const int kind = numbers.pick(4);
            if (kind == 0 && kinds.positions) {
                lines.push_back(vertexLine(numbers, "v", numbers.pick(6)));
            } else if (kind == 1 && kinds.texCoords) {
                lines.push_back(vertexLine(numbers, "vt", numbers.pick(5)));
            } else if (kind == 2 && kinds.normals) {
                lines.push_back(vertexLine(numbers, "vn", numbers.pick(6)));
            } else {
                lines.push_back(faceLine(numbers));
            }
        }
        if (kinds.positions) lines.push_back("v 0 0 0");
        if (kinds.texCoords) lines.push_back("vt 0 0");
        if (kinds.normals) lines.push_back("vn 0 0 1");
        expectReaderMatchesLibrary(lines);
    }
}

TEST(ObjLineScanner, HandWrittenLinesMatchTheLibrary) {
    const std::vector<std::string> lines = {
        "v 1 2 3", "v -1.5 +2.25 -0", "v 1e3 1E-3 1e+3", "v 1e 2 3", "v 1e+ 2 3", "v 1.e2 .5 5.",
        "v 0x1p4 0X.8p1 0x", "v inf -inf nan", "v INFINITY NaN -nan(0x1)", "v 1e39 -1e39 1e-46",
        "v 1.17549435e-38 1.4e-45 3.40282347e38", "v 16777217 16777216.5 0.1",
        "v 0.000000000000000000000000000000000000000000001", "v 100.000000 16777216000 1234567.80",
        "v 16777217.000 -0.0000001000 33554433e-1",
        "v 123456789012345678901234567890 1.5 2",
        "v\t1\t2\t3", "v  1   2    3   ", "v 1 2 3\r", "v 1 2\r", "v", "v ", "vp 1 2 3", "v1 2 3",
        "v 1,2,3", "v 1 2 3 4 5", "v .", "v - 1", "v +-1 2 3", "v 1.5.5 2 3", "v 9e9999999999 1 1",
        "vt 0.5 0.25 0.0", "vt 0.5", "vt", "vt .5e1 -.5e-1", "vn 0 0 1", "vn 0 0", "vn\v1\f2\r3",
        "f 1/2/3 4/5/6 7/8/9", "f 1/2/3 4/5/6 7/8/9 10/11/12", "f 1 2 3", "f 1//3 4//6 7//9",
        "f 1/2 3/4 5/6", "f -1/-2/-3 +4/+5/+6 0/0/0", "f 1/2/3/ 4/5/6", "f  1 / 2 / 3",
        "f 2147483647/2147483648/-2147483649 99999999999/1/1 1/1/1", "f 1/2/3\r", "f", "fo 1 2 3",
        "f\t1/1/1\t2/2/2\t3/3/3", "f 1/+/3", "f 1/-/3", "f 0012/0013/0014 1/1/1 1/1/1",
    };
    for (int mask = 0; mask < 8; ++mask) {
        const Kinds kinds{(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0};
        SCOPED_TRACE(mask);
        std::vector<std::string> file;
        for (const std::string& line : lines) {
            const bool isNormal = line.compare(0, 2, "vn") == 0;
            const bool isTexCoord = line.compare(0, 2, "vt") == 0;
            const bool isPosition = line[0] == 'v' && !isNormal && !isTexCoord;
            if ((isNormal && !kinds.normals) || (isTexCoord && !kinds.texCoords) ||
                (isPosition && !kinds.positions))
                continue;
            file.push_back(line);
        }
        expectReaderMatchesLibrary(file);
    }
}

TEST(ObjLineScanner, PlainLinesNeverReachTheLibrary) {
    ObjLineScanner scanner;
    const std::string lines[] = {"v 0.123456 -12.5 3", "vt 0.5 1.0 0.0", "vn -0.577350 0.577350 1e-3",
                                 "f 1/2/3 4/5/6 7/8/9", "v 1 2", "f 1/2/3 4/5"};
    glm::vec3 vector(0.0f);
    glm::vec2 texCoord(0.0f);
    ObjFace face;
    scanner.scanPosition(lines[0].data(), lines[0].data() + lines[0].size(), vector);
    scanner.scanTexCoord(lines[1].data(), lines[1].data() + lines[1].size(), texCoord);
    scanner.scanNormal(lines[2].data(), lines[2].data() + lines[2].size(), vector);
    scanner.scanFace(FacePattern::All, lines[3].data(), lines[3].data() + lines[3].size(), face);
    scanner.scanPosition(lines[4].data(), lines[4].data() + lines[4].size(), vector);
    scanner.scanFace(FacePattern::All, lines[5].data(), lines[5].data() + lines[5].size(), face);
    EXPECT_EQ(scanner.libraryScans(), 0);
    const std::string hex = "v 0x1p3 1 1";
    scanner.scanPosition(hex.data(), hex.data() + hex.size(), vector);
    EXPECT_EQ(scanner.libraryScans(), 1);
    EXPECT_EQ(vector, glm::vec3(8.0f, 1.0f, 1.0f));
}

TEST(ObjLineScanner, DecimalNumbersRoundLikeTheLibrary) {
    // Short decimals with exponents across the float range, and the decimal
    // forms of values near float halfway points, all through the fast path.
    std::mt19937 random(99);
    ObjLineScanner scanner;
    int compared = 0;
    for (int i = 0; i < 200000; ++i) {
        char text[96];
        if (i % 2 == 0) {
            const int digits = 1 + static_cast<int>(random() % 15);
            std::uint64_t mantissa = 0;
            for (int d = 0; d < digits; ++d) mantissa = mantissa * 10 + random() % 10;
            const int exponent = static_cast<int>(random() % 90) - 45;
            std::snprintf(text, sizeof text, "v %llue%d", static_cast<unsigned long long>(mantissa),
                          exponent);
        } else {
            // A float and its neighbour: the halfway point, printed short.
            std::uint32_t bits = static_cast<std::uint32_t>(random()) & 0x7f7fffffu;
            float low = 0.0f;
            std::memcpy(&low, &bits, sizeof low);
            const double halfway =
                (static_cast<double>(low) + static_cast<double>(std::nextafter(low, 1e30f))) / 2.0;
            std::snprintf(text, sizeof text, "v %.*g", 6 + static_cast<int>(random() % 12), halfway);
        }
        glm::vec3 fast(0.0f), library(0.0f);
        const size_t length = std::strlen(text);
        scanner.scanPosition(text, text + length, fast);
        std::sscanf(text, "v %f", &library.x);
        ASSERT_EQ(std::memcmp(&fast.x, &library.x, sizeof(float)), 0) << text;
        ++compared;
    }
    EXPECT_EQ(compared, 200000);
}
