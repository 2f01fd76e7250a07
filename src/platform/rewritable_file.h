// An existing file changed in place. Nothing is made beside it, so the rights on the file
// alone are enough: the folder it lives in may refuse new files (a program folder).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class RewritableFile {
public:
    // Opens an existing file for reading and writing; never creates one. Other programs may
    // go on reading it meanwhile, but not writing.
    explicit RewritableFile(const std::string& path);
    ~RewritableFile();
    RewritableFile(const RewritableFile&) = delete;
    RewritableFile& operator=(const RewritableFile&) = delete;

    bool IsOpen() const;
    bool Size(std::uint64_t& size) const;
    // Reads up to length bytes from offset: the number read, or -1 on failure.
    long ReadAt(std::uint64_t offset, char* buffer, std::size_t length) const;
    // Writes all of data at offset; false when any of it could not be written.
    bool WriteAt(std::uint64_t offset, const char* data, std::size_t length);
    // Waits until what was written is on the disk.
    bool Flush();
    // Cuts the file to size bytes (or extends it with zero bytes).
    bool Truncate(std::uint64_t size);

private:
#if defined(_WIN32)
    void* handle_;
#else
    int descriptor_;
#endif
};

} // namespace platform
