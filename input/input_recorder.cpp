// rec.cfg, as written here:
//   start0\n
//   <items, each followed by one blank>
//   \nend<frames since the last item>      (no line end after it)
// A key item is "%d%c" (frame count, key code), a mouse item "%d_%d_%d"
// (frame count, dx, dy). The frame count of an item is the number of frames
// begun since the previous item, this one included.
#include "input/input_recorder.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/console.h"

void InputRecorder::startRecording() {
    platform::printLine("start recording");
    failureReported = false;
    char text[32];
    std::snprintf(text, sizeof text, "%s%d\n", "start", 0);
    writeToFile("w", text);  // "w" empties a file left by an earlier recording
    framesSinceLastItem = 0;
}

void InputRecorder::countFrame() { ++framesSinceLastItem; }

void InputRecorder::recordKey(char code) {
    char text[32];
    std::snprintf(text, sizeof text, "%d%c ", framesSinceLastItem, code);
    writeToFile("a+", text);
    framesSinceLastItem = 0;
}

void InputRecorder::recordMouse(int dx, int dy) {
    char text[48];
    std::snprintf(text, sizeof text, "%d_%d_%d ", framesSinceLastItem, dx, dy);
    writeToFile("a+", text);
    framesSinceLastItem = 0;
}

void InputRecorder::stopRecording() {
    platform::printLine("end recording");
    char text[32];
    std::snprintf(text, sizeof text, "\n%s%d", "end", framesSinceLastItem);
    writeToFile("a+", text);
}

void InputRecorder::writeToFile(const char* mode, const char* text) {
    file = std::fopen(kRecordingFileName, mode);
    bool written = false;
    int error = 0;
    if (file == nullptr) {
        error = errno;
    } else {
        written = std::fputs(text, file) >= 0;
        if (!written) error = errno;
        if (std::fclose(file) != 0 && written) {
            written = false;
            error = errno;
        }
        file = nullptr;
    }
    if (written || failureReported) return;
    failureReported = true;
    platform::printErrorLine(std::string("Cannot write ") + kRecordingFileName + ": " +
                             std::strerror(error) + " (this recording is not saved)");
}
