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

std::string DemoProcess::xdotool(const std::string& arguments) const {
    return runCommand("DISPLAY=" + display + " xdotool " + arguments + " 2>/dev/null");
}

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

// Starts a private Xvfb server and returns its display name (":N"), so that
// no other window of a parallel test can take the keyboard focus.
std::string startPrivateDisplay(pid_t* serverPid) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
    *serverPid = fork();
    if (*serverPid == 0) {
        close(fds[0]);
        int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        dup2(quiet, 2);
        const std::string fd = std::to_string(fds[1]);
        // -noreset: otherwise the server resets whenever its last client
        // leaves and refuses whoever connects meanwhile.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) throw std::runtime_error("Xvfb did not start");
    const std::string name = ":" + number;
    // The server announces its number before it is quite ready for clients.
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (Display* connection = XOpenDisplay(name.c_str())) {
            XCloseDisplay(connection);
            break;
        }
        sleepSeconds(0.05);
    }
    return name;
}

DemoProcess::DemoProcess() {
    display = startPrivateDisplay(&displayServerPid);
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
    if (displayServerPid > 0) {
        kill(displayServerPid, SIGTERM);
        waitpid(displayServerPid, nullptr, 0);
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
        setenv("DISPLAY", display.c_str(), 1);
        execl("./island", "./island", static_cast<char*>(nullptr));
        _exit(127);
    }
}

unsigned long DemoProcess::waitForWindow(double timeoutSeconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        std::istringstream ids(
            xdotool("search --onlyvisible --pid " + std::to_string(pid)));
        unsigned long id = 0;
        if (ids >> id) {
            window = id;
            xdotool("windowfocus " + std::to_string(window));
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

void DemoProcess::keyDown(const std::string& key) { xdotool("keydown " + key); }

void DemoProcess::keyUp(const std::string& key) { xdotool("keyup " + key); }

void DemoProcess::tapKey(const std::string& key, double holdSeconds) {
    keyDown(key);
    sleepSeconds(holdSeconds);
    keyUp(key);
    sleepSeconds(holdSeconds);
}

void DemoProcess::requestClose() {
    Display* connection = XOpenDisplay(display.c_str());
    if (connection == nullptr) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(connection, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection, window, False, NoEventMask, &event);
    XFlush(connection);
    XCloseDisplay(connection);
}

std::string DemoProcess::windowTitle() {
    std::string title = xdotool("getwindowname " + std::to_string(window));
    while (!title.empty() && title.back() == '\n') title.pop_back();
    return title;
}

bool DemoProcess::waitForTitle(const std::string& title, double timeoutSeconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (windowTitle() == title) return true;
        sleepSeconds(0.1);
    }
    return false;
}

bool DemoProcess::isRunning() {
    if (pid <= 0) return false;
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
        recordExit(status);
        return false;
    }
    return true;
}

void DemoProcess::windowSize(int* width, int* height) {
    *width = *height = 0;
    std::string geometry = xdotool("getwindowgeometry " + std::to_string(window));
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
