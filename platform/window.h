// The window layer: the GLFW 2 operations the program uses (one window, polled
// keys and cursor, a clock, the title), implemented on GLFW 3. Nothing outside
// platform/ includes GLFW. Keys, cursor and clock can be replaced by an
// InputSource so that tests and tools can script them without a person.
#pragma once

namespace platform {

// GLFW 2 constants the program uses, with their GLFW 2 values.
constexpr int GLFW_PRESS = 1;
constexpr int GLFW_RELEASE = 0;
constexpr int GLFW_KEY_SPACE = 32;
constexpr int GLFW_KEY_ESC = 257;
constexpr int GLFW_KEY_LSHIFT = 287;
constexpr int GLFW_WINDOW = 0x00010001;
constexpr int GLFW_FULLSCREEN = 0x00010002;
constexpr int GLFW_OPENED = 0x00020001;
constexpr int GLFW_OPENGL_VERSION_MAJOR = 0x00020014;
constexpr int GLFW_OPENGL_VERSION_MINOR = 0x00020015;
constexpr int GLFW_OPENGL_FORWARD_COMPAT = 0x00020016;
constexpr int GLFW_OPENGL_PROFILE = 0x00020018;
constexpr int GLFW_OPENGL_CORE_PROFILE = 0x00050001;

// Where key states, the cursor and the clock come from. By default they come
// from the open window and GLFW's timer; a source installed with
// setInputSource replaces all three.
class InputSource {
  public:
    virtual ~InputSource() = default;
    virtual int getKey(int key) = 0;  // GLFW 2 key code; GLFW_PRESS while held
    virtual void getMousePos(int* x, int* y) = 0;
    virtual double getTime() = 0;
    // Called by every glfwSwapBuffers, where the window polls its events.
    virtual void poll() {}
    // Fills in a stand-in framebuffer size and returns true; by default the
    // window's own framebuffer is measured.
    virtual bool getFramebufferSize(int* /*width*/, int* /*height*/) { return false; }
};

// Installs `source` (not owned); nullptr goes back to the window's own input.
void setInputSource(InputSource* source);

int glfwInit();
void glfwTerminate();
// Closes the window and its context and keeps the library, with its
// connection to the window system, for the next window (GLFW 2's call).
void glfwCloseWindow();
void glfwOpenWindowHint(int target, int hint);
// Returns 1 when the window exists and its context is current; 0 for a size
// the window system cannot give (a side of 0 or less, or too large).
int glfwOpenWindow(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                   int depthBits, int stencilBits, int mode);
int glfwGetWindowParam(int param);
void glfwSetWindowSize(int width, int height);
// The window's framebuffer in pixels, which on a scaled desktop is not the
// window's size; 0 × 0 while it is minimised or when no window is open.
void getFramebufferSize(int* width, int* height);
// Swaps the buffers and polls the window system: the only place events are read.
void glfwSwapBuffers();
// GLFW_PRESS for a key that is down, or that went down during the last poll:
// a key pressed and let go again between two polls reads as pressed until the
// next poll, so a short tap is seen by exactly one frame. Every read between
// two polls gives the same answer.
int glfwGetKey(int key);
void glfwGetMousePos(int* x, int* y);
double glfwGetTime();
void glfwSetWindowTitle(const char* title);

// The title last set (GLFW 3 cannot read it back); for tests and tools.
const char* currentWindowTitle();
// GLFW's description of its first error since glfwInit ("" if none), for
// tests and tools that must say why no window opened.
const char* windowSystemError();

#ifdef __EMSCRIPTEN__
// The moment in seconds at which the page holds the program's clock still,
// or a negative number while the clock runs.
double pageHeldClock();
#endif

}  // namespace platform
