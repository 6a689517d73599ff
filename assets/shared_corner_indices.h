// Corners that a vertex stage cannot tell apart: a vertex shader's outputs
// depend only on the attribute values it reads (and on uniforms, which are the
// same for the whole draw), so two corners whose read values are equal bit for
// bit give the same vertex. An index buffer that names one of them for both
// lets the driver shade that vertex once and reuse it, where unrolled corners
// would each be shaded on their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One attribute array: `bytesPerCorner` bytes for each corner, back to back.
struct CornerValues {
    const unsigned char* bytes = nullptr;
    std::size_t bytesPerCorner = 0;
};

// For each of `cornerCount` corners, the first corner whose values in all
// `arrays` are equal to its own, bit for bit (itself where none comes
// before it). With no arrays every corner is the first one.
std::vector<std::uint32_t> sharedCornerIndices(const std::vector<CornerValues>& arrays,
                                               std::size_t cornerCount);
