// Mesh construction: per-corner arrays computed from the ObjModel, uploaded
// one buffer object per attribute, and freed once uploaded. The smooth
// normals and tangents are the sums that a direct nested scan over all faces
// would add, in the same order, but gathered in linear time: faces are
// counting-sorted by the index of the value they contribute, and one pass adds
// each face's value to the sum of each of its corners' position indices.
#include "assets/mesh.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <utility>

#include "assets/program_locations.h"

namespace {

// Index safety. Face indices come from the file unchecked, so every read of
// a model array goes through readOrZero: an index outside its array reads the
// zero value, and a corner whose position index is out of range therefore
// stands at (0, 0, 0) and a texture coordinate out of range is (0, 0). The
// smooth sums never read positions at all (they group corners by the index
// value itself, so an out-of-range index groups like any other), and they
// leave out a normal or tangent index outside its array. No file can make the
// build read outside an array.
template <typename T>
T readOrZero(const std::vector<T>& values, int index) {
    if (index < 0 || static_cast<size_t>(index) >= values.size()) return T(0.0f);
    return values[static_cast<size_t>(index)];
}

// The sum divided component by component by its length; no guard against a
// zero length.
glm::vec3 divideByLength(const glm::vec3& sum) {
    const float squaredLength = sum.x * sum.x + sum.y * sum.y + sum.z * sum.z;
    const float length = std::sqrt(squaredLength);
    return glm::vec3(sum.x / length, sum.y / length, sum.z / length);
}

// Maps every position index, in range or not, to a dense slot; equal indices
// share a slot. In-range indices are their own slot; the rare out-of-range
// ones follow, in ascending order of their values.
class PositionSlots {
  public:
    PositionSlots(const std::vector<ObjFace>& faces, size_t faceCount, size_t positionCount)
        : positionCount(positionCount) {
        for (size_t f = 0; f < faceCount; ++f)
            for (int index : faces[f].positionIndex)
                if (!inRange(index)) outOfRange.push_back(index);
        std::sort(outOfRange.begin(), outOfRange.end());
        outOfRange.erase(std::unique(outOfRange.begin(), outOfRange.end()), outOfRange.end());
    }

    size_t slotCount() const { return positionCount + outOfRange.size(); }

    size_t slotOf(int index) const {
        if (inRange(index)) return static_cast<size_t>(index);
        return positionCount +
               static_cast<size_t>(std::lower_bound(outOfRange.begin(), outOfRange.end(), index) -
                                   outOfRange.begin());
    }

  private:
    bool inRange(int index) const {
        return index >= 0 && static_cast<size_t>(index) < positionCount;
    }

    size_t positionCount;
    std::vector<int> outOfRange;
};

// The smooth value of every corner: the normalised sum, over every face j and
// corner l whose position index equals the corner's and whose value index i
// lies in `values`, of values[i], added by ascending i, then j, then l.
void fillSmoothCornerValues(const std::vector<ObjFace>& faces, size_t faceCount,
                            size_t positionCount, const std::vector<glm::vec3>& values,
                            int ObjFace::*valueIndex, std::vector<glm::vec3>& corners) {
    const size_t valueCount = values.size();
    auto valid = [&](int index) { return index >= 0 && static_cast<size_t>(index) < valueCount; };

    // Counting sort of the faces by value index, stable, so that faces with
    // the same index keep ascending face order.
    std::vector<uint32_t> firstOfIndex(valueCount + 1, 0);
    for (size_t f = 0; f < faceCount; ++f) {
        const int index = faces[f].*valueIndex;
        if (valid(index)) ++firstOfIndex[static_cast<size_t>(index) + 1];
    }
    for (size_t i = 1; i <= valueCount; ++i) firstOfIndex[i] += firstOfIndex[i - 1];
    std::vector<uint32_t> sortedFaces(firstOfIndex[valueCount]);
    for (size_t f = 0; f < faceCount; ++f) {
        const int index = faces[f].*valueIndex;
        if (valid(index))
            sortedFaces[firstOfIndex[static_cast<size_t>(index)]++] = static_cast<uint32_t>(f);
    }

    const PositionSlots slots(faces, faceCount, positionCount);
    std::vector<glm::vec3> sums(slots.slotCount(), glm::vec3(0.0f));
    for (uint32_t f : sortedFaces) {
        const ObjFace& face = faces[f];
        const glm::vec3 value = values[static_cast<size_t>(face.*valueIndex)];
        for (int corner = 0; corner < 3; ++corner) {
            glm::vec3& sum = sums[slots.slotOf(face.positionIndex[corner])];
            sum.x += value.x;
            sum.y += value.y;
            sum.z += value.z;
        }
    }
    for (glm::vec3& sum : sums) sum = divideByLength(sum);

    corners.clear();
    corners.reserve(3 * faceCount);
    for (size_t f = 0; f < faceCount; ++f)
        for (int corner = 0; corner < 3; ++corner)
            corners.push_back(sums[slots.slotOf(faces[f].positionIndex[corner])]);
}

}  // namespace

