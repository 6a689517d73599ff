// An InputSource whose keys, cursor and clock are set by hand: tests drive the
// camera and the key handlers with it, and the capture tool steps its clock.
// A framebuffer size set by hand stands in for the window's (a minimised
// window, say); by default the window's own is measured.
#pragma once

#include <set>

#include "platform/window.h"

namespace platform {

class ScriptedInput : public InputSource {
  public:
    int getKey(int key) override {
        return heldKeys.count(key) || tapsOfLastPoll.count(key) ? GLFW_PRESS : GLFW_RELEASE;
    }
    void getMousePos(int* x, int* y) override {
        *x = cursorX;
        *y = cursorY;
    }
    double getTime() override { return time; }
    // A tap made before a poll reads as pressed from that poll to the next,
    // as the window's keys do.
    void poll() override {
        tapsOfLastPoll = tapsBeforeNextPoll;
        tapsBeforeNextPoll.clear();
    }
    bool getFramebufferSize(int* width, int* height) override {
        if (!fakeFramebuffer) return false;
        *width = framebufferWidth;
        *height = framebufferHeight;
        return true;
    }

    // press and release change what the next read sees at once.
    void press(int key) { heldKeys.insert(key); }
    void release(int key) { heldKeys.erase(key); }
    void releaseAll() { heldKeys.clear(); }
    // The key goes down and up again before the next poll.
    void tap(int key) { tapsBeforeNextPoll.insert(key); }
    void moveCursorTo(int x, int y) {
        cursorX = x;
        cursorY = y;
    }
    void setTime(double seconds) { time = seconds; }
    void fakeFramebufferSize(int width, int height) {
        fakeFramebuffer = true;
        framebufferWidth = width;
        framebufferHeight = height;
    }
    void measureWindowFramebuffer() { fakeFramebuffer = false; }

  private:
    std::set<int> heldKeys;
    std::set<int> tapsBeforeNextPoll;
    std::set<int> tapsOfLastPoll;
    int cursorX = 0;
    int cursorY = 0;
    double time = 0.0;
    bool fakeFramebuffer = false;
    int framebufferWidth = 0;
    int framebufferHeight = 0;
};

}  // namespace platform
