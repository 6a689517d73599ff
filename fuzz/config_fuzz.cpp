// config.cfg text: every field must end as the last line for its key left it,
// an integer as sscanf's "%i" reads the value (clamped to int; a value
// without a number changes nothing), a flag true for exactly "true".
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_check.h"
#include "state/app_config.h"

namespace {

void applyReference(const std::string& key, const std::string& value, AppConfig& config) {
    int* integer = key == "window_width"     ? &config.window_width
                   : key == "window_height"  ? &config.window_height
                   : key == "glMajorVersion" ? &config.glMajorVersion
                   : key == "glMinorVersion" ? &config.glMinorVersion
                                             : nullptr;
    long number = 0;
    if (integer != nullptr && std::sscanf(value.c_str(), "%li", &number) == 1) {
        *integer = static_cast<int>(std::max<long>(INT_MIN, std::min<long>(INT_MAX, number)));
    }
    if (key == "shaderversion") config.shaderversion = value;
    if (key == "fullscreen")
        config.fullscreen = value == "true" ? platform::GLFW_FULLSCREEN : platform::GLFW_WINDOW;
    if (key == "forwardcontextflag") config.forwardcontextflag = value == "true";
    if (key == "showfps") config.showfps = value == "true";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    AppConfig config, expected;
    readConfigText(text, config);
    // Lines end at '\n', and "\r\n" too; a last line without an end keeps its '\r'.
    for (size_t start = 0; start < text.size();) {
        const size_t newline = text.find('\n', start);
        const size_t end = newline == std::string::npos ? text.size() : newline;
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (newline != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const size_t equals = line.find('=');
        applyReference(line.substr(0, equals),
                       equals == std::string::npos ? line : line.substr(equals + 1), expected);
    }
    check(config.window_width == expected.window_width &&
              config.window_height == expected.window_height &&
              config.glMajorVersion == expected.glMajorVersion &&
              config.glMinorVersion == expected.glMinorVersion,
          "integers as sscanf's %i reads them");
    check(config.shaderversion == expected.shaderversion &&
              config.fullscreen == expected.fullscreen &&
              config.forwardcontextflag == expected.forwardcontextflag &&
              config.showfps == expected.showfps,
          "the other keys as their last line left them");
    return 0;
}