size_t Mesh::usableFaceCount() const {
    if (model.faceCount <= 0) return 0;
    return std::min(static_cast<size_t>(model.faceCount), model.faces.size());
}

GLint Mesh::uploadVertexCount() const {
    // The largest buffer holds 3 floats per vertex; a mesh whose buffers a
    // 32-bit byte size cannot describe is uploaded empty and draws nothing.
    const int64_t vertices = 3 * static_cast<int64_t>(usableFaceCount());
    if (vertices * 3 * 4 > INT_MAX) return 0;
    return static_cast<GLint>(vertices);
}

void Mesh::computeFaceTangents() {
    const size_t faceCount = usableFaceCount();
    faceTangents.assign(faceCount, glm::vec3(0.0f));
    for (size_t i = 0; i < faceCount; ++i) {
        ObjFace& face = model.faces[i];
        const glm::vec3 p0 = readOrZero(model.positions, face.positionIndex[0]);
        const glm::vec3 p1 = readOrZero(model.positions, face.positionIndex[1]);
        const glm::vec3 p2 = readOrZero(model.positions, face.positionIndex[2]);
        const glm::vec2 t0 = readOrZero(model.texCoords, face.texCoordIndex[0]);
        const glm::vec2 t1 = readOrZero(model.texCoords, face.texCoordIndex[1]);
        const glm::vec2 t2 = readOrZero(model.texCoords, face.texCoordIndex[2]);
        const glm::vec3 e1 = p1 - p0;
        const glm::vec3 e2 = p2 - p0;
        const float du1 = t1.x - t0.x;
        const float du2 = t2.x - t0.x;
        const float dv1 = t1.y - t0.y;
        const float dv2 = t2.y - t0.y;
        const float r = 1.0f / (du1 * dv2 - du2 * dv1);
        faceTangents[i] = glm::vec3((dv2 * e1.x - dv1 * e2.x) * r, (dv2 * e1.y - dv1 * e2.y) * r,
                                    (dv2 * e1.z - dv1 * e2.z) * r);
        face.tangentIndex = static_cast<int>(i);
    }
}

// The per-corner arrays are filled by appending to reserved storage, so each
// is written once (not cleared first): at 2 million faces they are 72 MB each.
// The builds fill one array after another into the same storage.
void Mesh::fillCornerArray(CornerArray kind, std::vector<glm::vec3>& corners) const {
    const size_t faceCount = usableFaceCount();
    switch (kind) {
        case CornerArray::SmoothNormals:
            fillSmoothCornerValues(model.faces, faceCount, model.positions.size(), model.normals,
                                   &ObjFace::normalIndex, corners);
            return;
        case CornerArray::SmoothTangents:
            fillSmoothCornerValues(model.faces, faceCount, model.positions.size(), faceTangents,
                                   &ObjFace::tangentIndex, corners);
            return;
        default:
            break;
    }
    corners.clear();
    corners.reserve(3 * faceCount);
    switch (kind) {
        case CornerArray::Positions:
            for (size_t f = 0; f < faceCount; ++f)
                for (int c = 0; c < 3; ++c)
                    corners.push_back(readOrZero(model.positions, model.faces[f].positionIndex[c]));
            break;
        case CornerArray::FlatNormals:
            for (size_t f = 0; f < faceCount; ++f) {
                const glm::vec3 normal = readOrZero(model.normals, model.faces[f].normalIndex);
                for (int c = 0; c < 3; ++c) corners.push_back(normal);
            }
            break;
        case CornerArray::FlatTangents:
            for (size_t f = 0; f < faceCount; ++f) {
                const ObjFace& face = model.faces[f];
                const glm::vec3 p0 = readOrZero(model.positions, face.positionIndex[0]);
                const glm::vec3 p1 = readOrZero(model.positions, face.positionIndex[1]);
                const glm::vec2 t0 = readOrZero(model.texCoords, face.texCoordIndex[0]);
                const glm::vec2 t1 = readOrZero(model.texCoords, face.texCoordIndex[1]);
                // From the corners' own values rather than edge differences,
                // so this is not the face tangent.
                const float r = 1.0f / (t0.x * t1.y - t0.y * t1.x);
                const glm::vec3 tangent((t1.y * p0.x - t0.y * p1.x) * r,
                                        (t1.y * p0.y - t0.y * p1.y) * r,
                                        (t1.y * p0.z - t0.y * p1.z) * r);
                for (int c = 0; c < 3; ++c) corners.push_back(tangent);
            }
            break;
        case CornerArray::UnitX:
            corners.assign(3 * faceCount, glm::vec3(1.0f, 0.0f, 0.0f));
            break;
        case CornerArray::UnitY:
            corners.assign(3 * faceCount, glm::vec3(0.0f, 1.0f, 0.0f));
            break;
        case CornerArray::SmoothNormals:
        case CornerArray::SmoothTangents:
            break;
    }
}

