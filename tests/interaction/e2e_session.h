// Runs the real island binary in a scratch working directory on the X display
// of the test (xvfb-run) and drives it with xdotool: start it, wait for its
// window, hold keys, read the title, and collect its output and exit status.
#pragma once

#include <sys/types.h>

#include <X11/Xlib.h>

#include <filesystem>
#include <string>

namespace interaction_test {

class E2eSession {
public:
    // Copies island, config.cfg and the data folders of ISLAND_RUN_DIR into a
    // fresh directory under the system's temporary directory.
    E2eSession();
    // Kills the program if it still runs and removes the directory.
    ~E2eSession();
    E2eSession(const E2eSession&) = delete;
    E2eSession& operator=(const E2eSession&) = delete;

    // Empty when a session can run here; otherwise why not (no display, no binary).
    static std::string unavailableReason();

    // Starts the program and waits up to `timeoutSeconds` for its window.
    bool start(double timeoutSeconds = 10.0);
    // Holds `key` (an xdotool key name) for `seconds`: long enough for a
    // polled key to be seen in at least one frame.
    void holdKey(const std::string& key, double seconds = 0.3);
    // The window's title, or "" when it cannot be read.
    std::string windowTitle();
    // Polls the title until it equals `title` or `timeoutSeconds` pass.
    bool waitForTitle(const std::string& title, double timeoutSeconds = 5.0);
    // Waits for the program to end; kills it after `timeoutSeconds`. Returns
    // its exit status, or -1 when it had to be killed or ended by a signal.
    int waitForExit(double timeoutSeconds = 10.0);
    bool running();

    std::string standardOutput() const;
    std::string standardError() const;
    // A file of the program's working directory, "" when it does not exist.
    std::string readRunFile(const std::string& name) const;

    const std::filesystem::path& runDirectory() const { return runDir; }

private:
    // Held open for the whole session: Xvfb resets itself whenever its last
    // client leaves, and a client that connects during the reset is refused.
    Display* display = nullptr;
    std::filesystem::path root;    // scratch directory
    std::filesystem::path runDir;  // the program's working directory, inside root
    pid_t pid = -1;
    std::string windowId;
};

}  // namespace interaction_test
