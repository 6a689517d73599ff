// Reading the frame just rendered out of the window's back buffer and saving
// it as a PNG file.
#pragma once

#include <string>
#include <vector>

// An RGB image, top row first.
struct FrameImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// The back buffer's lower-left width × height pixels, before the swap that
// would make its contents undefined. Needs a current context.
FrameImage readBackBuffer(int width, int height);

// Writes `image` as an 8-bit RGB PNG; false when the file cannot be written.
bool writePng(const std::string& path, const FrameImage& image);
