// Records input into rec.cfg as short text items, each saying how many frames
// passed since the previous one. The file is opened and closed around every
// write, so what was recorded is on disk even if the program is killed.
#pragma once

#include <cstdio>

class InputRecorder {
public:
    InputRecorder() = default;
    void startRecording();
    void countFrame();
    void recordKey(char code);
    void recordMouse(int dx, int dy);
    void stopRecording();

    int getFramesSinceLastItem() const { return framesSinceLastItem; }

private:
    std::FILE* file = nullptr;
    int framesSinceLastItem = 0;
};
