// Collects positions, texture coordinates and triangles and writes them as
// Wavefront OBJ text in the one form the island's reader expects: "v", "vt",
// "vn" lines and faces "f p/t/n p/t/n p/t/n" whose three corners all carry the
// face's own normal (the reader keeps one normal per face).
//
// Values are rounded to the decimals they are written with as soon as they
// are added, so every later computation (face normals, the corner order)
// works on exactly the numbers the reader will see.
#pragma once

#include <glm/glm.hpp>
#include <string>
#include <vector>

namespace assetgen {

class ObjBuilder {
  public:
    struct Face {
        int position[3];
        int texCoord[3];
        int normal;
    };

    int addPosition(const glm::dvec3& position);
    int addTexCoord(const glm::dvec2& texCoord);
    int addNormal(const glm::dvec3& normal);

    // Adds the triangle (corners in counter-clockwise order seen from its front)
    // with a normal of its own computed from its positions. The corners are
    // rotated, keeping the winding, so that the tangent the mesh derives from
    // corners 0 and 1 alone stays finite (see bestCornerRotation).
    void addTriangle(int p0, int p1, int p2, int t0, int t1, int t2);
    // The same with a given normal index.
    void addTriangle(const Face& face);
    // Adds the triangle wound so that its front faces `front` (a direction).
    void addTriangleFacing(int p0, int p1, int p2, int t0, int t1, int t2, const glm::dvec3& front);

    const std::vector<glm::dvec3>& positions() const { return positions_; }
    const std::vector<glm::dvec2>& texCoords() const { return texCoords_; }
    const std::vector<Face>& faces() const { return faces_; }
    glm::dvec3 faceNormal(const Face& face) const;

    std::string toText(const std::string& title) const;

  private:
    std::vector<glm::dvec3> positions_;
    std::vector<glm::dvec2> texCoords_;
    std::vector<glm::dvec3> normals_;
    std::vector<Face> faces_;
};

// The mesh's flat tangent divides by the 2D cross product of corner 0's and
// corner 1's texture coordinates, which vanishes when both lie on one line
// through the origin of texture space. Returns the rotation (0, 1 or 2 places)
// that makes that cross product largest, computed in 32-bit floats as the
// mesh does.
int bestCornerRotation(const glm::dvec2& t0, const glm::dvec2& t1, const glm::dvec2& t2);

// Rounds to the number of decimals the files use: 5 for positions and
// normals, 6 for texture coordinates.
double roundPosition(double value);
double roundTexCoord(double value);

}  // namespace assetgen
