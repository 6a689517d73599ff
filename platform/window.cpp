// GLFW 2 operations on top of GLFW 3. GLFW 3 needs a window handle for most
// calls, polls events separately from the swap and numbers a few keys
// differently; this file hides all three differences behind the GLFW 2 calls.
// It also keeps a key tapped within one poll down for one frame, which a
// polled key state alone would lose.
//
// In a web page (emscripten's GLFW 3 on a canvas) the page owns what a window
// system owns on the desktop: the canvas size follows the page, full screen
// needs a click, and the page may stand its clock still to show one moment.
#include "platform/window.h"

namespace platform {
namespace glfw2 {
// GLFW 3 defines macros with some of the same names and other values
// (GLFW_OPENGL_FORWARD_COMPAT, GLFW_OPENGL_PROFILE, ...). These aliases take
// the GLFW 2 values before glfw3.h is included; below it, the GLFW_ names
// mean GLFW 3's.
constexpr int kKeyEsc = GLFW_KEY_ESC;
constexpr int kKeyLeftShift = GLFW_KEY_LSHIFT;
constexpr int kFullscreenMode = GLFW_FULLSCREEN;
constexpr int kOpened = GLFW_OPENED;
constexpr int kVersionMajor = GLFW_OPENGL_VERSION_MAJOR;
constexpr int kVersionMinor = GLFW_OPENGL_VERSION_MINOR;
constexpr int kForwardCompat = GLFW_OPENGL_FORWARD_COMPAT;
constexpr int kProfile = GLFW_OPENGL_PROFILE;
constexpr int kCoreProfile = GLFW_OPENGL_CORE_PROFILE;
constexpr int kPress = GLFW_PRESS;
constexpr int kRelease = GLFW_RELEASE;
}  // namespace glfw2
}  // namespace platform

#include <GLFW/glfw3.h>

#include <bitset>
#include <cmath>
#include <string>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#include <emscripten/html5.h>
#endif

