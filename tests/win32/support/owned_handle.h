// A kernel handle closed when it goes out of scope.
#pragma once

#include <windows.h>

class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle = nullptr)
        : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~OwnedHandle() {
        if (handle_ != nullptr) {
            ::CloseHandle(handle_);
        }
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HANDLE handle_;
};
