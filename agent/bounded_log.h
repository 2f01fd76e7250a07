// A log file that stays small: each line is stamped with the local time and appended; when the
// file would pass its limit it becomes the ".old" file (replacing the one before) and a new file
// is begun, so the log never takes more than twice the limit. Used by the Windows service,
// which has no console to write to.
#pragma once

#include <cstddef>
#include <ostream>
#include <streambuf>
#include <string>

class BoundedLogBuffer : public std::streambuf {
public:
    BoundedLogBuffer(std::string path, std::size_t limitBytes);
    const std::string& Path() const { return path_; }
    std::string OldPath() const { return path_ + ".old"; }

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    void WriteLine();

    std::string path_;
    std::size_t limit_;
    std::string line_;
};

class BoundedLog : public std::ostream {
public:
    BoundedLog(std::string path, std::size_t limitBytes)
        : std::ostream(&buffer_), buffer_(std::move(path), limitBytes) {}

private:
    BoundedLogBuffer buffer_;
};