std::vector<glm::vec3> Mesh::cornerArray(CornerArray kind) const {
    std::vector<glm::vec3> corners;
    fillCornerArray(kind, corners);
    return corners;
}

std::vector<glm::vec3> Mesh::cornerPositions() const { return cornerArray(CornerArray::Positions); }
std::vector<glm::vec3> Mesh::cornerFlatNormals() const {
    return cornerArray(CornerArray::FlatNormals);
}
std::vector<glm::vec3> Mesh::cornerFlatTangents() const {
    return cornerArray(CornerArray::FlatTangents);
}
std::vector<glm::vec3> Mesh::cornerSmoothNormals() const {
    return cornerArray(CornerArray::SmoothNormals);
}
std::vector<glm::vec3> Mesh::cornerSmoothTangents() const {
    return cornerArray(CornerArray::SmoothTangents);
}
std::vector<glm::vec3> Mesh::cornerUnitX() const { return cornerArray(CornerArray::UnitX); }
std::vector<glm::vec3> Mesh::cornerUnitY() const { return cornerArray(CornerArray::UnitY); }

std::vector<glm::vec2> Mesh::cornerTexCoords() const {
    const size_t faceCount = usableFaceCount();
    std::vector<glm::vec2> corners;
    corners.reserve(3 * faceCount);
    for (size_t f = 0; f < faceCount; ++f)
        for (int c = 0; c < 3; ++c)
            corners.push_back(readOrZero(model.texCoords, model.faces[f].texCoordIndex[c]));
    return corners;
}

std::vector<GLint> Mesh::cornerIndices() const {
    const size_t count = 3 * usableFaceCount();
    std::vector<GLint> indices;
    indices.reserve(count);
    for (size_t i = 0; i < count; ++i) indices.push_back(static_cast<GLint>(i));
    return indices;
}

void Mesh::reserveBuffers(int count) {
    buffers.assign(static_cast<size_t>(std::max(count, 0)), AttributeBuffer{});
    bufferCapacity = static_cast<int>(buffers.size());
    bufferCount = 0;
}

void Mesh::addAttributeBuffer(const char* name, const ProgramLocations& program, GLenum target,
                              const void* data, GLenum usage, GLint components, GLenum type) {
    if (bufferCount >= bufferCapacity) return;
    AttributeBuffer buffer;
    buffer.name = name;
    buffer.location = program.getAttribLocation(name);
    buffer.type = type;
    buffer.components = components;
    buffer.target = target;
    buffer.byteSize = uploadVertexCount() * components * 4;
    buffer.usage = usage;
    glGenBuffers(1, &buffer.bufferId);
    glBindBuffer(target, buffer.bufferId);
    glBufferData(target, buffer.byteSize, buffer.byteSize > 0 ? data : nullptr, usage);
    buffers[static_cast<size_t>(bufferCount++)] = buffer;
}

namespace {

struct CornerAttribute {
    const char* name;
    Mesh::CornerArray kind;
};

constexpr CornerAttribute kPlainAttributes[] = {{"in_Position", Mesh::CornerArray::Positions},
                                                {"in_FlatNormal", Mesh::CornerArray::FlatNormals},
                                                {"in_Normal", Mesh::CornerArray::SmoothNormals},
                                                {"in_X", Mesh::CornerArray::UnitX},
                                                {"in_Y", Mesh::CornerArray::UnitY}};
constexpr CornerAttribute kTangentAttributes[] = {
    {"in_Position", Mesh::CornerArray::Positions},
    {"in_FlatNormal", Mesh::CornerArray::FlatNormals},
    {"in_FlatTangent", Mesh::CornerArray::FlatTangents},
    {"in_Normal", Mesh::CornerArray::SmoothNormals},
    {"in_Tangent", Mesh::CornerArray::SmoothTangents},
    {"in_X", Mesh::CornerArray::UnitX},
    {"in_Y", Mesh::CornerArray::UnitY}};

}  // namespace

