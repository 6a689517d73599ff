// Process control with fork/exec, window lookup through the window's
// _NET_WM_PID with xdotool, and the close request sent with Xlib directly
// (Debian's xdotool has no windowclose).
#include "demo_process.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string runDirectory() {
    const char* directory = std::getenv("ISLAND_RUN_DIR");
    if (directory == nullptr) throw std::runtime_error("ISLAND_RUN_DIR is not set");
    return directory;
}

void sleepSeconds(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

}  // namespace

std::string runCommand(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char chunk[256];
    std::size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) output.append(chunk, count);
    pclose(pipe);
    return output;
}

DemoProcess::DemoProcess() {
    std::string pattern = (fs::temp_directory_path() / "island-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    workDirectory = pattern;
    const fs::path run = runDirectory();
    fs::copy_file(run / "island", fs::path(workDirectory) / "island");
    fs::copy(run / "Shaders", fs::path(workDirectory) / "Shaders", fs::copy_options::recursive);
    for (const char* shared : {"Models", "Sprites"}) {
        if (fs::exists(run / shared)) {
            fs::create_directory_symlink(run / shared, fs::path(workDirectory) / shared);
        }
    }
}

DemoProcess::~DemoProcess() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    std::error_code ignored;
    fs::permissions(workDirectory, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(workDirectory, ignored);
}

void DemoProcess::writeFile(const std::string& relativePath, const std::string& text) const {
    std::ofstream file(fs::path(workDirectory) / relativePath, std::ios::binary);
    file << text;
}

void DemoProcess::removePath(const std::string& relativePath) const {
    fs::remove_all(fs::path(workDirectory) / relativePath);
}

std::string DemoProcess::readFile(const std::string& relativePath) const {
    std::ifstream file(fs::path(workDirectory) / relativePath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void DemoProcess::start() {
    const std::string out = workDirectory + "/stdout.txt";
    const std::string err = workDirectory + "/stderr.txt";
    pid = fork();
    if (pid == 0) {
        if (chdir(workDirectory.c_str()) != 0) _exit(127);
        int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int inFd = open("/dev/null", O_RDONLY);
        dup2(inFd, 0);
        dup2(outFd, 1);
        dup2(errFd, 2);
        execl("./island", "./island", static_cast<char*>(nullptr));
        _exit(127);
    }
}

unsigned long DemoProcess::waitForWindow(double timeoutSeconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        std::istringstream ids(
            runCommand("xdotool search --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null"));
        unsigned long id = 0;
        if (ids >> id) {
            window = id;
            runCommand("xdotool windowfocus " + std::to_string(window) + " 2>/dev/null");
            sleepSeconds(0.3);  // let the first frames run
            return window;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            recordExit(status);
            return 0;
        }
        sleepSeconds(0.1);
    }
    return 0;
}

void DemoProcess::keyDown(const std::string& key) { runCommand("xdotool keydown " + key); }

void DemoProcess::keyUp(const std::string& key) { runCommand("xdotool keyup " + key); }

void DemoProcess::tapKey(const std::string& key, double holdSeconds) {
    keyDown(key);
    sleepSeconds(holdSeconds);
    keyUp(key);
    sleepSeconds(holdSeconds);
}

void DemoProcess::requestClose() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
}

std::string DemoProcess::windowTitle() {
    std::string title = runCommand("xdotool getwindowname " + std::to_string(window));
    while (!title.empty() && title.back() == '\n') title.pop_back();
    return title;
}

void DemoProcess::windowSize(int* width, int* height) {
    *width = *height = 0;
    std::string geometry = runCommand("xdotool getwindowgeometry " + std::to_string(window));
    std::size_t at = geometry.find("Geometry: ");
    if (at != std::string::npos) {
        std::sscanf(geometry.c_str() + at, "Geometry: %dx%d", width, height);
    }
}

void DemoProcess::recordExit(int status) {
    pid = -1;
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int DemoProcess::waitForExit(double timeoutSeconds) {
    if (pid <= 0) return exitStatus;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            recordExit(status);
            return exitStatus;
        }
        sleepSeconds(0.05);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
    return -1;
}
