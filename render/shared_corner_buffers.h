// The index buffers that draw one mesh with its indistinguishable corners
// shared (assets/shared_corner_indices.h), one for each set of vertex arrays
// that a program reads: the shadow pass reads positions only, so every
// corner at one place is one vertex there, while a mode that reads the
// face's normal shares almost nothing. Making one costs a pass over the
// mesh, so it is made after the draw that first asks for it, which draws
// with the mesh's own unrolled indices meanwhile: both draw the same.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "platform/gl.h"
#include "render/active_attributes.h"

class Mesh;

// One bit for each buffer slot of `mesh` whose attribute location lies in one
// of `readLocations`: the arrays a draw with that program fetches.
std::uint32_t arraysReadBy(const Mesh& mesh, const std::vector<LocationRange>& readLocations);

class SharedCornerBuffers {
  public:
    SharedCornerBuffers() = default;
    SharedCornerBuffers(const SharedCornerBuffers&) = delete;
    SharedCornerBuffers& operator=(const SharedCornerBuffers&) = delete;

    // The index buffer for a draw that reads the arrays `readArrays`, or 0
    // where it has not been made yet: the next makeWanted makes it.
    GLuint indexBufferFor(std::uint32_t readArrays) const;
    // Makes every index buffer asked for and not made yet.
    void makeWanted(const Mesh& mesh);

  private:
    std::map<std::uint32_t, GLuint> made;
    mutable std::set<std::uint32_t> wanted;
};
