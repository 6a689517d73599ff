// The OBJ reader, differentially: every line of generated and hand-written
// files is also scanned alone by the C library's sscanf with the formats of
// the face-pattern table, and the two must agree bit for bit for every
// combination of the kinds a file holds. Around it: the end of the text,
// counts added to a model's own, and files missing, empty or with CR LF.
#include "assets/obj_reader.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>

#include "assets/obj_line_scanner.h"
#include "test_support.h"

namespace {

bool starts(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }

std::vector<std::string> split(const std::string& text) {  // at each '|'
    std::vector<std::string> parts(1);
    for (char c : text) c == '|' ? parts.emplace_back() : parts.back() += c;
    return parts;
}

// The model that scanning each line alone with sscanf gives. The file's kinds
// come from the lines' first bytes ("vnan 1 2" is a normal).
ObjModel referenceModel(const std::vector<std::string>& lines) {
    bool p = false, t = false, n = false;
    for (const std::string& line : lines) {
        n = n || starts(line, "vn");
        t = t || starts(line, "vt");
        p = p || (starts(line, "v") && !starts(line, "vn") && !starts(line, "vt"));
    }
    // The table's face format, with the targets of its conversions in order
    // (P, T: the next corner's position or texture index; N: the normal).
    using Format = std::pair<const char*, std::string>;
    const Format format = p && t && n ? Format{"f %d/%d/%d %d/%d/%d %d/%d/%d", "PTNPTNPTN"}
                          : p && t    ? Format{"f %d/%d/ %d/%d/ %d/%d/", "PTPTPT"}
                          : p && n    ? Format{"f %d//%d %d//%d %d//%d", "PNPNPN"}
                          : t && n    ? Format{"f /%d/%d /%d/%d /%d/%d", "TNTNTN"}
                          : p         ? Format{"f %d %d %d", "PPP"}
                          : t         ? Format{"f /%d/ /%d/ /%d/", "TTT"}
                          : n         ? Format{"f //%d //%d //%d", "NNN"}
                                      : Format{nullptr, ""};
    ObjModel model;
    for (const std::string& line : lines) {
        glm::vec3 v(0.0f);
        glm::vec2 uv(0.0f);
        if (starts(line, "vn")) {
            std::sscanf(line.c_str(), "vn %f %f %f", &v.x, &v.y, &v.z);
            model.normals.push_back(v);
        } else if (starts(line, "vt")) {
            std::sscanf(line.c_str(), "vt %f %f", &uv.x, &uv.y);
            model.texCoords.push_back(uv);
        } else if (starts(line, "v")) {
            std::sscanf(line.c_str(), "v %f %f %f", &v.x, &v.y, &v.z);
            model.positions.push_back(v);
        } else if (starts(line, "f")) {
            // Positions alone: a "/" in the line's first 10 bytes picks "f %d// %d// %d//".
            const bool slash = p && !t && !n && line.substr(0, 10).find('/') != std::string::npos;
            const Format& used = slash ? Format{"f %d// %d// %d//", "PPP"} : format;
            ObjFace face;
            int* targets[9] = {};
            int corner[2] = {0, 0};
            for (size_t i = 0; i < used.second.size(); ++i)
                targets[i] = used.second[i] == 'N'   ? &face.normalIndex
                             : used.second[i] == 'P' ? &face.positionIndex[corner[0]++]
                                                     : &face.texCoordIndex[corner[1]++];
            if (used.first)  // conversions beyond the format's are ignored
                std::sscanf(line.c_str(), used.first, targets[0], targets[1], targets[2],
                            targets[3], targets[4], targets[5], targets[6], targets[7], targets[8]);
            for (int* i : {face.positionIndex, face.positionIndex + 1, face.positionIndex + 2,
                           face.texCoordIndex, face.texCoordIndex + 1, face.texCoordIndex + 2,
                           &face.normalIndex})
                *i = *i == 0 ? 0 : static_cast<int>(static_cast<unsigned>(*i) - 1u);
            model.faces.push_back(face);
        }
    }
    return model;
}

// The first line whose values the reader and the library disagree on.
std::string firstDifference(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    ObjModel model;
    parseObjText(text.data(), static_cast<int>(text.size()), model);
    const ObjModel expected = referenceModel(lines);
    if (model.positions.size() != expected.positions.size() ||
        model.faces.size() != expected.faces.size() ||
        model.normals.size() != expected.normals.size() ||
        model.texCoords.size() != expected.texCoords.size())
        return "(the counts differ)";
    size_t v = 0, vt = 0, vn = 0, f = 0;
    auto differs = [](const auto& actual, const auto& reference, size_t& i) {
        const size_t at = i++;
        return std::memcmp(&actual[at], &reference[at], sizeof actual[at]) != 0;
    };
    for (const std::string& line : lines)
        if (starts(line, "vn")   ? differs(model.normals, expected.normals, vn)
            : starts(line, "vt") ? differs(model.texCoords, expected.texCoords, vt)
            : starts(line, "v")  ? differs(model.positions, expected.positions, v)
            : starts(line, "f")  ? differs(model.faces, expected.faces, f)
                                 : false)
            return line;
    return "";
}

// Random lines built of pieces: digits of every length, signs, points and
// exponents, the forms only the library takes, slashes, odd separators,
// missing and extra fields, CR and NUL; and now and then junk.
struct LineMaker {
    std::mt19937 random{12345};
    int pick(int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); }
    std::string piece(bool face) {
        // Whole numbers, signs and slashes first: a face takes only those.
        static const std::string all =
            "0|7|12|345|16777217|123456789012|99999999999999999999999999999|-|+|/|//|.|.5|e|E-7|"
            "e+38|e-45|e39|inf|NaN|nan(1)|0x1p-3|0X1.8P+2|1.17549435e-38|3.4028236e38|"
            "0.0000000000000000000000000000000000000000000014| | | |\t|\v|\f|\r|,|x";
        static const std::vector<std::string> pieces = split(all);
        return pieces[pick(face ? 11 : static_cast<int>(pieces.size()))];
    }
    // A short decimal anywhere in the float range, or the decimal form of a
    // value near a halfway point between two floats: rounding cases.
    std::string rounding() {
        const std::uint32_t bits = static_cast<std::uint32_t>(random()) & 0x7f7fffffu;
        float low = 0.0f;
        std::memcpy(&low, &bits, sizeof low);
        const double halfway = (static_cast<double>(low) + std::nextafter(low, 1e30f)) / 2.0;
        const unsigned long long mantissa =
            static_cast<unsigned long long>(random()) << 32 | random();
        char text[64];
        if (pick(2)) return std::snprintf(text, 64, "%.*g", 6 + pick(12), halfway), text;
        return std::snprintf(text, 64, "%llue%d", mantissa >> pick(64), pick(90) - 45), text;
    }
    std::string line(bool p, bool t, bool n) {
        if (pick(50) == 0) {  // junk, which must never make the reader read past the text
            std::string junk(static_cast<size_t>(pick(60)), '\0');
            for (char& c : junk)
                c = pick(2) ? "vntf/ .-e0x#"[pick(12)] : static_cast<char>(11 + pick(245));
            return junk;
        }
        const int kind = pick(4);
        const bool face = !(kind == 0 && p) && !(kind == 1 && t) && !(kind == 2 && n);
        std::string text = face ? "f" : kind == 0 ? "v" : kind == 1 ? "vt" : "vn";
        for (int field = pick(5); field > 0; --field) {
            text += pick(12) ? " " : pick(2) ? std::string(1, '\0') : "\t";
            if (!face && pick(2)) text += rounding();
            for (int count = face || pick(2) ? 1 + pick(face ? 6 : 4) : 0; count > 0; --count)
                text += piece(face);
        }
        return text + (pick(6) ? "" : "\r");
    }
};

}  // namespace

