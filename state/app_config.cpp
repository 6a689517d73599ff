// config.cfg is read as it stands: keys and values are split at the first '='
// and compared exactly, with no trimming, so a stray blank makes a key unknown.
#include "state/app_config.h"

#include <climits>
#include <cstdlib>
#include <sstream>

#include "platform/console.h"
#include "platform/data_file.h"

AppConfig appConfig;

namespace {

// Far more than any configuration holds; a larger file is refused, not read.
constexpr std::size_t kLargestConfig = std::size_t{1} << 24;

// The "%i" conversion of scanf: optional blanks and sign, then hexadecimal
// after "0x", octal after a leading "0", decimal otherwise. Values beyond the
// range of int are clamped rather than wrapped.
bool parseScanfInteger(const std::string& text, int& result) {
    const char* begin = text.c_str();
    char* end = nullptr;
    long value = std::strtol(begin, &end, 0);
    if (end == begin) return false;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    result = static_cast<int>(value);
    return true;
}

void applySetting(const std::string& key, const std::string& value, AppConfig& config) {
    if (key == "window_width") {
        parseScanfInteger(value, config.window_width);
    } else if (key == "window_height") {
        parseScanfInteger(value, config.window_height);
    } else if (key == "glMajorVersion") {
        parseScanfInteger(value, config.glMajorVersion);
    } else if (key == "glMinorVersion") {
        parseScanfInteger(value, config.glMinorVersion);
    } else if (key == "shaderversion") {
        config.shaderversion = value;
    } else if (key == "fullscreen") {
        config.fullscreen = value == "true" ? platform::GLFW_FULLSCREEN : platform::GLFW_WINDOW;
    } else if (key == "forwardcontextflag") {
        config.forwardcontextflag = value == "true";
    } else if (key == "showfps") {
        config.showfps = value == "true";
    }
}

}  // namespace

void readConfigText(const std::string& text, AppConfig& config) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        // A line that ended in "\r\n" loses its '\r' too; a last line without
        // any line end keeps what it has.
        bool endedByNewline = !lines.eof();
        if (endedByNewline && !line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::string::size_type equals = line.find('=');
        if (equals == std::string::npos) {
            applySetting(line, line, config);
        } else {
            applySetting(line.substr(0, equals), line.substr(equals + 1), config);
        }
    }
}

// A file that cannot be opened leaves every default, as a missing one does.
// Only a regular file is read: a named pipe would hold start-up until a
// writer came, so it and the like are named on standard error and passed over.
void readConfigInto(const std::string& fileName, AppConfig& config) {
    const platform::DataFile file = platform::readDataFile(fileName, kLargestConfig);
    if (file.notAFile != nullptr) {
        platform::printErrorLine(fileName + " is " + file.notAFile +
                                 ", not a regular file; the defaults are used");
    }
    if (file.failed()) return;
    readConfigText(std::string(file.bytes.get(), file.length), config);
}

void readConfig(const std::string& fileName) { readConfigInto(fileName, appConfig); }
