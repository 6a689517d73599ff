// Paths for a test's scratch files, unique to the process so that tests run in
// parallel never share one, and removed when the process ends (with the
// ".vert" and ".frag" files of a shader base path).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

namespace scratch {

class Registry {
public:
    ~Registry() {
        for (const std::string& path : paths)
            for (const char* suffix : {"", ".vert", ".frag"}) std::remove((path + suffix).c_str());
    }
    std::vector<std::string> paths;
};

inline std::string path(const std::string& name) {
    static Registry registry;
    std::string result = testing::TempDir() + "island_assets_" + std::to_string(getpid()) + "_" + name;
    registry.paths.push_back(result);
    return result;
}

}  // namespace scratch
