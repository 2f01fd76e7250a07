#include "platform/rewritable_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

RewritableFile::RewritableFile(const std::string& path)
    : descriptor_(::open(path.c_str(), O_RDWR | O_CLOEXEC)) {}

RewritableFile::~RewritableFile() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

bool RewritableFile::IsOpen() const {
    return descriptor_ >= 0;
}

bool RewritableFile::Size(std::uint64_t& size) const {
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    size = static_cast<std::uint64_t>(status.st_size);
    return true;
}

long RewritableFile::ReadAt(std::uint64_t offset, char* buffer, std::size_t length) const {
    std::size_t done = 0;
    while (done < length) {
        ssize_t got =
            ::pread(descriptor_, buffer + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break; // the end of the file
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long>(done);
}

bool RewritableFile::WriteAt(std::uint64_t offset, const char* data, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
        ssize_t put =
            ::pwrite(descriptor_, data + done, length - done, static_cast<off_t>(offset + done));
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool RewritableFile::Flush() {
    return ::fsync(descriptor_) == 0;
}

bool RewritableFile::Truncate(std::uint64_t size) {
    return ::ftruncate(descriptor_, static_cast<off_t>(size)) == 0;
}

} // namespace platform
