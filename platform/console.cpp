// Console messages go through the C++ streams with std::endl, so every line
// is flushed before the next one is written to either stream.
#include "platform/console.h"

#include <iostream>

namespace platform {

void printLine(const std::string& line) { std::cout << line << std::endl; }

void printErrorLine(const std::string& line) { std::cerr << line << std::endl; }

}  // namespace platform