TEST(ObjLineScanner, EveryLineMatchesTheLibraryForEveryCombinationOfKinds) {
    const std::vector<std::string> written = split(  // forms the pieces do not make
        "v 1 2 3 4 5|v|vp 1 2 3|v1 2 3| v 2 2 2|vt .5e1 -.5e-1|vn 0 0|f 1/2/3 4/5/6 7/8/9 10/11/12|"
        "f 1 2 3|#//|f 1//3 4//6 7//9|f 1/2/3/ 4/5/6|f 3//2 1 2|f 1       2// 3//|f 1 2 3   //|f|"
        "fo 1 2 3|f 0012/0013/0014 1/1/1 1/1/1|v 9e9999999999 1 1|"
        "f 2147483647/2147483648/-2147483649 99999999999/1/1 1/1/1");
    LineMaker maker;
    for (int mask = 0; mask < 8; ++mask) {
        const bool p = mask & 1, t = mask & 2, n = mask & 4;
        std::vector<std::string> own, generated;
        for (const std::string& line : written)
            if (starts(line, "vn") ? n : starts(line, "vt") ? t : starts(line, "v") ? p : true)
                own.push_back(line);
        for (int i = 0; i < 40000; ++i) generated.push_back(maker.line(p, t, n));
        for (const char* line : {p ? "v 0 0 0" : "", t ? "vt 0 0" : "", n ? "vn 0 0 1" : ""})
            generated.push_back(line);
        EXPECT_EQ(firstDifference(own), "") << "kinds " << mask << ", hand-written lines";
        EXPECT_EQ(firstDifference(generated), "") << "kinds " << mask << ", generated lines";
    }
}

