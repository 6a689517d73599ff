// The command line of island-capture: which moments of the scripted flight to
// save, at what size, where, and whether to overlay a gizmo. Parsing is kept
// apart from the GL work so that it can be tested without a display.
#pragma once

#include <string>
#include <vector>

enum class GizmoTarget { None, Cliff, Tree, Water };

struct CaptureOptions {
    // Seconds on the flight's virtual clock, ascending, each on a frame of its
    // own: a shot is taken at the frame nearest its time.
    std::vector<double> times;
    int width = 0;  // 0: the window size from config.cfg
    int height = 0;
    std::string outputDirectory = ".";
    std::string prefix = "frame";
    GizmoTarget gizmo = GizmoTarget::None;
    // Draw without the shortcuts (per-mode builds, a kept shadow map, a bound
    // position attribute), to check that they change no pixel.
    bool plain = false;
    bool help = false;
};

// Upper bounds that keep a typo from asking for hours of frames or for a
// window whose shadow map (three times the window) no driver can allocate.
constexpr double kLatestCaptureTime = 3600.0;
constexpr int kLargestCaptureSide = 4096;

// Fills `options` from the arguments after the program name. Returns false
// with a one-line `error` that names the offending argument.
bool parseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions& options,
                         std::string& error);

// The --help text.
std::string captureUsage();

// The file a shot is written to: <prefix>-<seconds>s.png, seconds in their
// shortest form ("0", "22.5").
std::string shotFileName(const std::string& prefix, double seconds);