namespace platform {
namespace {

GLFWwindow* window = nullptr;
InputSource* inputSource = nullptr;
std::string windowTitle = "GLFW Window";  // GLFW 2's default title

// X11 window coordinates are signed 16-bit: a larger side is cut short by
// the window system, and a side of 0 or less makes GLFW fail an assertion.
constexpr int kLargestWindowSide = 32767;

int requestedMajor = 1;
int requestedMinor = 0;
bool requestForwardCompatible = false;
bool requestCoreProfile = false;

// GLFW's description of its first error since glfwInit (the cause; those
// that follow from it say less): GLFW 2 had none to give, and the program's
// messages stay GLFW 2's, but a test that gets no window says why.
std::string firstError;

void noteError(int, const char* description) {
    if (firstError.empty() && description != nullptr) firstError = description;
}

// Keys that went down during the last poll. GLFW reports only the state after
// the poll, so a key pressed and let go within one poll would otherwise never
// read as down; this set keeps it down until the next poll. Presses gather in
// pressedSinceLastPoll as they arrive: during the poll on the desktop, between
// two frames in a browser, which delivers events whenever it likes.
std::bitset<GLFW_KEY_LAST + 1> pressedDuringLastPoll;
std::bitset<GLFW_KEY_LAST + 1> pressedSinceLastPoll;

void notePress(GLFWwindow*, int key, int, int action, int) {
    if (action == GLFW_PRESS && key >= 0 && key <= GLFW_KEY_LAST) pressedSinceLastPoll.set(key);
}

#ifdef __EMSCRIPTEN__
// A page learns where the cursor is only from a pointer event over the
// canvas; until the first one, emscripten's GLFW says (0, 0) wherever the
// cursor rests, and that event would then read as a jump from (0, 0). So the
// page reports the cursor relative to where it was first seen, placed at the
// position the program read last: the event that first shows it moves
// nothing, and every later one exactly as far as the pointer went.
bool cursorSeen = false;
double firstSeenX = 0.0;  // where the cursor was first seen, less the position read before
double firstSeenY = 0.0;
int lastReadX = 0;
int lastReadY = 0;

void noteCursor(GLFWwindow*, double x, double y) {
    if (cursorSeen) return;
    cursorSeen = true;
    firstSeenX = x - lastReadX;
    firstSeenY = y - lastReadY;
}

// The page's hooks (web/page.js); each is optional.
// clang-format off
EM_JS(double, pageFixedClock, (), {
    const fixed = Module['fixedClock'];
    return typeof fixed === 'number' ? fixed : -1;
});
EM_JS(void, pageOfferFullScreen, (), {
    if (Module['offerFullScreen']) Module['offerFullScreen']();
});
// clang-format on
#endif

// GLFW 2 numbered its special keys from 256 (Esc 257, Left Shift 287);
// printable keys have the same codes in both versions.
int toGlfw3Key(int key) {
    switch (key) {
        case glfw2::kKeyEsc:
            return GLFW_KEY_ESCAPE;
        case glfw2::kKeyLeftShift:
            return GLFW_KEY_LEFT_SHIFT;
        default:
            return (key >= 32 && key < 256) ? key : GLFW_KEY_UNKNOWN;
    }
}

}  // namespace

void setInputSource(InputSource* source) { inputSource = source; }

int glfwInit() {
    firstError.clear();
    ::glfwSetErrorCallback(noteError);
    return ::glfwInit() == GLFW_TRUE ? 1 : 0;
}

void glfwTerminate() {
    ::glfwTerminate();
    window = nullptr;
}

void glfwCloseWindow() {
    if (window != nullptr) ::glfwDestroyWindow(window);
    window = nullptr;
}

void glfwOpenWindowHint(int target, int hint) {
    switch (target) {
        case glfw2::kVersionMajor:
            requestedMajor = hint;
            break;
        case glfw2::kVersionMinor:
            requestedMinor = hint;
            break;
        case glfw2::kForwardCompat:
            requestForwardCompatible = hint != 0;
            break;
        case glfw2::kProfile:
            requestCoreProfile = hint == glfw2::kCoreProfile;
            break;
        default:
            break;
    }
}

int glfwOpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                   int depthBits, int stencilBits, int mode) {
    if (window != nullptr) return 0;  // GLFW 2 has exactly one window
    if (width <= 0 || height <= 0 || width > kLargestWindowSide || height > kLargestWindowSide) {
        return 0;
    }
    ::glfwDefaultWindowHints();
    ::glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, requestedMajor);
    ::glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, requestedMinor);
    if (requestForwardCompatible) ::glfwWindowHint(GLFW_OPENGL_FORWARD_COMPAT, GLFW_TRUE);
    if (requestCoreProfile) ::glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    // A colour depth of 0 leaves the choice to the library, as in GLFW 2.
    if (redBits > 0) ::glfwWindowHint(GLFW_RED_BITS, redBits);
    if (greenBits > 0) ::glfwWindowHint(GLFW_GREEN_BITS, greenBits);
    if (blueBits > 0) ::glfwWindowHint(GLFW_BLUE_BITS, blueBits);
    if (alphaBits > 0) ::glfwWindowHint(GLFW_ALPHA_BITS, alphaBits);
    ::glfwWindowHint(GLFW_DEPTH_BITS, depthBits);
    ::glfwWindowHint(GLFW_STENCIL_BITS, stencilBits);
#ifdef __EMSCRIPTEN__
    // An opaque canvas: the frame's alpha would otherwise let the page show
    // through wherever the scene blends.
    ::glfwWindowHint(GLFW_ALPHA_BITS, 0);
#endif
    // As in GLFW 2, the hints hold for one window: the next starts from the defaults.
    requestedMajor = 1;
    requestedMinor = 0;
    requestForwardCompatible = false;
    requestCoreProfile = false;
#ifdef __EMSCRIPTEN__
    // A page may enter full screen only from a click: it offers it instead.
    if (mode == glfw2::kFullscreenMode) pageOfferFullScreen();
    GLFWmonitor* monitor = nullptr;
