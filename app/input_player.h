// Loads rec.cfg and hands its items back one at a time.
#pragma once

#include <string>

class InputPlayer {
public:
    InputPlayer() = default;
    void startPlaying();
    void stopPlaying();
    // Reads the next item into frameCount and key (or dx, dy); false when none is left.
    bool readNextItem();

    int frameCount = 0;
    char key = 0;
    int dx = 0;
    int dy = 0;
    bool finished = true;

private:
    std::string buffer;
    std::size_t position = 0;
};
