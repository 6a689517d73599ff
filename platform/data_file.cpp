// Opened with O_NONBLOCK and checked with fstat on the descriptor itself, so
// that what is read is what was checked.
#include "platform/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

const char* kindOf(const struct stat& status) {
    if (S_ISREG(status.st_mode)) return nullptr;
    if (S_ISDIR(status.st_mode)) return "a directory";
    if (S_ISFIFO(status.st_mode)) return "a named pipe";
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) return "a device";
    if (S_ISSOCK(status.st_mode)) return "a socket";
    return "not a regular file";
}

}  // namespace

const char* nonRegularFileKind(const std::string& path) {
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) return nullptr;
    return kindOf(status);
}

bool fileExists(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return false;
    struct stat status;
    const bool regular = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    ::close(descriptor);
    return regular;
}

DataFile readDataFile(const std::string& path, std::size_t largest) {
    DataFile file;
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        file.errorCode = errno;
        return file;
    }
    struct stat status;
    if (::fstat(descriptor, &status) != 0) {
        file.errorCode = errno;
    } else if ((file.notAFile = kindOf(status)) == nullptr) {
        if (status.st_size < 0 || static_cast<unsigned long long>(status.st_size) > largest) {
            file.errorCode = EFBIG;
        } else {
            const std::size_t size = static_cast<std::size_t>(status.st_size);
            file.bytes.reset(new char[size > 0 ? size : 1]);
            // Up to the size the file had when it was opened, as one read of
            // a stream would give it.
            while (file.length < size) {
                const ssize_t count =
                    ::read(descriptor, file.bytes.get() + file.length, size - file.length);
                if (count < 0 && errno == EINTR) continue;
                if (count <= 0) break;  // what was read is what there is
                file.length += static_cast<std::size_t>(count);
            }
        }
    }
    ::close(descriptor);
    return file;
}

std::string readTextFile(const std::string& path) {
    // Far larger than any text the program reads; a larger file is refused,
    // not read.
    constexpr std::size_t kLargestText = std::size_t{1} << 26;
    const DataFile file = readDataFile(path, kLargestText);
    return file.failed() ? std::string() : std::string(file.bytes.get(), file.length);
}

}  // namespace platform
