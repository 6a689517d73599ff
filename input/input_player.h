// Loads rec.cfg and feeds its items back, paced by their frame counts, as the
// camera's movement key, the key handlers' key and the mouse movement of each
// frame of playback.
//
// The feeding rule. Frame 1 is the first frame after the one in which P
// switched playback on, just as the first frame after R counts as 1 in a
// recording. Item i is due in frame c1 + ... + ci, the sum of the frame counts
// up to and including its own, so delays never add up. A frame has three
// slots: the movement key (A, D, W, S, B, and N for the space bar), the
// handlers' key (any other key: the light keys and the toggles M, V and C)
// and the mouse movement. N is also the light key N and fills both key slots.
// Every frame the items that are due are taken in file order, each into its
// slot; an item needs all its slots free. The first due item whose slot is
// already filled waits for the next frame, and every item after it waits with
// it, so the order of the file is kept. A slot that no item fills carries 0,
// and after the last item all three are 0.
#pragma once

#include <cstddef>
#include <string>

// What one frame of playback hands to the camera (moveKey, dx, dy) and to the
// key handlers (key).
struct PlaybackValues {
    char moveKey = 0;
    char key = 0;
    int dx = 0;
    int dy = 0;
};

class InputPlayer {
  public:
    InputPlayer() = default;

    // Prints "start playing", loads rec.cfg and starts the feeding at frame 0.
    // A file that cannot be read is reported on standard error and plays
    // nothing.
    void startPlaying();
    // Starts the feeding at frame 0 from rec.cfg text already in memory;
    // prints nothing. startPlaying hands it the file's contents.
    void loadRecording(std::string contents);
    // Prints "end playing".
    void stopPlaying();
    // Reads the next item into frameCount and key, or frameCount, dx and dy
    // (mouseItem tells which); false when none is left. Items of any length
    // are read whole; a token that is no item is passed over.
    bool readNextItem();
    // The values of the next frame of playback, by the feeding rule above.
    PlaybackValues nextFrame();

    int frameCount = 0;
    char key = 0;
    int dx = 0;
    int dy = 0;
    bool mouseItem = false;
    bool finished = true;

  private:
    bool parseToken();

    std::string buffer;        // the whole of rec.cfg
    std::size_t position = 0;  // first byte of the buffer not read yet
    std::string token;         // the text of the last item read
    long framesPlayed = 0;     // frames fed since startPlaying
    long nextItemDue = 0;      // the frame the pending item is due in
    bool itemPending = false;  // an item has been read but not handed out
};
