// The gizmo's buffers are built once; a draw only binds them, uploads the two
// matrices and issues one GL_LINES draw. Buffers are not deleted: like every
// GL object of the scene they end with the context.
#include "render/coordinate_gizmo.h"

#include <algorithm>

#include "platform/console.h"
#include "render/scene_object.h"

CoordinateGizmo::CoordinateGizmo(SceneObject* object) : object(object) {
    program = std::make_unique<ShaderProgram>("Shaders/coordsys", kGizmoProgram);
    if (!program->isLoaded()) platform::printLine("Could not compile minimal shader program.");

    const Mesh& mesh = object->mesh;
    const std::vector<glm::vec3> positions = mesh.cornerPositions();
    const std::vector<glm::vec3> normals = mesh.cornerSmoothNormals();
    const std::vector<glm::vec3> tangents = mesh.cornerSmoothTangents();
    // A mesh whose corner arrays are shorter than its face count promises
    // (an unbuilt or broken mesh) only gets frames for the whole triangles
    // it has data for, so nothing is read past an array's end.
    std::size_t corners = 3 * static_cast<std::size_t>(std::max(mesh.model.faceCount, 0));
    corners = std::min({corners, positions.size(), normals.size(), tangents.size()});
    corners -= corners % 3;
    pointCount = static_cast<int>(corners / 3) * kPointsPerTriangle;

    points.resize(static_cast<std::size_t>(pointCount));
    for (std::size_t corner = 0; corner < corners; ++corner) {
        const glm::vec3 position = positions[corner];
        const glm::vec3 normal = normals[corner];
        const glm::vec3 tangent = tangents[corner];
        const glm::vec3 bitangent = glm::normalize(glm::cross(normal, tangent));
        glm::vec3* frame = &points[6 * corner];
        frame[0] = position;
        frame[1] = position + normal;
        frame[2] = position;
        frame[3] = position + bitangent;
        frame[4] = position;
        frame[5] = position + tangent;
    }

    // A program that did not build has no attributes; asking it would only
    // leave a GL error behind for the frame's error report.
    if (program->isLoaded()) positionLocation = program->getAttribLocation("in_Position");
    glGenBuffers(1, &positionBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(pointCount) * 12, points.data(),
                 GL_STATIC_DRAW);

    if (program->isLoaded()) orientationLocation = program->getAttribLocation("in_Orientation");
    std::vector<GLint> orientations(static_cast<std::size_t>(pointCount));
    for (int i = 0; i < pointCount; ++i) orientations[i] = i % kPointsPerTriangle;
    glGenBuffers(1, &orientationBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, orientationBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(pointCount) * 4, orientations.data(),
                 GL_STATIC_DRAW);
}

void CoordinateGizmo::draw(const glm::mat4& view, const glm::mat4& projection) const {
    // Without a program there is nothing to draw with; attribute calls on
    // location -1 would only raise GL errors every frame.
    if (!program->isLoaded()) return;
    const glm::mat4 modelView = view * object->getModelMatrix();
    program->bind();

    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer);
    if (positionLocation != -1) {
        glVertexAttribPointer(positionLocation, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
        glEnableVertexAttribArray(positionLocation);
    }
    glBindBuffer(GL_ARRAY_BUFFER, orientationBuffer);
    if (orientationLocation != -1) {
        // The non-integer pointer form: the shader reads 0..17 as a float.
        glVertexAttribPointer(orientationLocation, 1, GL_INT, GL_FALSE, 0, nullptr);
        glEnableVertexAttribArray(orientationLocation);
    }

    program->setMat4("mvMat", modelView, false);
    program->setMat4("projMat", projection, true);
    glDrawArrays(GL_LINES, 0, pointCount);

    if (positionLocation != -1) glDisableVertexAttribArray(positionLocation);
    if (orientationLocation != -1) glDisableVertexAttribArray(orientationLocation);
    program->unbind();
}
