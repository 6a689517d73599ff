// Shared by the interaction tests: a scratch working directory (rec.cfg is
// written to the working directory) and scripted keys, cursor and clock.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "platform/scripted_input.h"
#include "platform/window.h"

namespace interaction_test {

// Makes a fresh directory under the system's temporary directory and works in
// it for the lifetime of the object.
class ScratchDirectory {
public:
    ScratchDirectory() {
        previous = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "island-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
        path = pattern;
        std::filesystem::current_path(path);
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
        std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::filesystem::path path;

private:
    std::filesystem::path previous;
};

// Installs a ScriptedInput as the source of keys, cursor and clock.
class ScriptedInputScope {
public:
    ScriptedInputScope() { platform::setInputSource(&input); }
    ~ScriptedInputScope() { platform::setInputSource(nullptr); }
    ScriptedInputScope(const ScriptedInputScope&) = delete;
    ScriptedInputScope& operator=(const ScriptedInputScope&) = delete;

    platform::ScriptedInput input;
};

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::filesystem::path& path, const std::string& contents) {
    std::ofstream stream(path, std::ios::binary);
    stream << contents;
}

}  // namespace interaction_test

#include "app/globals.h"
#include "camera/camera.h"

namespace interaction_test {

// Puts the driver's globals and the global camera back to their start values
// (camera reset with the scripted cursor), swallowing reset's console line.
inline void resetCameraAndGlobals() {
    resetGlobals();
    camera = Camera();
    testing::internal::CaptureStdout();
    camera.reset();
    testing::internal::GetCapturedStdout();
}

}  // namespace interaction_test
