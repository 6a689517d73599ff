// Placeholder until mesh construction lands: builds and draws nothing.
#include "assets/mesh.h"

void Mesh::buildBuffers(const ShaderProgram&) {}
void Mesh::buildBuffersWithTangents(const ShaderProgram&) {}
void Mesh::computeFaceTangents() {}
void Mesh::reserveBuffers(int) {}
void Mesh::addAttributeBuffer(const char*, const ShaderProgram&, GLenum, const void*, GLenum,
                              GLint, GLenum) {}
std::vector<glm::vec3> Mesh::cornerPositions() const { return {}; }
std::vector<glm::vec3> Mesh::cornerFlatNormals() const { return {}; }
std::vector<glm::vec3> Mesh::cornerFlatTangents() const { return {}; }
std::vector<glm::vec3> Mesh::cornerSmoothNormals() const { return {}; }
std::vector<glm::vec3> Mesh::cornerSmoothTangents() const { return {}; }
std::vector<glm::vec3> Mesh::cornerUnitX() const { return {}; }
std::vector<glm::vec3> Mesh::cornerUnitY() const { return {}; }
std::vector<glm::vec2> Mesh::cornerTexCoords() const { return {}; }
void Mesh::bindAttributes() const {}
void Mesh::drawTriangles() const {}
void Mesh::unbindAttributes() const {}
