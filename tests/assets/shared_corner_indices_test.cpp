// Which corners share a vertex: only those equal bit for bit in every array
// read, each named by the first of its kind, whatever the hash does.
#include "assets/shared_corner_indices.h"

#include <cstring>

#include "test_support.h"

namespace {

std::vector<unsigned char> bytesOf(const std::vector<float>& values) {
    std::vector<unsigned char> bytes(values.size() * sizeof(float));
    std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

}  // namespace

TEST(SharedCornerIndices, CornersShareOnlyWhenEveryArrayReadIsEqualBitForBit) {
    struct Case {
        const char* what;
        std::vector<std::vector<float>> arrays;  // two floats per corner each
        std::vector<std::uint32_t> expected;
    };
    const Case cases[] = {
        {"equal corners name the first", {{1, 2, 3, 4, 1, 2, 1, 2}}, {0, 1, 0, 0}},
        {"one differing array keeps them apart",
         {{1, 2, 1, 2, 1, 2}, {5, 5, 6, 6, 5, 5}},
         {0, 1, 0}},
        // A shader can tell 0 from -0 (1 / x), so they are not one value.
        {"zero and negative zero differ", {{0.0f, 1, -0.0f, 1}}, {0, 1}},
        {"no array read: every corner is the first", {}, {0, 0, 0}},
    };
    for (const Case& test : cases) {
        std::vector<std::vector<unsigned char>> storage;
        std::vector<CornerValues> arrays;
        for (const std::vector<float>& array : test.arrays) storage.push_back(bytesOf(array));
        for (const std::vector<unsigned char>& bytes : storage)
            arrays.push_back({bytes.data(), 2 * sizeof(float)});
        EXPECT_EQ(sharedCornerIndices(arrays, test.expected.size()), test.expected) << test.what;
    }
}

// Many distinct corners fill the table far enough that hashes land on taken
// slots: none may be merged with another, and each repeat finds its first.
TEST(SharedCornerIndices, CrowdedTableMergesNoDistinctCorners) {
    const std::size_t distinct = 50000;
    std::vector<float> values;
    for (std::size_t i = 0; i < 2 * distinct; ++i)
        values.push_back(static_cast<float>(i % distinct));
    const std::vector<unsigned char> bytes = bytesOf(values);
    const std::vector<std::uint32_t> indices =
        sharedCornerIndices({{bytes.data(), sizeof(float)}}, values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        ASSERT_EQ(indices[i], i % distinct) << i;
    }
}
