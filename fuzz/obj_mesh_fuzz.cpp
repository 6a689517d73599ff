// OBJ text through the reader and the mesh build. The counts must match the
// arrays, every line must hold what sscanf makes of that line alone, and every
// per-corner array must have three entries per usable face, read from the
// model or zero where an index is out of range.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "assets/mesh.h"
#include "assets/obj_reader.h"
#include "fuzz_check.h"

namespace {

// The next entry of `stored` must be what sscanf reads from the line alone.
template <typename Vector>
void checkVertex(const std::string& line, const char* format, const std::vector<Vector>& stored,
                 size_t& next) {
    float expected[3] = {0.0f, 0.0f, 0.0f};
    std::sscanf(line.c_str(), format, &expected[0], &expected[1], &expected[2]);
    check(next < stored.size() && std::memcmp(&stored[next++], expected, sizeof(Vector)) == 0,
          format);
}

// The face format for the kinds the file holds, with the field that each
// conversion writes: a position (p) or texture-coordinate (t) index of the
// corner, or the face's normal index (n).
const char* const kFaceFormats[][2] = {
    {nullptr, ""},
    {"f %d %d %d", "ppp"},  // "f %d// %d// %d//" with a '/' in the first 10 bytes
    {"f /%d/ /%d/ /%d/", "ttt"},
    {"f %d/%d/ %d/%d/ %d/%d/", "ptptpt"},
    {"f //%d //%d //%d", "nnn"},
    {"f %d//%d %d//%d %d//%d", "pnpnpn"},
    {"f /%d/%d /%d/%d /%d/%d", "tntntn"},
    {"f %d/%d/%d %d/%d/%d %d/%d/%d", "ptnptnptn"},
};

ObjFace referenceFace(const ObjModel& model, const std::string& line) {
    const int kinds =
        (model.positionCount > 0) | (model.texCoordCount > 0) << 1 | (model.normalCount > 0) << 2;
    const char* format = kFaceFormats[kinds][0];
    const char* fields = kFaceFormats[kinds][1];
    if (kinds == 1 && line.substr(0, 10).find('/') != std::string::npos)
        format = "f %d// %d// %d//";
    ObjFace face;
    int v[9] = {};
    const int scanned = format == nullptr ? 0
                                          : std::sscanf(line.c_str(), format, &v[0], &v[1], &v[2],
                                                        &v[3], &v[4], &v[5], &v[6], &v[7], &v[8]);
    for (int k = 0; k < scanned; ++k) {
        const int index = v[k] == 0 ? 0 : static_cast<int>(static_cast<unsigned>(v[k]) - 1u);
        const int corner = k / static_cast<int>(std::strlen(fields) / 3);
        int& field = fields[k] == 'p'   ? face.positionIndex[corner]
                     : fields[k] == 't' ? face.texCoordIndex[corner]
                                        : face.normalIndex;
        field = index;
    }
    return face;
}

void checkLines(const ObjModel& model, const char* text, size_t size) {
    size_t v = 0, vt = 0, vn = 0, f = 0;
    for (size_t start = 0; start < size;) {
        const void* newline = std::memchr(text + start, '\n', size - start);
        const size_t end = newline ? static_cast<const char*>(newline) - text : size;
        const std::string line(text + start, end - start);
        start = end + 1;
        if (line.compare(0, 2, "vn") == 0) {
            checkVertex(line, "vn %f %f %f", model.normals, vn);
        } else if (line.compare(0, 2, "vt") == 0) {
            checkVertex(line, "vt %f %f", model.texCoords, vt);
        } else if (line.compare(0, 1, "v") == 0) {
            checkVertex(line, "v %f %f %f", model.positions, v);
        } else if (line.compare(0, 1, "f") == 0) {
            const ObjFace expected = referenceFace(model, line);
            check(f < model.faces.size() &&
                      std::memcmp(&model.faces[f++], &expected, sizeof expected) == 0,
                  "a face per f line, as sscanf reads it");
        }
    }
    check(v == model.positions.size() && vt == model.texCoords.size() &&
              vn == model.normals.size() && f == model.faces.size(),
          "no more array entries than lines");
}

void checkMesh(const ObjModel& model) {
    Mesh mesh;
    mesh.model = model;
    mesh.computeFaceTangents();
    const size_t corners = 3 * model.faces.size();
    using Kind = Mesh::CornerArray;
    for (Kind kind : {Kind::Positions, Kind::FlatNormals, Kind::FlatTangents, Kind::SmoothNormals,
                      Kind::SmoothTangents, Kind::UnitX, Kind::UnitY}) {
        check(mesh.cornerArray(kind).size() == corners, "3 corners per face");
    }
    const std::vector<GLint> indices = mesh.cornerIndices();
    check(indices.size() == corners && mesh.cornerTexCoords().size() == corners &&
              mesh.uploadVertexCount() == static_cast<GLint>(corners) &&
              mesh.faceTangents.size() * 3 == corners,
          "3 corners per face, every face usable");
    // Corners with the same position index share one smooth normal.
    const std::vector<glm::vec3> smoothNormals = mesh.cornerSmoothNormals();
    std::map<int, glm::vec3> byPosition;
    for (size_t i = 0; i < corners; ++i) {
        check(indices[i] == static_cast<GLint>(i), "indices 0, 1, 2, ...");
        const int position = model.faces[i / 3].positionIndex[i % 3];
        const glm::vec3 first = byPosition.emplace(position, smoothNormals[i]).first->second;
        check(std::memcmp(&first, &smoothNormals[i], sizeof first) == 0,
              "one smooth normal per position index");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > INT32_MAX) return 0;
    const char* text = reinterpret_cast<const char*>(data);
    ObjModel model;
    parseObjText(text, static_cast<int>(size), model);
    check(model.positions.size() == static_cast<size_t>(model.positionCount) &&
              model.normals.size() == static_cast<size_t>(model.normalCount) &&
              model.texCoords.size() == static_cast<size_t>(model.texCoordCount) &&
              model.faces.size() == static_cast<size_t>(model.faceCount),
          "the counts match the arrays");
    checkLines(model, text, size);
    checkMesh(model);
    return 0;
}
