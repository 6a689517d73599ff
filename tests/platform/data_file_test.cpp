// A text file is read whole and byte for byte; only a regular file exists
// for reading, and anything else reads as "".
#include "platform/data_file.h"

#include <filesystem>

#include "test_support.h"

TEST(DataFile, TextIsReadByteForByteFromRegularFilesOnly) {
    support::ScratchDirectory scratch;
    const std::string bytes("a \r\n\tb\0c", 8);
    support::writeFile("bytes", bytes);
    support::writeFile("empty", "");
    std::filesystem::create_directory("folder");
    const struct {
        const char* path;
        bool exists;
        std::string text;
    } rows[] = {
        {"bytes", true, bytes}, {"empty", true, ""}, {"none", false, ""}, {"folder", false, ""}};
    for (const auto& row : rows) {
        EXPECT_EQ(platform::fileExists(row.path), row.exists) << row.path;
        EXPECT_EQ(platform::readTextFile(row.path), row.text) << row.path;
    }
}
