// Process control with fork and exec, the window found by its _NET_WM_PID
// with xdotool, its first frame seen in its pixels and its focus through Xlib.
#include "demo_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

// After GoogleTest, whose names Xlib's macros (None, Bool) would clash with.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace fs = std::filesystem;

DemoProcess::DemoProcess() {
    int fds[2];  // Xvfb names a free display on `fds` once it takes clients
    EXPECT_EQ(pipe(fds), 0);
    displayServer = fork();
    if (displayServer == 0) {
        dup2(open("/dev/null", O_WRONLY), 2);
        // -noreset: else the server resets whenever its last client leaves.
        execlp("Xvfb", "Xvfb", "-displayfd", std::to_string(fds[1]).c_str(), "-screen", "0",
               "1280x1024x24", "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    display = ":";
    for (char c; read(fds[0], &c, 1) == 1 && c != '\n';) display += c;
    close(fds[0]);
    EXPECT_NE(display, ":") << "Xvfb did not start";
    std::string pattern = (fs::temp_directory_path() / "island-e2e-XXXXXX").string();
    workDirectory = mkdtemp(pattern.data()) != nullptr ? pattern : "";
    const fs::path run =
        fs::absolute(std::getenv("ISLAND_RUN_DIR") ? std::getenv("ISLAND_RUN_DIR") : "run");
    fs::copy_file(run / "island", fs::path(workDirectory) / "island");
    fs::copy(run / "Shaders", fs::path(workDirectory) / "Shaders", fs::copy_options::recursive);
    for (const char* shared : {"Models", "Sprites"})
        fs::create_directory_symlink(run / shared, fs::path(workDirectory) / shared);
}

DemoProcess::~DemoProcess() {
    for (pid_t child : {pid, displayServer}) {
        if (child > 0) kill(child, child == pid ? SIGKILL : SIGTERM), waitpid(child, nullptr, 0);
    }
    std::error_code ignored;
    fs::remove_all(workDirectory, ignored);
}

void DemoProcess::start() {
    window = 0;
    pid = fork();
    if (pid != 0) return;
    if (chdir(workDirectory.c_str()) != 0) _exit(127);
    dup2(open("/dev/null", O_RDONLY), 0);
    dup2(open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    dup2(open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    setenv("DISPLAY", display.c_str(), 1);
    execl("./island", "./island", static_cast<char*>(nullptr));
    _exit(127);
}

bool DemoProcess::await(const std::string& what, const std::function<bool()>& fact,
                        double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (; !fact();
         std::this_thread::sleep_for(std::chrono::milliseconds(20))) {  // the pace of asking
        if (std::chrono::steady_clock::now() < deadline) continue;
        ADD_FAILURE() << "timed out after " << seconds << " s awaiting " << what
                      << "\nstandard output:\n"
                      << standardOutput() << "\nstandard error:\n"
                      << standardError();
        return false;
    }
    return true;
}

bool DemoProcess::awaitFirstFrame() {
    Display* x = XOpenDisplay(display.c_str());
    bool drawn = false;  // the scene is nowhere all black
    await("the window and its first frame", [&] {
        if (!running()) return true;
        if (window == 0)
            std::istringstream(xdotool("search --onlyvisible --pid " + std::to_string(pid))) >>
                window;
        XWindowAttributes a{};
        if (window == 0 || x == nullptr || !XGetWindowAttributes(x, window, &a)) return false;
        XImage* image = XGetImage(x, window, 0, 0, static_cast<unsigned>(a.width),
                                  static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
        for (int i = 0; image != nullptr && i < a.width * a.height && !drawn; i += 61)
            drawn = (XGetPixel(image, i % a.width, i / a.width) & 0xffffff) != 0;
        if (image != nullptr) XDestroyImage(image);
        size = std::to_string(a.width) + "x" + std::to_string(a.height);
        return drawn;
    });
    if (drawn) XSetInputFocus(x, window, RevertToParent, CurrentTime);
    const bool focused = drawn && await("the keyboard focus on the window", [&] {
                             Window focus = 0;
                             int revert = 0;
                             XGetInputFocus(x, &focus, &revert);
                             return focus == window;
                         });
    if (x != nullptr) XCloseDisplay(x);
    if (!running()) {
        ADD_FAILURE() << "the program ended with status " << exitStatus << "\n" << standardError();
    }
    return focused && running();
}

void DemoProcess::tapKey(const std::string& key) const { xdotool("key " + key); }

void DemoProcess::requestClose() const {
    Display* x = XOpenDisplay(display.c_str());
    XEvent close{};
    close.xclient = XClientMessageEvent{
        ClientMessage, 0, True, x, window, XInternAtom(x, "WM_PROTOCOLS", False), 32, {}};
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
    XSendEvent(x, window, False, NoEventMask, &close);
    XCloseDisplay(x);
}

bool DemoProcess::running() {
    int status = 0;
    if (pid <= 0 || waitpid(pid, &status, WNOHANG) != pid) return pid > 0;
    pid = -1;
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
}

int DemoProcess::awaitExit(double seconds) {
    const bool ended = await(
        "the program's exit", [&] { return !running(); }, seconds);
    return ended ? exitStatus : -1;
}

std::string DemoProcess::xdotool(const std::string& arguments) const {
    std::string output;
    if (FILE* pipe =
            popen(("DISPLAY=" + display + " xdotool " + arguments + " 2>/dev/null").c_str(), "r")) {
        char chunk[256];
        for (size_t count; (count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
            output.append(chunk, count);
        pclose(pipe);
    }
    return output;
}