#else
    GLFWmonitor* monitor = mode == glfw2::kFullscreenMode ? ::glfwGetPrimaryMonitor() : nullptr;
#endif
    window = ::glfwCreateWindow(width, height, windowTitle.c_str(), monitor, nullptr);
    if (window == nullptr) return 0;
#ifdef __EMSCRIPTEN__
    ::glfwSetWindowTitle(window, windowTitle.c_str());  // the page's title is the window's
#endif
    pressedDuringLastPoll.reset();
    pressedSinceLastPoll.reset();
    ::glfwSetKeyCallback(window, notePress);
#ifdef __EMSCRIPTEN__
    ::glfwSetCursorPosCallback(window, noteCursor);
#endif
    ::glfwMakeContextCurrent(window);
    return 1;
}

int glfwGetWindowParam(int param) {
    if (param == glfw2::kOpened) return window != nullptr && !::glfwWindowShouldClose(window);
    return 0;
}

void glfwSetWindowSize(int width, int height) {
    if (window != nullptr) ::glfwSetWindowSize(window, width, height);
}

void getFramebufferSize(int* width, int* height) {
    if (inputSource != nullptr && inputSource->getFramebufferSize(width, height)) return;
    *width = 0;
    *height = 0;
    if (window == nullptr) return;
#ifdef __EMSCRIPTEN__
    // The page sizes the canvas to its box; emscripten's GLFW does not notice.
    emscripten_get_canvas_element_size("#canvas", width, height);
#else
    ::glfwGetFramebufferSize(window, width, height);
#endif
}

void glfwSwapBuffers() {
    if (inputSource != nullptr) inputSource->poll();
    if (window == nullptr) return;
    ::glfwSwapBuffers(window);
    ::glfwPollEvents();
    pressedDuringLastPoll = pressedSinceLastPoll;
    pressedSinceLastPoll.reset();
}

int glfwGetKey(int key) {
    if (inputSource != nullptr) return inputSource->getKey(key);
    if (window == nullptr) return glfw2::kRelease;
    int glfw3Key = toGlfw3Key(key);
    if (glfw3Key == GLFW_KEY_UNKNOWN) return glfw2::kRelease;
    const bool down = ::glfwGetKey(window, glfw3Key) == GLFW_PRESS;
    return down || pressedDuringLastPoll.test(glfw3Key) ? glfw2::kPress : glfw2::kRelease;
}

void glfwGetMousePos(int* x, int* y) {
    if (inputSource != nullptr) {
        inputSource->getMousePos(x, y);
        return;
    }
    double cursorX = 0.0, cursorY = 0.0;
    if (window != nullptr) ::glfwGetCursorPos(window, &cursorX, &cursorY);
#ifdef __EMSCRIPTEN__
    if (!cursorSeen) {
        *x = lastReadX;
        *y = lastReadY;
        return;
    }
    cursorX -= firstSeenX;
    cursorY -= firstSeenY;
#endif
    *x = static_cast<int>(std::floor(cursorX));
    *y = static_cast<int>(std::floor(cursorY));
#ifdef __EMSCRIPTEN__
    lastReadX = *x;
    lastReadY = *y;
#endif
}

double glfwGetTime() {
    if (inputSource != nullptr) return inputSource->getTime();
#ifdef __EMSCRIPTEN__
    const double fixed = pageFixedClock();
    if (fixed >= 0.0) return fixed;
#endif
    return ::glfwGetTime();
}

void glfwSetWindowTitle(const char* title) {
    windowTitle = title;
    if (window != nullptr) ::glfwSetWindowTitle(window, title);
}

const char* currentWindowTitle() { return windowTitle.c_str(); }

const char* windowSystemError() { return firstError.c_str(); }

#ifdef __EMSCRIPTEN__
double pageHeldClock() { return pageFixedClock(); }
#endif

}  // namespace platform
