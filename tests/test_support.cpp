// Scratch directories, files and TGA images for every test.
#include "test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace support {

std::string runPath(const std::string& relative) {
    const char* run = std::getenv("ISLAND_RUN_DIR");
    return (fs::absolute(run != nullptr ? run : "run") / relative).string();
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& contents) {
    if (fs::path(path).has_parent_path()) fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

ScratchDirectory::ScratchDirectory(bool withRunAssets) : previous(fs::current_path()) {
    std::string pattern = (fs::temp_directory_path() / "island-test-XXXXXX").string();
    directory = mkdtemp(pattern.data()) != nullptr ? pattern : "";
    fs::create_directory_symlink(runPath("Shaders"), fs::path(directory) / "Shaders");
    for (const char* folder : {"Models", "Sprites"}) {
        fs::create_directory(fs::path(directory) / folder);
        if (!withRunAssets) continue;
        for (const auto& file : fs::directory_iterator(runPath(folder)))
            fs::create_symlink(file, fs::path(directory) / folder / file.path().filename());
    }
    fs::current_path(directory);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    fs::current_path(previous, ignored);
    fs::permissions(directory, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(directory, ignored);
}

TgaImage tgaPattern(int width, int height, int channels) {
    TgaImage image{width, height, channels, {}};
    for (int i = 0; i < width * height * channels; ++i) {
        const int c = i % channels, x = i / channels % width, y = i / channels / width;
        image.pixels.push_back(static_cast<unsigned char>(x * 7 + y * 31 + c * 60));
    }
    return image;
}

std::string encodeTga(const TgaImage& image, bool topOrigin) {
    const int n = image.channels, w = image.width, h = image.height;
    std::string bytes(18, '\0');
    bytes[2] = static_cast<char>(n == 1 ? 3 : 2);  // uncompressed grey or true colour
    bytes[12] = static_cast<char>(w & 0xff), bytes[13] = static_cast<char>(w >> 8);
    bytes[14] = static_cast<char>(h & 0xff), bytes[15] = static_cast<char>(h >> 8);
    bytes[16] = static_cast<char>(n * 8);
    bytes[17] = static_cast<char>((n == 4 ? 8 : 0) | (topOrigin ? 0x20 : 0));
    for (int row = 0; row < h; ++row)  // rows from the origin's side, blue green red (alpha)
        for (int x = 0; x < w; ++x) {
            const size_t at = (static_cast<size_t>(topOrigin ? row : h - 1 - row) * w + x) * n;
            std::string pixel(image.pixels.begin() + at, image.pixels.begin() + at + n);
            if (n >= 3) std::swap(pixel[0], pixel[2]);
            bytes += pixel;
        }
    return bytes;
}

}  // namespace support
