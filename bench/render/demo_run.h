// Runs a program as a user starts it (the demo binary, or a floor program to
// compare it with) with its buffer swaps stamped, and reads start-up and
// frame times off the stamps.
#pragma once

#include <string>
#include <vector>

struct StampedRun {
    double launch = 0.0;            // monotonic seconds, just before the program starts
    std::vector<double> swaps;      // monotonic seconds of each swap
    double startUpSeconds() const;  // launch to the first swap; < 0 without one
    // The median time between swaps from `from` to `to` seconds after the
    // first swap; 0 without such frames.
    double medianFrameSeconds(double from, double to) const;
};

// Starts `arguments` (the program first) in `directory` and lets it run until
// `secondsAfterFirstFrame` after its first swap (or until it ends, or 60 s
// pass without a frame), then stops it with SIGTERM.
StampedRun runStamped(const std::string& directory, const std::vector<std::string>& arguments,
                      double secondsAfterFirstFrame);

// Everything a command printed on standard output (run through the shell).
std::string outputOf(const std::string& command);
