// A regular file's bytes, mapped read-only rather than read into fresh
// memory. Only a regular file is mapped; anything else (a directory, a
// device, a pipe, opened without waiting for a writer) maps as nothing.
#pragma once

#include <cstddef>

namespace platform {

class MappedFile {
  public:
    explicit MappedFile(const char* name);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const unsigned char* bytes = nullptr;  // null when nothing is mapped
    size_t size = 0;
};

}  // namespace platform
