// Start-up settings read from config.cfg: window size, requested context
// version, shader directory, window mode and the frame-rate title.
#pragma once

#include <string>

#include "platform/window.h"

struct AppConfig {
    int window_width = 800;
    int window_height = 600;
    int glMajorVersion = 2;
    int glMinorVersion = 1;
    std::string shaderversion = "120";
    int fullscreen = platform::GLFW_WINDOW;
    bool forwardcontextflag = true;
    bool showfps = false;
};

// The one configuration of the program, defaults until readConfig runs.
extern AppConfig appConfig;

// Reads key=value lines from `fileName` into appConfig. A missing file, an
// unknown key or a value without a number changes nothing; nothing is reported.
void readConfig(const std::string& fileName);

// The same, into a configuration of the caller's (tests use it).
void readConfigInto(const std::string& fileName, AppConfig& config);

// Applies the lines of config.cfg text already in memory to `config`, as
// readConfigInto does with the file's contents.
void readConfigText(const std::string& text, AppConfig& config);
