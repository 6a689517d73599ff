// Records input into rec.cfg as short text items, each saying how many frames
// passed since the previous one. The file is opened and closed around every
// write, so what was recorded is on disk even if the program is killed (only
// the "end" line is then missing). A file that cannot be written is reported
// once per recording on standard error; the program goes on without it.
#pragma once

#include <cstdio>

// The file the recorder writes and the player reads, in the working directory.
inline constexpr const char* kRecordingFileName = "rec.cfg";

class InputRecorder {
  public:
    InputRecorder() = default;

    // Prints "start recording" and begins a new rec.cfg with its start line.
    void startRecording();
    // Called at the start of every frame while recording.
    void countFrame();
    // One key item: the frames since the last item, then the key code.
    void recordKey(char code);
    // One mouse item: the frames since the last item, then dx and dy in pixels.
    void recordMouse(int dx, int dy);
    // Prints "end recording" and writes the end line with the frames since the last item.
    void stopRecording();

    int getFramesSinceLastItem() const { return framesSinceLastItem; }

  private:
    // Opens rec.cfg in `mode`, writes `text`, closes it. The first failure of a
    // recording is reported; later ones stay silent.
    void writeToFile(const char* mode, const char* text);

    std::FILE* file = nullptr;  // open only inside writeToFile
    int framesSinceLastItem = 0;
    bool failureReported = false;
};
