#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace platform {

MappedFile::MappedFile(const char* name) {
    const int descriptor = ::open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return;
    struct stat status;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0 &&
        status.st_size <= INT_MAX) {
        const size_t length = static_cast<size_t>(status.st_size);
#ifdef __EMSCRIPTEN__
        // The page's file system keeps each file in JavaScript memory, and its
        // mmap clears fresh memory before it copies the file in: one read
        // copies it once.
        auto* copy = static_cast<unsigned char*>(std::malloc(length));
        size_t got = 0;
        while (copy != nullptr && got < length) {
            const ssize_t count = ::read(descriptor, copy + got, length - got);
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) break;
            got += static_cast<size_t>(count);
        }
        if (copy != nullptr && got == length) {
            bytes = copy;
            size = length;
        } else {
            std::free(copy);
        }
#else
        void* mapped =
            ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, descriptor, 0);
        if (mapped != MAP_FAILED) {
            bytes = static_cast<const unsigned char*>(mapped);
            size = length;
        }
#endif
    }
    ::close(descriptor);
}

MappedFile::~MappedFile() {
    if (bytes == nullptr) return;
#ifdef __EMSCRIPTEN__
    std::free(const_cast<unsigned char*>(bytes));
#else
    ::munmap(const_cast<unsigned char*>(bytes), size);
#endif
}

}  // namespace platform
