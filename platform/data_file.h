// Reading the data files beside the program (models, images, shaders, the
// configuration) without ever waiting: a named pipe with no writer or a
// terminal would block a plain open or read for good, and a directory opens
// and fails only at the read, with a code that says nothing of why. Each file
// is opened without blocking and looked at before anything is read from it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace platform {

// What `path` names when it is there but is not a regular file: "a directory",
// "a named pipe", "a device", "a socket"; null for a regular file and for a
// path that names nothing that can be looked at.
const char* nonRegularFileKind(const std::string& path);

// True when `path` names a regular file that opens for reading; nothing is
// read from it.
bool fileExists(const std::string& path);

struct DataFile {
    std::unique_ptr<char[]> bytes;  // not NUL-terminated; at least one byte allocated
    std::size_t length = 0;
    int errorCode = 0;               // errno of a failed open; EFBIG when too large
    const char* notAFile = nullptr;  // what the path names instead of a regular file
    bool failed() const { return errorCode != 0 || notAFile != nullptr; }
};

// The whole regular file at `path`; one larger than `largest` bytes fails
// with EFBIG and reads nothing.
DataFile readDataFile(const std::string& path, std::size_t largest);

// The whole regular file at `path`, byte for byte; "" when it cannot be read
// (callers that must tell an empty file from a missing one ask fileExists
// first).
std::string readTextFile(const std::string& path);

}  // namespace platform
