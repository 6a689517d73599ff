#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace platform {

MappedFile::MappedFile(const char* name) {
    const int descriptor = ::open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return;
    struct stat status;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0 &&
        status.st_size <= INT_MAX) {
        void* mapped = ::mmap(nullptr, static_cast<size_t>(status.st_size), PROT_READ,
                              MAP_PRIVATE | MAP_POPULATE, descriptor, 0);
        if (mapped != MAP_FAILED) {
            bytes = static_cast<const unsigned char*>(mapped);
            size = static_cast<size_t>(status.st_size);
        }
    }
    ::close(descriptor);
}

MappedFile::~MappedFile() {
    if (bytes != nullptr) ::munmap(const_cast<unsigned char*>(bytes), size);
}

}  // namespace platform
