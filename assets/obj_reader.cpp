// OBJ reading: one read into one buffer, a counting pass, then a parsing pass
// that scans each line with scanf-style formats. Every line is scanned within
// its own bounds; the common plain lines go through a fast scanner, and any
// line it cannot vouch for is handed to the C library's sscanf on a
// NUL-terminated copy of that line alone, so the results are those of sscanf
// in every case while the work stays linear in the size of the file.
#include "assets/obj_reader.h"

#include <climits>
#include <cstring>
#include <string>

#include "assets/obj_line_scanner.h"
#include "platform/console.h"
#include "platform/data_file.h"

WholeFile readWholeFileQuietly(const char* path) {
    // The byte count is a signed 32-bit value: a file it cannot describe is
    // reported like one that cannot be opened, with the error code that fits.
    platform::DataFile data = platform::readDataFile(path, INT_MAX);
    WholeFile file;
    file.failed = data.failed();
    file.errorCode = data.errorCode;
    file.notAFile = data.notAFile;
    if (file.failed) return file;
    file.bytes = std::move(data.bytes);
    file.length = static_cast<int>(data.length);
    return file;
}

void reportUnreadableFile(const char* path, int errorCode, const char* notAFile) {
    if (notAFile != nullptr) {
        platform::printLine("could not find file: " + std::string(path) + "  - " + notAFile +
                            ", not a regular file");
        return;
    }
    platform::printLine("could not find file: " + std::string(path) +
                        "  - error code: " + std::to_string(errorCode) + " ");
}

int readWholeFile(const char* path, std::unique_ptr<char[]>& buffer) {
    WholeFile file = readWholeFileQuietly(path);
    if (file.failed) {
        reportUnreadableFile(path, file.errorCode, file.notAFile);
        return 0;
    }
    buffer = std::move(file.bytes);
    return file.length;
}

namespace {

enum class LineKind { Normal, TexCoord, Position, Face, Other };

// The first one or two bytes decide, in this order: "vn", "vt", "v", "f".
// `end` may be the line's end or the text's: a "\n" is neither "n" nor "t".
LineKind classifyLine(const char* line, const char* end) {
    if (line == end) return LineKind::Other;
    if (line[0] == 'v') {
        if (end - line >= 2 && line[1] == 'n') return LineKind::Normal;
        if (end - line >= 2 && line[1] == 't') return LineKind::TexCoord;
        return LineKind::Position;
    }
    if (line[0] == 'f') return LineKind::Face;
    return LineKind::Other;
}

const char* lineEnd(const char* line, const char* textEnd) {
    const void* newline = std::memchr(line, '\n', static_cast<size_t>(textEnd - line));
    return newline != nullptr ? static_cast<const char*>(newline) : textEnd;
}

// Calls visit(kind, begin, end) for every line; a line ends before its "\n"
// or at the end of the text.
template <typename Visit>
void forEachLine(const char* text, int length, Visit visit) {
    const char* textEnd = text + length;
    const char* line = text;
    while (line < textEnd) {
        const char* end = lineEnd(line, textEnd);
        visit(classifyLine(line, end), line, end);
        line = end + 1;
    }
}

// A nonzero index is made 0-based by subtracting 1; 0 stays 0. The subtraction
// wraps instead of overflowing, so INT_MIN becomes INT_MAX (out of range like
// any other index the file gets wrong).
int toZeroBased(int index) {
    return index == 0 ? 0 : static_cast<int>(static_cast<unsigned>(index) - 1u);
}

void convertFaceIndices(ObjFace& face) {
    for (int& index : face.positionIndex) index = toZeroBased(index);
    for (int& index : face.texCoordIndex) index = toZeroBased(index);
    face.normalIndex = toZeroBased(face.normalIndex);
}

struct LineCounts {
    int normals = 0, texCoords = 0, positions = 0, faces = 0;
};

LineCounts countLines(const char* text, int length) {
    LineCounts counts;
    forEachLine(text, length, [&](LineKind kind, const char*, const char*) {
        switch (kind) {
            case LineKind::Normal:
                ++counts.normals;
                break;
            case LineKind::TexCoord:
                ++counts.texCoords;
                break;
            case LineKind::Position:
                ++counts.positions;
                break;
            case LineKind::Face:
                ++counts.faces;
                break;
            case LineKind::Other:
                break;
        }
    });
    return counts;
}

// The counts add to those the model already has (a negative one counts as 0),
// so every array is at least as long as this text needs.
//
// The arrays always have exactly their counts as sizes. Faces are cleared too:
// a field that the face pattern does not supply, or that a malformed line
// leaves unscanned, keeps the defined value 0 (which the index conversion
// leaves 0). Whether an index fits its array is the mesh build's concern: it
// never reads outside the arrays.
void sizeArrays(const LineCounts& lines, ObjModel& model) {
    auto add = [](int& count, int more) { count = (count > 0 ? count : 0) + more; };
    add(model.normalCount, lines.normals);
    add(model.texCoordCount, lines.texCoords);
    add(model.positionCount, lines.positions);
    add(model.faceCount, lines.faces);
    model.normals.assign(static_cast<size_t>(model.normalCount), glm::vec3(0.0f));
    model.texCoords.assign(static_cast<size_t>(model.texCoordCount), glm::vec2(0.0f));
    model.positions.assign(static_cast<size_t>(model.positionCount), glm::vec3(0.0f));
    model.faces.assign(static_cast<size_t>(model.faceCount), ObjFace{});
}

// Fills the arrays from their first element on. The scanner finds each line's
// end as it scans, so this pass does not search for line ends first.
void scanLines(const char* text, int length, ObjModel& model) {
    const FacePattern pattern =
        chooseFacePattern(model.positionCount > 0, model.texCoordCount > 0, model.normalCount > 0);
    ObjLineScanner scanner;
    const char* textEnd = text + length;
    size_t normalIndex = 0, texCoordIndex = 0, positionIndex = 0, faceIndex = 0;
    const char* line = text;
    while (line < textEnd) {
        const char* end = nullptr;
        switch (classifyLine(line, textEnd)) {
            case LineKind::Normal:
                end = scanner.scanNormal(line, textEnd, model.normals[normalIndex++]);
                break;
            case LineKind::TexCoord:
                end = scanner.scanTexCoord(line, textEnd, model.texCoords[texCoordIndex++]);
                break;
            case LineKind::Position:
                end = scanner.scanPosition(line, textEnd, model.positions[positionIndex++]);
                break;
            case LineKind::Face: {
                ObjFace& face = model.faces[faceIndex++];
                end = scanner.scanFace(pattern, line, textEnd, face);
                convertFaceIndices(face);
                break;
            }
            case LineKind::Other:
                end = lineEnd(line, textEnd);
                break;
        }
        line = end + 1;
    }
}

}  // namespace

void parseObjText(const char* text, int length, ObjModel& model) {
    if (text == nullptr || length < 0) length = 0;
    sizeArrays(countLines(text, length), model);
    scanLines(text, length, model);
}

bool readObjFile(const char* path, ObjModel& model) {
    std::unique_ptr<char[]> buffer;
    const int length = readWholeFile(path, buffer);
    parseObjText(buffer.get(), length, model);
    return buffer != nullptr;
}
