// Runs the real island binary the way a person would: in a scratch working
// directory laid out like the run directory, on an X display of its own
// (a private Xvfb), driven with xdotool key presses and window-manager messages.
#pragma once

#include <string>
#include <sys/types.h>

class DemoProcess {
public:
    // Makes a scratch directory with the binary, Shaders/ (a copy the test may
    // change), and Models/ and Sprites/ (shared, read-only use). No config.cfg.
    DemoProcess();
    ~DemoProcess();  // kills a process still running and removes the directory
    DemoProcess(const DemoProcess&) = delete;
    DemoProcess& operator=(const DemoProcess&) = delete;

    const std::string& directory() const { return workDirectory; }
    const std::string& displayName() const { return display; }
    void writeFile(const std::string& relativePath, const std::string& text) const;
    void removePath(const std::string& relativePath) const;
    std::string readFile(const std::string& relativePath) const;

    void start();
    // The X window id of the demo's window, or 0 when none appeared in time.
    unsigned long waitForWindow(double timeoutSeconds = 20.0);
    // Holds a key (an xdotool key name such as "Escape" or "v") for a while, so
    // that a frame polls it down, then lets go and waits as long again.
    void tapKey(const std::string& key, double holdSeconds = 0.4);
    void keyDown(const std::string& key);
    void keyUp(const std::string& key);
    // Asks the window to close as a window manager does (WM_DELETE_WINDOW).
    void requestClose();
    std::string windowTitle();
    // Polls the title until it reads `title`; false when the timeout passes first.
    bool waitForTitle(const std::string& title, double timeoutSeconds = 5.0);
    bool isRunning();
    void windowSize(int* width, int* height);
    // The exit status, or -1 when the process had to be killed after the timeout.
    int waitForExit(double timeoutSeconds = 20.0);

    std::string standardOutput() const { return readFile("stdout.txt"); }
    std::string standardError() const { return readFile("stderr.txt"); }

private:
    void recordExit(int waitStatus);
    std::string xdotool(const std::string& arguments) const;

    std::string display;
    pid_t displayServerPid = -1;
    std::string workDirectory;
    int exitStatus = -1;
    pid_t pid = -1;
    unsigned long window = 0;
};

// Runs a shell command and returns what it printed on standard output.
std::string runCommand(const std::string& command);
