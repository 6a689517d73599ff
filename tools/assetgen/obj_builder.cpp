// OBJ text is formatted from integers (value times a power of ten), so the
// output does not depend on the C library's float formatting.
#include "tools/assetgen/obj_builder.h"

#include <cmath>
#include <cstdio>

namespace assetgen {
namespace {

constexpr double kPositionScale = 1e5;
constexpr double kTexCoordScale = 1e6;

void appendFixed(std::string& out, double value, double scale, int decimals) {
    long long scaled = std::llround(value * scale);
    if (scaled < 0) {
        out += '-';
        scaled = -scaled;
    }
    const long long divisor = static_cast<long long>(scale);
    char digits[48];
    std::snprintf(digits, sizeof digits, "%lld.%0*lld", scaled / divisor, decimals,
                  scaled % divisor);
    out += digits;
}

void appendInt(std::string& out, int value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", value);
    out += digits;
}

}  // namespace

double roundPosition(double value) {
    return static_cast<double>(std::llround(value * kPositionScale)) / kPositionScale;
}

double roundTexCoord(double value) {
    return static_cast<double>(std::llround(value * kTexCoordScale)) / kTexCoordScale;
}

int ObjBuilder::addPosition(const glm::dvec3& p) {
    positions_.emplace_back(roundPosition(p.x), roundPosition(p.y), roundPosition(p.z));
    return static_cast<int>(positions_.size()) - 1;
}

int ObjBuilder::addTexCoord(const glm::dvec2& t) {
    texCoords_.emplace_back(roundTexCoord(t.x), roundTexCoord(t.y));
    return static_cast<int>(texCoords_.size()) - 1;
}

int ObjBuilder::addNormal(const glm::dvec3& n) {
    normals_.emplace_back(roundPosition(n.x), roundPosition(n.y), roundPosition(n.z));
    return static_cast<int>(normals_.size()) - 1;
}

glm::dvec3 ObjBuilder::faceNormal(const Face& face) const {
    const glm::dvec3& a = positions_[face.position[0]];
    const glm::dvec3& b = positions_[face.position[1]];
    const glm::dvec3& c = positions_[face.position[2]];
    const glm::dvec3 n = glm::cross(b - a, c - a);
    const double length = std::sqrt(glm::dot(n, n));
    return length > 0.0 ? n / length : glm::dvec3(0.0, 1.0, 0.0);
}

void ObjBuilder::addTriangle(int p0, int p1, int p2, int t0, int t1, int t2) {
    Face face{{p0, p1, p2}, {t0, t1, t2}, 0};
    face.normal = addNormal(faceNormal(face));
    addTriangle(face);
}

void ObjBuilder::addTriangleFacing(int p0, int p1, int p2, int t0, int t1, int t2,
                                   const glm::dvec3& front) {
    const glm::dvec3 n =
        glm::cross(positions_[p1] - positions_[p0], positions_[p2] - positions_[p0]);
    if (glm::dot(n, front) < 0.0) {
        addTriangle(p0, p2, p1, t0, t2, t1);
    } else {
        addTriangle(p0, p1, p2, t0, t1, t2);
    }
}

void ObjBuilder::addTriangle(const Face& face) {
    const int shift = bestCornerRotation(texCoords_[face.texCoord[0]], texCoords_[face.texCoord[1]],
                                         texCoords_[face.texCoord[2]]);
    Face rotated = face;
    for (int c = 0; c < 3; ++c) {
        rotated.position[c] = face.position[(c + shift) % 3];
        rotated.texCoord[c] = face.texCoord[(c + shift) % 3];
    }
    faces_.push_back(rotated);
}

int bestCornerRotation(const glm::dvec2& t0, const glm::dvec2& t1, const glm::dvec2& t2) {
    const glm::vec2 t[3] = {glm::vec2(t0), glm::vec2(t1), glm::vec2(t2)};
    int best = 0;
    float bestMagnitude = -1.0f;
    for (int shift = 0; shift < 3; ++shift) {
        const glm::vec2& a = t[shift];
        const glm::vec2& b = t[(shift + 1) % 3];
        const float magnitude = std::fabs(a.x * b.y - a.y * b.x);
        if (magnitude > bestMagnitude) {
            bestMagnitude = magnitude;
            best = shift;
        }
    }
    return best;
}

std::string ObjBuilder::toText(const std::string& title) const {
    std::string out;
    out.reserve(positions_.size() * 36 + texCoords_.size() * 24 + normals_.size() * 30 +
                faces_.size() * 48 + 256);
    out += "# " + title + "\n";
    out += "# " + std::to_string(positions_.size()) + " positions, " +
           std::to_string(faces_.size()) + " triangles\n";
    for (const glm::dvec3& p : positions_) {
        out += "v ";
        appendFixed(out, p.x, kPositionScale, 5);
        out += ' ';
        appendFixed(out, p.y, kPositionScale, 5);
        out += ' ';
        appendFixed(out, p.z, kPositionScale, 5);
        out += '\n';
    }
    for (const glm::dvec2& t : texCoords_) {
        out += "vt ";
        appendFixed(out, t.x, kTexCoordScale, 6);
        out += ' ';
        appendFixed(out, t.y, kTexCoordScale, 6);
        out += '\n';
    }
    for (const glm::dvec3& n : normals_) {
        out += "vn ";
        appendFixed(out, n.x, kPositionScale, 5);
        out += ' ';
        appendFixed(out, n.y, kPositionScale, 5);
        out += ' ';
        appendFixed(out, n.z, kPositionScale, 5);
        out += '\n';
    }
    for (const Face& f : faces_) {
        out += 'f';
        for (int c = 0; c < 3; ++c) {
            out += ' ';
            appendInt(out, f.position[c] + 1);
            out += '/';
            appendInt(out, f.texCoord[c] + 1);
            out += '/';
            appendInt(out, f.normal + 1);
        }
        out += '\n';
    }
    return out;
}

}  // namespace assetgen
