// Writes TGA files for the tests: true-colour (24 or 32 bits) or grey
// (8 bits), uncompressed or RLE, with the origin at the top or the bottom.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace tga_test {

struct Image {
    int width = 0;
    int height = 0;
    int channels = 3;                  // 1 grey, 3 RGB, 4 RGBA
    std::vector<unsigned char> pixels;  // top row first, R G B (A) order
};

// A width × height image whose every byte is a function of its place.
inline Image pattern(int width, int height, int channels) {
    Image image{width, height, channels, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                image.pixels.push_back(static_cast<unsigned char>(x * 7 + y * 31 + c * 60));
    return image;
}

inline std::vector<unsigned char> encode(const Image& image, bool rle, bool topOrigin) {
    const int channels = image.channels;
    std::vector<unsigned char> bytes(18, 0);
    bytes[2] = static_cast<unsigned char>((channels == 1 ? 3 : 2) + (rle ? 8 : 0));
    bytes[12] = static_cast<unsigned char>(image.width & 0xff);
    bytes[13] = static_cast<unsigned char>(image.width >> 8);
    bytes[14] = static_cast<unsigned char>(image.height & 0xff);
    bytes[15] = static_cast<unsigned char>(image.height >> 8);
    bytes[16] = static_cast<unsigned char>(channels * 8);
    bytes[17] = static_cast<unsigned char>((channels == 4 ? 8 : 0) | (topOrigin ? 0x20 : 0));

    // Pixels in file order (rows from the origin's side), BGR(A).
    std::vector<std::vector<unsigned char>> filePixels;
    for (int row = 0; row < image.height; ++row) {
        const int y = topOrigin ? row : image.height - 1 - row;
        for (int x = 0; x < image.width; ++x) {
            const unsigned char* p =
                &image.pixels[(static_cast<size_t>(y) * image.width + x) * channels];
            if (channels == 1) filePixels.push_back({p[0]});
            else if (channels == 3) filePixels.push_back({p[2], p[1], p[0]});
            else filePixels.push_back({p[2], p[1], p[0], p[3]});
        }
    }
    auto append = [&](const std::vector<unsigned char>& pixel) {
        bytes.insert(bytes.end(), pixel.begin(), pixel.end());
    };
    if (!rle) {
        for (const auto& pixel : filePixels) append(pixel);
        return bytes;
    }
    size_t i = 0;
    while (i < filePixels.size()) {
        size_t run = 1;
        while (i + run < filePixels.size() && run < 128 && filePixels[i + run] == filePixels[i]) ++run;
        if (run >= 2) {
            bytes.push_back(static_cast<unsigned char>(0x80 | (run - 1)));
            append(filePixels[i]);
            i += run;
            continue;
        }
        size_t raw = 1;
        while (i + raw < filePixels.size() && raw < 128 &&
               !(i + raw + 1 < filePixels.size() && filePixels[i + raw] == filePixels[i + raw + 1]))
            ++raw;
        bytes.push_back(static_cast<unsigned char>(raw - 1));
        for (size_t k = 0; k < raw; ++k) append(filePixels[i + k]);
        i += raw;
    }
    return bytes;
}

inline void writeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace tga_test
