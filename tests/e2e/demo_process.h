// Runs the real island binary as a person would: in a scratch copy of the run
// directory, on an X display of its own (a private Xvfb, so that no other
// test's window takes the focus), with keys typed through xdotool. Every wait
// is for something observable, with a generous timeout, and a wait that times
// out fails the test naming what it awaited.
#pragma once

#include <sys/types.h>

#include <functional>

#include "test_support.h"

class DemoProcess {
  public:
    // The directory holds the binary, a copy of Shaders/ to change, and
    // Models/ and Sprites/ shared with the run directory.
    DemoProcess();
    ~DemoProcess();  // kills what still runs and removes the directory
    DemoProcess(const DemoProcess&) = delete;
    DemoProcess& operator=(const DemoProcess&) = delete;

    std::string path(const std::string& relative) const { return workDirectory + "/" + relative; }
    std::string standardOutput() const { return support::readFile(path("stdout.txt")); }
    std::string standardError() const { return support::readFile(path("stderr.txt")); }

    void start();
    bool await(const std::string& what, const std::function<bool()>& fact, double seconds = 90.0);
    // The window shown with its first frame drawn, and given the keyboard focus.
    bool awaitFirstFrame();
    // Down and up at once (an xdotool key name): both usually fall between two polls.
    void tapKey(const std::string& key) const;
    void requestClose() const;  // as a window manager asks, with WM_DELETE_WINDOW
    std::string windowSize() const { return size; }  // "800x600"
    int awaitExit(double seconds = 90.0);            // the exit status, or -1 after the timeout

  private:
    bool running();
    std::string xdotool(const std::string& arguments) const;

    std::string display, workDirectory, size;
    pid_t displayServer = -1, pid = -1;
    int exitStatus = -1;
    unsigned long window = 0;
};
