// xdotool sends its keys through the XTEST extension to the window that has
// the input focus, so the session gives its window the focus before every
// key (there is no window manager under xvfb-run to do it).
#include "e2e_session.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace interaction_test {
namespace {

namespace fs = std::filesystem;

std::string runCommand(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return output;
    char chunk[256];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) output.append(chunk, count);
    pclose(pipe);
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    return output;
}

std::string readWhole(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return "";
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

fs::path sourceRunDirectory() {
    const char* dir = std::getenv("ISLAND_RUN_DIR");
    return dir != nullptr ? fs::path(dir) : fs::path();
}

void sleepSeconds(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// Retries for a while: the server may be in the middle of a reset.
Display* openDisplay() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) return display;
        sleepSeconds(0.05);
    }
    return nullptr;
}

}  // namespace

std::string E2eSession::unavailableReason() {
    if (std::getenv("DISPLAY") == nullptr) return "no X display (run under xvfb-run)";
    if (!fs::exists(sourceRunDirectory() / "island")) return "island is not built";
    if (runCommand("command -v xdotool").empty()) return "xdotool is not installed";
    return "";
}

E2eSession::E2eSession() {
    if (std::getenv("DISPLAY") != nullptr) display = openDisplay();
    std::string pattern = (fs::temp_directory_path() / "island-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    root = pattern;
    runDir = root / "run";
    fs::create_directory(runDir);
    const fs::path source = sourceRunDirectory();
    std::error_code ignored;
    fs::copy_file(source / "island", runDir / "island", ignored);
    fs::copy_file(source / "config.cfg", runDir / "config.cfg", ignored);
    for (const char* folder : {"Shaders", "Models", "Sprites"}) {
        if (fs::exists(source / folder)) {
            fs::copy(source / folder, runDir / folder, fs::copy_options::recursive, ignored);
        }
    }
}

E2eSession::~E2eSession() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    std::error_code ignored;
    if (!root.empty()) fs::remove_all(root, ignored);
    if (display != nullptr) XCloseDisplay(display);
}

bool E2eSession::start(double timeoutSeconds) {
    if (display == nullptr) return false;
    pid = fork();
    if (pid == 0) {
        if (chdir(runDir.c_str()) != 0) _exit(126);
        const int out = open((root / "stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open((root / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execl("./island", "island", static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid < 0) return false;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline && running()) {
        const std::string ids = runCommand("xdotool search --pid " + std::to_string(pid));
        if (!ids.empty()) {
            windowId = ids.substr(0, ids.find('\n'));
            // A few frames, so that the window is mapped and the loop polls.
            sleepSeconds(0.3);
            return true;
        }
        sleepSeconds(0.05);
    }
    return false;
}

void E2eSession::holdKey(const std::string& key, double seconds) {
    runCommand("xdotool windowfocus " + windowId);
    runCommand("xdotool keydown " + key);
    sleepSeconds(seconds);
    runCommand("xdotool keyup " + key);
    sleepSeconds(0.1);  // let the program see the release
}

std::string E2eSession::windowTitle() {
    if (windowId.empty()) return "";
    return runCommand("xdotool getwindowname " + windowId);
}

bool E2eSession::waitForTitle(const std::string& title, double timeoutSeconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    do {
        if (windowTitle() == title) return true;
        sleepSeconds(0.05);
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

// WNOWAIT leaves an ended child unreaped, so waitForExit still gets its status.
bool E2eSession::running() {
    if (pid <= 0) return false;
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return false;
    return info.si_pid == 0;
}

int E2eSession::waitForExit(double timeoutSeconds) {
    if (pid <= 0) return -1;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        sleepSeconds(0.05);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
    return -1;
}

std::string E2eSession::standardOutput() const { return readWhole(root / "stdout.txt"); }

std::string E2eSession::standardError() const { return readWhole(root / "stderr.txt"); }

std::string E2eSession::readRunFile(const std::string& name) const {
    return readWhole(runDir / name);
}

}  // namespace interaction_test
