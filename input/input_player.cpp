// Reading rec.cfg back. The file is trusted as little as possible: it may be
// missing, be a directory, lack its start line, or hold items of any length.
#include "input/input_player.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "input/input_recorder.h"
#include "platform/console.h"
#include "platform/data_file.h"

namespace {

// Far more than any run records; a larger file is refused, not read.
constexpr std::size_t kLargestRecording = std::size_t{1} << 30;

bool isSeparator(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

// Reads the whole file, opened without waiting and only when it is a
// regular file: a named pipe would block the frame loop until a writer came.
// `problem` says why not, when it cannot be read.
bool readRecording(const char* name, std::string& contents, std::string& problem) {
    contents.clear();
    const platform::DataFile file = platform::readDataFile(name, kLargestRecording);
    if (file.notAFile != nullptr) {
        problem = std::string(file.notAFile) + ", not a regular file";
        return false;
    }
    if (file.errorCode != 0) {
        problem = std::strerror(file.errorCode);
        return false;
    }
    contents.assign(file.bytes.get(), file.length);
    return true;
}

// Parses a decimal int at `text`; advances it past the number. False when
// there is no number or it does not fit.
bool parseInt(const char*& text, int& value) {
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
    value = static_cast<int>(parsed);
    text = end;
    return true;
}

}  // namespace

void InputPlayer::startPlaying() {
    platform::printLine("start playing");
    std::string contents;
    std::string problem;
    if (!readRecording(kRecordingFileName, contents, problem)) {
        platform::printErrorLine(std::string("Cannot read ") + kRecordingFileName + ": " + problem +
                                 " (nothing to play back)");
    }
    loadRecording(std::move(contents));
}

void InputPlayer::loadRecording(std::string contents) {
    buffer = std::move(contents);
    finished = false;
    // The items begin after the start line; a file without one holds none.
    position = buffer.find('\n');
    if (position == std::string::npos) {
        position = buffer.size();
        finished = true;
    }
    token.clear();
    framesPlayed = 0;
    nextItemDue = 0;
    itemPending = false;
}

void InputPlayer::stopPlaying() { platform::printLine("end playing"); }

bool InputPlayer::readNextItem() {
    while (!finished) {
        while (position < buffer.size() && isSeparator(buffer[position])) ++position;
        if (position >= buffer.size()) break;
        std::size_t end = position;
        while (end < buffer.size() && !isSeparator(buffer[end])) ++end;
        token.assign(buffer, position, end - position);
        position = end;
        if (token.compare(0, 3, "end") == 0) break;  // the end line: no further item
        if (parseToken()) return true;
    }
    finished = true;
    return false;
}

// "%d_%d_%d" is a mouse item, "%d%c" a key item; anything else is no item.
bool InputPlayer::parseToken() {
    const char* text = token.c_str();
    int count = 0;
    if (!parseInt(text, count)) return false;
    if (token.find('_') != std::string::npos) {
        int moveX = 0;
        int moveY = 0;
        if (*text++ != '_' || !parseInt(text, moveX)) return false;
        if (*text++ != '_' || !parseInt(text, moveY)) return false;
        if (*text != '\0') return false;
        frameCount = count;
        dx = moveX;
        dy = moveY;
        mouseItem = true;
        return true;
    }
    if (text[0] == '\0' || text[1] != '\0') return false;
    frameCount = count;
    key = text[0];
    mouseItem = false;
    return true;
}

namespace {

enum Slot : unsigned { kMoveKeySlot = 1, kHandlerKeySlot = 2, kMouseSlot = 4 };

unsigned slotsOfKey(char key) {
    switch (key) {
        case 'A':
        case 'D':
        case 'W':
        case 'S':
        case 'B':
            return kMoveKeySlot;
        case 'N':
            return kMoveKeySlot | kHandlerKeySlot;  // the space bar and the light key N
        default:
            return kHandlerKeySlot;
    }
}

}  // namespace

PlaybackValues InputPlayer::nextFrame() {
    PlaybackValues values;
    ++framesPlayed;
    unsigned filled = 0;
    for (;;) {
        if (!itemPending) {
            if (!readNextItem()) break;
            itemPending = true;
            nextItemDue += frameCount;
        }
        if (nextItemDue > framesPlayed) break;
        const unsigned slots = mouseItem ? kMouseSlot : slotsOfKey(key);
        if ((filled & slots) != 0) break;
        filled |= slots;
        if (mouseItem) {
            values.dx = dx;
            values.dy = dy;
        } else {
            if ((slots & kMoveKeySlot) != 0) values.moveKey = key;
            if ((slots & kHandlerKeySlot) != 0) values.key = key;
        }
        itemPending = false;
    }
    return values;
}
