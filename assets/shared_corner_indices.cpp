// An open-addressing table of corners keyed by a hash of their bytes; equal
// hashes are confirmed by comparing the bytes, so a collision never merges
// two corners that differ.
#include "assets/shared_corner_indices.h"

#include <cstring>

namespace {

// FNV-1a over the corner's bytes in every array.
std::uint64_t cornerHash(const std::vector<CornerValues>& arrays, std::size_t corner) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const CornerValues& array : arrays) {
        const unsigned char* bytes = array.bytes + corner * array.bytesPerCorner;
        for (std::size_t b = 0; b < array.bytesPerCorner; ++b) {
            hash = (hash ^ bytes[b]) * 1099511628211ull;
        }
    }
    return hash;
}

bool sameValues(const std::vector<CornerValues>& arrays, std::size_t a, std::size_t b) {
    for (const CornerValues& array : arrays) {
        if (std::memcmp(array.bytes + a * array.bytesPerCorner,
                        array.bytes + b * array.bytesPerCorner, array.bytesPerCorner) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::vector<std::uint32_t> sharedCornerIndices(const std::vector<CornerValues>& arrays,
                                               std::size_t cornerCount) {
    std::vector<std::uint32_t> indices(cornerCount);
    std::size_t slots = 16;
    while (slots < 2 * cornerCount) slots *= 2;
    constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    std::vector<std::uint32_t> table(slots, kEmpty);
    std::vector<std::uint64_t> hashes(cornerCount);
    for (std::size_t corner = 0; corner < cornerCount; ++corner) {
        const std::uint64_t hash = cornerHash(arrays, corner);
        hashes[corner] = hash;
        std::size_t slot = static_cast<std::size_t>(hash) & (slots - 1);
        while (table[slot] != kEmpty &&
               !(hashes[table[slot]] == hash && sameValues(arrays, table[slot], corner))) {
            slot = (slot + 1) & (slots - 1);
        }
        if (table[slot] == kEmpty) table[slot] = static_cast<std::uint32_t>(corner);
        indices[corner] = table[slot];
    }
    return indices;
}
