// The stamps come from swap_stamp, preloaded; the program's own output goes
// to /dev/null so that its console lines cost it no more than at a terminal.
#include "demo_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace {

double monotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::vector<double> readStamps(const std::string& path) {
    std::vector<double> stamps;
    std::ifstream file(path);
    for (double stamp = 0.0; file >> stamp;) stamps.push_back(stamp);
    return stamps;
}

}  // namespace

double StampedRun::startUpSeconds() const { return swaps.empty() ? -1.0 : swaps[0] - launch; }

double StampedRun::medianFrameSeconds(double from, double to) const {
    std::vector<double> frames;
    for (size_t i = 1; i < swaps.size(); ++i) {
        if (swaps[i - 1] - swaps[0] >= from && swaps[i] - swaps[0] <= to)
            frames.push_back(swaps[i] - swaps[i - 1]);
    }
    if (frames.empty()) return 0.0;
    std::nth_element(frames.begin(), frames.begin() + frames.size() / 2, frames.end());
    return frames[frames.size() / 2];
}

StampedRun runStamped(const std::string& directory, const std::vector<std::string>& arguments,
                      double secondsAfterFirstFrame) {
    char pattern[] = "/tmp/island-swaps-XXXXXX";
    const int stampFile = mkstemp(pattern);
    if (stampFile >= 0) close(stampFile);
    const std::string stampPath = pattern;
    StampedRun run;
    run.launch = monotonicSeconds();
    const pid_t child = fork();
    if (child == 0) {
        setenv("ISLAND_SWAP_STAMPS", stampPath.c_str(), 1);
        setenv("LD_PRELOAD", SWAP_STAMP_LIBRARY, 1);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO), dup2(quiet, STDERR_FILENO);
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        if (chdir(directory.c_str()) == 0) execv(argv[0], argv.data());
        _exit(127);
    }
    double end = run.launch + 60.0;
    bool framed = false;
    int status = 0;
    while (child > 0 && monotonicSeconds() < end && waitpid(child, &status, WNOHANG) == 0) {
        if (!framed) {
            const std::vector<double> stamps = readStamps(stampPath);
            if (!stamps.empty()) framed = true, end = stamps[0] + secondsAfterFirstFrame;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (child > 0 && waitpid(child, &status, WNOHANG) == 0) {
        kill(child, SIGTERM);
        waitpid(child, &status, 0);
    }
    run.swaps = readStamps(stampPath);
    std::remove(stampPath.c_str());
    return run;
}

std::string outputOf(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}