TEST(ObjReader, ReadsToTheEndOfTheTextIntoTheModelsCounts) {
    const std::string text = "v 1 2 3\nv 4 5 6",
                      memory = text + "789 1 1";  // digits beyond the text
    ObjModel model;
    model.positionCount = 1;  // counts add to those the model has; a negative one counts as 0
    model.faceCount = -7;
    parseObjText(memory.data(), static_cast<int>(text.size()), model);
    ASSERT_EQ(model.positionCount, 3);
    EXPECT_EQ(model.positions,
              (std::vector<glm::vec3>{glm::vec3(1, 2, 3), glm::vec3(4, 5, 6), glm::vec3(0)}));
    EXPECT_EQ(model.faceCount, 0);
}

TEST(ObjReader, AMissingFileIsReportedAndReadsAsNothing) {
    support::ScratchDirectory scratch;
    ObjModel missing;
    EXPECT_EQ(support::printedBy([&] { readObjFile("no/such/model.obj", missing); }),
              "could not find file: no/such/model.obj  - error code: 2 \n");
    EXPECT_EQ(missing.positionCount + missing.faceCount, 0);
    std::unique_ptr<char[]> untouched(new char[1]);
    const char* before = untouched.get();
    support::printedBy([&] { EXPECT_EQ(readWholeFile("no/such/file", untouched), 0); });
    EXPECT_EQ(untouched.get(), before);
}

// Read whole and quietly, an empty file included; a line may end in "\r\n".
TEST(ObjReader, EveryFileIsReadWholeWhateverItsLineEnds) {
    support::ScratchDirectory scratch;
    ObjModel empty, crlf;
    std::unique_ptr<char[]> bytes;
    support::writeFile("empty.obj", "");
    support::writeFile("crlf.obj",
                       "v 0 0 0\r\nvt 0 0\r\nvt 1 0\r\nvn 0 0 1\r\nf 1/2/1 1/1/1 1/2/1\r\n");
    EXPECT_EQ(
        support::printedBy([&] { readObjFile("empty.obj", empty), readObjFile("crlf.obj", crlf); }),
        "");
    EXPECT_EQ(empty.faceCount, 0);
    ASSERT_EQ(crlf.faceCount, 1);
    EXPECT_EQ(crlf.faces[0].texCoordIndex[0], 1);
    EXPECT_EQ(readWholeFile("crlf.obj", bytes), 56);
    EXPECT_EQ(std::string(bytes.get(), 7), "v 0 0 0");
}
