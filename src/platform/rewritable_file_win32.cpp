#include "platform/rewritable_file.h"

#include <windows.h>

namespace platform {

namespace {

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    position.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return position;
}

} // namespace

// Fails on a read-only file, on one another program holds open for writing or without
// sharing, and for a user who may not change the file.
RewritableFile::RewritableFile(const std::string& path)
    : handle_(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

RewritableFile::~RewritableFile() {
    if (IsOpen()) {
        ::CloseHandle(handle_);
    }
}

bool RewritableFile::IsOpen() const {
    return handle_ != INVALID_HANDLE_VALUE;
}

bool RewritableFile::Size(std::uint64_t& size) const {
    LARGE_INTEGER length{};
    if (!::GetFileSizeEx(handle_, &length)) {
        return false;
    }
    size = static_cast<std::uint64_t>(length.QuadPart);
    return true;
}

long RewritableFile::ReadAt(std::uint64_t offset, char* buffer, std::size_t length) const {
    std::size_t done = 0;
    while (done < length) {
        OVERLAPPED position = At(offset + done);
        DWORD got = 0;
        if (!::ReadFile(handle_, buffer + done, static_cast<DWORD>(length - done), &got,
                        &position)) {
            if (::GetLastError() == ERROR_HANDLE_EOF) {
                break;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return static_cast<long>(done);
}

bool RewritableFile::WriteAt(std::uint64_t offset, const char* data, std::size_t length) {
    std::size_t done = 0;
    while (done < length) {
        OVERLAPPED position = At(offset + done);
        DWORD put = 0;
        if (!::WriteFile(handle_, data + done, static_cast<DWORD>(length - done), &put,
                         &position) ||
            put == 0) {
            return false;
        }
        done += put;
    }
    return true;
}

bool RewritableFile::Flush() {
    return ::FlushFileBuffers(handle_) != FALSE;
}

bool RewritableFile::Truncate(std::uint64_t size) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(size);
    return ::SetFilePointerEx(handle_, position, nullptr, FILE_BEGIN) && ::SetEndOfFile(handle_);
}

} // namespace platform
