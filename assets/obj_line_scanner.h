// Scans one OBJ line with the reader's scanf-style formats. A fast scanner
// takes the plain lines (decimal numbers, the expected separators); anything
// it is not sure of goes to the C library's sscanf on a NUL-terminated copy
// of the line, so every result is what sscanf gives for that line alone.
#pragma once

#include <glm/glm.hpp>
#include <string>

#include "assets/obj_model.h"

// Which face format a file uses, chosen from the kinds of lines it contains.
enum class FacePattern {
    None,                // no "v", "vt" or "vn" lines: faces are not scanned
    PositionsOnly,       // "f %d %d %d", or "f %d// %d// %d//" when "/" is in the first 10 bytes
    TexCoordsOnly,       // "f /%d/ /%d/ /%d/"
    NormalsOnly,         // "f //%d //%d //%d"
    PositionsTexCoords,  // "f %d/%d/ %d/%d/ %d/%d/"
    PositionsNormals,    // "f %d//%d %d//%d %d//%d"
    TexCoordsNormals,    // "f /%d/%d /%d/%d /%d/%d"
    All,                 // "f %d/%d/%d %d/%d/%d %d/%d/%d"
};

FacePattern chooseFacePattern(bool hasPositions, bool hasTexCoords, bool hasNormals);

class ObjLineScanner {
  public:
    // Each scans the line that starts at `begin` in a text ending at `end`
    // (the line ends before its "\n" or at `end`) and writes only the targets
    // that sscanf would write on that line alone; the others keep their
    // values. Returns the line's end: its "\n", or `end`.
    const char* scanPosition(const char* begin, const char* end, glm::vec3& position);
    const char* scanNormal(const char* begin, const char* end, glm::vec3& normal);
    const char* scanTexCoord(const char* begin, const char* end, glm::vec2& texCoord);
    // Scans the raw (1-based) indices; the caller converts them.
    const char* scanFace(FacePattern pattern, const char* begin, const char* end, ObjFace& face);

    // Lines the fast scanner handed to the C library so far.
    long libraryScans() const { return libraryScanCount; }

  private:
    const char* terminatedCopy(const char* begin, const char* end);

    std::string lineCopy;
    long libraryScanCount = 0;
};
