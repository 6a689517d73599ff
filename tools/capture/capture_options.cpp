// Argument parsing for island-capture. Every message names the argument it is
// about and what was expected, in one line.
#include "capture_options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <sstream>

#include "frame/virtual_flight.h"

namespace {

// A whole string as a finite decimal number; false for anything else.
bool parseNumber(const std::string& text, double& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(value);
}

bool parseInteger(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9) return false;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    value = std::stoi(text);
    return true;
}

bool parseTimes(const std::string& list, std::vector<double>& times, std::string& error) {
    times.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        const std::string item = list.substr(start, comma - start);
        double seconds = 0.0;
        if (!parseNumber(item, seconds)) {
            error = "--at: '" + item + "' is not a time in seconds (expected e.g. 0,5,22.5)";
            return false;
        }
        if (seconds < 0.0 || seconds > kLatestCaptureTime) {
            std::ostringstream message;
            message << "--at: time " << item << " is outside 0.." << kLatestCaptureTime
                    << " seconds";
            error = message.str();
            return false;
        }
        times.push_back(seconds);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    std::sort(times.begin(), times.end());
    for (std::size_t i = 1; i < times.size(); ++i) {
        if (flightFrameOfTime(times[i]) == flightFrameOfTime(times[i - 1])) {
            std::ostringstream message;
            message << "--at: times " << times[i - 1] << " and " << times[i]
                    << " fall on the same frame (1/" << kFlightFramesPerSecond
                    << " s apart at least)";
            error = message.str();
            return false;
        }
    }
    return true;
}

bool parseSize(const std::string& text, int& width, int& height, std::string& error) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos || !parseInteger(text.substr(0, x), width) ||
        !parseInteger(text.substr(x + 1), height)) {
        error = "--size: expected WIDTHxHEIGHT such as 800x600, got '" + text + "'";
        return false;
    }
    if (width < 1 || height < 1 || width > kLargestCaptureSide || height > kLargestCaptureSide) {
        error = "--size: width and height must be 1.." + std::to_string(kLargestCaptureSide) +
                ", got '" + text + "'";
        return false;
    }
    return true;
}

bool parseGizmo(const std::string& text, GizmoTarget& target, std::string& error) {
    if (text == "none")
        target = GizmoTarget::None;
    else if (text == "cliff")
        target = GizmoTarget::Cliff;
    else if (text == "tree")
        target = GizmoTarget::Tree;
    else if (text == "water")
        target = GizmoTarget::Water;
    else {
        error = "--gizmo: expected cliff, tree, water or none, got '" + text + "'";
        return false;
    }
    return true;
}

bool parsePrefix(const std::string& text, std::string& prefix, std::string& error) {
    if (text.empty() || text.find('/') != std::string::npos) {
        error = "--prefix: expected a file name without '/', got '" + text + "'";
        return false;
    }
    prefix = text;
    return true;
}

}  // namespace

bool parseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions& options,
                         std::string& error) {
    options = CaptureOptions();
    // Asking for help is never an error, whatever else is on the line.
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            return true;
        }
    }
    bool haveTimes = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (name == "--plain") {  // a switch: it takes no value
            options.plain = true;
            continue;
        }
        // Both "--size 800x600" and "--size=800x600".
        std::string value;
        bool haveValue = false;
        const std::size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            haveValue = true;
        }
        const bool known = name == "--at" || name == "--size" || name == "--out" ||
                           name == "--gizmo" || name == "--prefix";
        if (!known) {
            error = "unknown argument '" + arguments[i] + "' (see --help)";
            return false;
        }
        if (!haveValue) {
            if (i + 1 >= arguments.size()) {
                error = name + ": missing value (see --help)";
                return false;
            }
            value = arguments[++i];
        }
        bool good = true;
        if (name == "--at") {
            good = parseTimes(value, options.times, error);
            haveTimes = true;
        } else if (name == "--size") {
            good = parseSize(value, options.width, options.height, error);
        } else if (name == "--out") {
            if (value.empty()) {
                error = "--out: expected a directory, got ''";
                good = false;
            }
            options.outputDirectory = value;
        } else if (name == "--gizmo") {
            good = parseGizmo(value, options.gizmo, error);
        } else {
            good = parsePrefix(value, options.prefix, error);
        }
        if (!good) return false;
    }
    if (!haveTimes) {
        error = "--at: required; say which moments to capture, e.g. --at 0,5,22.5 (see --help)";
        return false;
    }
    return true;
}

std::string captureUsage() {
    return "Usage: island-capture --at T1,T2,... [--size WxH] [--out DIR] [--prefix NAME]\n"
           "                      [--gizmo cliff|tree|water|none] [--plain]\n"
           "Renders the island's scripted flight on a virtual clock at 60 frames per second\n"
           "and saves the frames at the given times (seconds from start) as PNG files\n"
           "DIR/NAME-Ts.png. Run it from the run directory (config.cfg, Shaders/, Models/,\n"
           "Sprites/); under Xvfb it needs no screen. The same times give the same images.\n"
           "  --at T1,T2,...   moments to save, in seconds (0.." +
           std::to_string(static_cast<int>(kLatestCaptureTime)) +
           "), each on its own frame\n"
           "  --size WxH       window and image size (default: config.cfg's window size)\n"
           "  --out DIR        directory for the images, created if missing (default: .)\n"
           "  --prefix NAME    file name prefix (default: frame)\n"
           "  --gizmo OBJECT   draw the tangent frames of cliff, tree or water (default: none)\n"
           "  --plain          draw the plain way: one program per source pair with the\n"
           "                   mode as a uniform, the shadow map drawn every frame and no\n"
           "                   attribute location bound (the pictures must not change)\n"
           "  --help           this text\n";
}

std::string shotFileName(const std::string& prefix, double seconds) {
    std::ostringstream name;
    // Ten significant digits keep two different frames apart in any name.
    name << prefix << '-' << std::setprecision(10) << seconds << "s.png";
    return name.str();
}
