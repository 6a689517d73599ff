// The contents of one Wavefront OBJ file: positions, normals, texture
// coordinates and triangles that index them (0-based after reading).
#pragma once

#include <glm/glm.hpp>
#include <vector>

struct ObjFace {
    int normalIndex = 0;   // the face's one normal: the last corner's normal index
    int tangentIndex = 0;  // into Mesh::faceTangents; set by the mesh build
    int positionIndex[3] = {0, 0, 0};
    int texCoordIndex[3] = {0, 0, 0};
};

struct ObjModel {
    int normalCount = 0;
    int texCoordCount = 0;
    int positionCount = 0;
    int faceCount = 0;
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> texCoords;
    std::vector<ObjFace> faces;
};