int Mesh::attributeBufferCount(bool withTangents) {
    // The corner arrays, the index buffer and the texture coordinates.
    return withTangents ? 9 : 7;
}

// Both builds hand over the index buffer first, then the three-component
// corner arrays in their order, then the texture coordinates. The per-vertex
// arrays share one storage, each refilled for the next array.
void Mesh::produceAttributeArrays(bool withTangents, const AttributeArrayVisitor& take) const {
    take("indices", GL_ELEMENT_ARRAY_BUFFER, cornerIndices().data(), 1, GL_INT);
    std::vector<glm::vec3> corners;
    const auto visit = [&](const CornerAttribute& attribute) {
        fillCornerArray(attribute.kind, corners);
        take(attribute.name, GL_ARRAY_BUFFER, corners.data(), 3, GL_FLOAT);
    };
    if (withTangents) {
        for (const CornerAttribute& attribute : kTangentAttributes) visit(attribute);
    } else {
        for (const CornerAttribute& attribute : kPlainAttributes) visit(attribute);
    }
    take("in_TexCoord", GL_ARRAY_BUFFER, cornerTexCoords().data(), 2, GL_FLOAT);
}

namespace {

void buildMesh(Mesh& mesh, const ProgramLocations& program, bool withTangents) {
    mesh.computeFaceTangents();
    mesh.reserveBuffers(Mesh::attributeBufferCount(withTangents));
    mesh.produceAttributeArrays(withTangents, [&](const char* name, GLenum target, const void* data,
                                                  GLint components, GLenum type) {
        mesh.addAttributeBuffer(name, program, target, data, GL_STATIC_DRAW, components, type);
    });
}

}  // namespace

void Mesh::buildBuffers(const ProgramLocations& program) { buildMesh(*this, program, false); }

void Mesh::buildBuffersWithTangents(const ProgramLocations& program) {
    buildMesh(*this, program, true);
}

PreparedMeshArrays Mesh::prepareArrays(bool withTangents) {
    PreparedMeshArrays prepared;
    prepared.withTangents = withTangents;
    computeFaceTangents();
    const size_t vertices = 3 * usableFaceCount();
    produceAttributeArrays(withTangents, [&](const char* name, GLenum target, const void* data,
                                             GLint components, GLenum type) {
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        const size_t size = vertices * static_cast<size_t>(components) * 4;
        prepared.arrays.push_back(
            {name, target, components, type, std::vector<unsigned char>(bytes, bytes + size)});
    });
    return prepared;
}

void Mesh::uploadPreparedArrays(const ProgramLocations& program,
                                const PreparedMeshArrays& prepared) {
    reserveBuffers(attributeBufferCount(prepared.withTangents));
    for (const PreparedMeshArrays::Array& array : prepared.arrays) {
        addAttributeBuffer(array.name, program, array.target, array.bytes.data(), GL_STATIC_DRAW,
                           array.components, array.type);
    }
}

void Mesh::bindAttributes() const {
    if (bufferCount == 0) return;
    for (int slot = 1; slot < bufferCount; ++slot) {
        const AttributeBuffer& buffer = buffers[static_cast<size_t>(slot)];
        if (buffer.location == -1) continue;
        const GLuint location = static_cast<GLuint>(buffer.location);
        glBindBuffer(buffer.target, buffer.bufferId);
        glVertexAttribPointer(location, buffer.components, buffer.type, GL_FALSE, 0, nullptr);
        glEnableVertexAttribArray(location);
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[0].bufferId);
}

void Mesh::drawTriangles(int parts) const {
    // Without an index buffer, offset 0 would be taken as a client pointer.
    if (bufferCount == 0) return;
    const long long triangles = buffers[0].byteSize / 12;
    const long long partCount = std::clamp<long long>(parts, 1, std::max(triangles, 1LL));
    for (long long part = 0; part < partCount; ++part) {
        const long long first = triangles * part / partCount;
        const long long end = triangles * (part + 1) / partCount;
        if (part > 0) glFlush();
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(3 * (end - first)), GL_UNSIGNED_INT,
                       reinterpret_cast<const void*>(static_cast<uintptr_t>(12 * first)));
    }
}

void Mesh::unbindAttributes() const {
    if (bufferCount == 0) return;
    for (int slot = 1; slot < bufferCount; ++slot) {
        const AttributeBuffer& buffer = buffers[static_cast<size_t>(slot)];
        if (buffer.location != -1) glDisableVertexAttribArray(static_cast<GLuint>(buffer.location));
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}
