// rec.cfg text fed frame by frame until it ends. The feed must be the items
// that the reader gives, each handed out in its slot in the first frame at or
// after its due frame in which its slots are free and everything before it
// has gone, and zeros after the last one; loading again starts from the top.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "input/input_player.h"

namespace {

// Longer feeds are compared up to this frame, and their end is not checked.
constexpr long kMaxFrames = 1 << 12;
constexpr long kFramesAfterTheEnd = 8;

enum Slot : unsigned { kMoveKey = 1, kHandlerKey = 2, kMouse = 4 };

struct Item {
    long due;
    unsigned slots;
    PlaybackValues values;
};

unsigned slotsOfKey(char key) {
    if (key == 'N') return kMoveKey | kHandlerKey;
    return std::string("ADWSB").find(key) != std::string::npos ? kMoveKey : kHandlerKey;
}

bool same(const PlaybackValues& a, const PlaybackValues& b) {
    return a.moveKey == b.moveKey && a.key == b.key && a.dx == b.dx && a.dy == b.dy;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    InputPlayer reader;
    reader.loadRecording(text);
    std::vector<Item> items;
    long due = 0, lastDue = 0;
    while (reader.readNextItem()) {
        due += reader.frameCount;
        lastDue = std::max(lastDue, due);
        Item item{due, reader.mouseItem ? kMouse : slotsOfKey(reader.key), {}};
        check(reader.mouseItem || reader.key != 0, "a key item has a key");
        if ((item.slots & kMoveKey) != 0) item.values.moveKey = reader.key;
        if ((item.slots & kHandlerKey) != 0) item.values.key = reader.key;
        if (reader.mouseItem) item.values.dx = reader.dx, item.values.dy = reader.dy;
        items.push_back(item);
    }
    check(reader.finished && !reader.readNextItem(), "the reader stays finished");

    // Every frame hands out at least one due item, so the feed ends by then.
    const long endFrame = lastDue + static_cast<long>(items.size());
    const long frames = std::min(endFrame + kFramesAfterTheEnd, kMaxFrames);
    InputPlayer player;
    player.loadRecording(text);
    PlaybackValues firstFrame;
    size_t next = 0;
    for (long frame = 1; frame <= frames; ++frame) {
        PlaybackValues expected;
        unsigned filled = 0;
        while (next < items.size() && items[next].due <= frame &&
               (filled & items[next].slots) == 0) {
            // A slot takes one item a frame, and an item is 0 outside its slots.
            const Item& item = items[next++];
            expected.moveKey += item.values.moveKey;
            expected.key += item.values.key;
            expected.dx += item.values.dx;
            expected.dy += item.values.dy;
            filled |= item.slots;
        }
        const PlaybackValues values = player.nextFrame();
        check(same(values, expected), "each item in its slot, on schedule, in file order");
        if (frame == 1) firstFrame = values;
    }
    if (frames < kMaxFrames) check(next == items.size() && player.finished, "the feed ends");
    player.loadRecording(text);
    check(same(player.nextFrame(), firstFrame), "loading again starts from the top");
    return 0;
}
