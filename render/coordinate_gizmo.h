// A visual aid that draws the tangent frame at every triangle corner of one
// scene object: unit segments along the smooth normal, the bitangent and the
// smooth tangent, as GL_LINES with a program of its own ("Shaders/coordsys").
// The geometry is a snapshot of the mesh taken at construction; the object's
// model matrix is read at every draw, so the frames follow the object.
#pragma once

#include <glm/glm.hpp>
#include <memory>
#include <vector>

#include "platform/gl.h"
#include "render/shader_program.h"

class SceneObject;

class CoordinateGizmo {
  public:
    // `object` must outlive the gizmo and have its mesh built.
    explicit CoordinateGizmo(SceneObject* object);
    CoordinateGizmo(const CoordinateGizmo&) = delete;
    CoordinateGizmo& operator=(const CoordinateGizmo&) = delete;

    // The same camera matrices the scene objects are drawn with.
    void draw(const glm::mat4& view, const glm::mat4& projection) const;

    int getPointCount() const { return pointCount; }
    const std::vector<glm::vec3>& getPoints() const { return points; }
    const ShaderProgram& getProgram() const { return *program; }
    GLuint getPositionBuffer() const { return positionBuffer; }
    GLuint getOrientationBuffer() const { return orientationBuffer; }

    // End-points per triangle: 3 corners × 3 segments × 2 ends. The shader
    // decodes corner, segment and end from a point's index within these.
    static constexpr int kPointsPerTriangle = 18;

  private:
    int pointCount = 0;
    std::vector<glm::vec3> points;
    std::unique_ptr<ShaderProgram> program;
    GLuint positionBuffer = 0;
    GLint positionLocation = -1;
    GLint orientationLocation = -1;
    GLuint orientationBuffer = 0;
    SceneObject* object;
};
