#include "agent/bounded_log.h"

#include <ctime>
#include <filesystem>
#include <fstream>

BoundedLogBuffer::BoundedLogBuffer(std::string path, std::size_t limitBytes)
    : path_(std::move(path)), limit_(limitBytes) {}

BoundedLogBuffer::int_type BoundedLogBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    char ch = traits_type::to_char_type(c);
    if (ch == '\n') {
        WriteLine();
    } else if (line_.size() < limit_ / 2) {
        line_ += ch; // a runaway line is cut rather than let past the limit
    }
    return c;
}

int BoundedLogBuffer::sync() {
    return 0; // each line is written whole as its newline arrives
}

void BoundedLogBuffer::WriteLine() {
    char stamp[32] = {};
    std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now)) {
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S ", local);
    }
    std::string text = stamp + line_ + "\n";
    line_.clear();
    std::error_code failed;
    std::uintmax_t size = std::filesystem::file_size(path_, failed);
    if (!failed && size + text.size() > limit_) {
        std::error_code ignored;
        std::filesystem::remove(OldPath(), ignored);
        std::filesystem::rename(path_, OldPath(), ignored);
    }
    // Opened per line: the service writes a few lines a day, and another program may read or
    // move the file in between. A failed write is lost: a log has nowhere to report it.
    std::ofstream(path_, std::ios::app) << text;
}
