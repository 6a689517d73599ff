// Console messages: one line per call, flushed at once so that lines on
// standard output and standard error keep their order on a shared terminal.
#pragma once
#include <string>

namespace platform {

void printLine(const std::string& line);       // standard output
void printErrorLine(const std::string& line);  // standard error

}  // namespace platform
