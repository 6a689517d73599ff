// The arrays' values are produced again from the mesh's model, as its upload
// produced them, so that the comparison sees exactly the bytes the driver
// reads.
#include "render/shared_corner_buffers.h"

#include "assets/mesh.h"
#include "assets/shared_corner_indices.h"

std::uint32_t arraysReadBy(const Mesh& mesh, const std::vector<LocationRange>& readLocations) {
    std::uint32_t arrays = 0;
    for (int slot = 1; slot < mesh.bufferCount && slot < 32; ++slot) {
        const GLint location = mesh.buffers[static_cast<size_t>(slot)].location;
        if (location < 0) continue;  // not fed: the program reads a constant
        for (const LocationRange& range : readLocations) {
            if (location >= range.first && location < range.second) arrays |= 1u << slot;
        }
    }
    return arrays;
}

GLuint SharedCornerBuffers::indexBufferFor(std::uint32_t readArrays) const {
    const auto found = made.find(readArrays);
    if (found != made.end()) return found->second;
    wanted.insert(readArrays);
    return 0;
}

void SharedCornerBuffers::makeWanted(const Mesh& mesh) {
    const size_t corners = static_cast<size_t>(mesh.uploadVertexCount());
    for (const std::uint32_t readArrays : wanted) {
        if (made.count(readArrays) != 0) continue;
        std::vector<std::vector<unsigned char>> copies;
        int slot = 0;
        const bool withTangents = mesh.bufferCount == Mesh::attributeBufferCount(true);
        mesh.produceAttributeArrays(
            withTangents, [&](const char*, GLenum, const void* data, GLint components, GLenum) {
                if ((readArrays >> slot++ & 1u) == 0) return;
                const unsigned char* bytes = static_cast<const unsigned char*>(data);
                copies.emplace_back(bytes, bytes + corners * static_cast<size_t>(components) * 4);
            });
        std::vector<CornerValues> arrays;
        for (const std::vector<unsigned char>& copy : copies)
            arrays.push_back({copy.data(), corners == 0 ? 0 : copy.size() / corners});
        const std::vector<std::uint32_t> indices = sharedCornerIndices(arrays, corners);
        bool unrolled = true;  // no corner shared: the mesh's own indices do
        for (size_t corner = 0; corner < indices.size() && unrolled; ++corner)
            unrolled = indices[corner] == corner;
        if (unrolled) {
            made[readArrays] = mesh.buffers[0].bufferId;
            continue;
        }
        GLuint buffer = 0;
        glGenBuffers(1, &buffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                     static_cast<GLsizeiptr>(indices.size() * sizeof(std::uint32_t)),
                     indices.empty() ? nullptr : indices.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        made[readArrays] = buffer;
    }
    wanted.clear();
}
