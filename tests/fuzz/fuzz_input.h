// What every fuzz target shares: taking the fuzzer's bytes apart into the pieces of one
// exchange, and a check that stops the run with a message when a property does not hold.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// Reads an input front to back; past its end every piece is empty or zero.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return position_ < size_ ? data_[position_++] : 0; }

    // At most count bytes.
    std::string Bytes(std::size_t count) {
        count = std::min(count, size_ - position_);
        std::string taken(reinterpret_cast<const char*>(data_ + position_), count);
        position_ += count;
        return taken;
    }

    std::string Rest() { return Bytes(size_ - position_); }
    bool AtEnd() const { return position_ == size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// A broken property is a crash to the fuzzer: the input is kept and the run stops.
[[noreturn]] inline void FuzzCheckFailed(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, condition);
    std::abort();
}

// For the harness's own system calls: the message also names the system's error.
[[noreturn]] inline void FuzzCallFailed(const char* file, int line, const char* call, int error) {
    std::fprintf(stderr, "%s:%d: failed: %s: %s\n", file, line, call, std::strerror(error));
    std::abort();
}

#define FUZZ_CHECK_CALL(condition)                                                                 \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            FuzzCallFailed(__FILE__, __LINE__, #condition, errno);                                 \
        }                                                                                          \
    } while (false)

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            FuzzCheckFailed(__FILE__, __LINE__, #condition);                                       \
        }                                                                                          \
    } while (false)
