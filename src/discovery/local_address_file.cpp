#include "discovery/local_address_file.h"

#include "platform/rewritable_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// A file marked read-only is left alone, even by a user whose rights would let the save
// change it.
bool MarkedWritable(const std::string& path) {
    using std::filesystem::perms;
    std::error_code error;
    perms permissions = std::filesystem::status(path, error).permissions();
    constexpr perms anyWrite = perms::owner_write | perms::group_write | perms::others_write;
    return !error && (permissions & anyWrite) != perms::none;
}

// Puts the old bytes back over the start of the file and cuts it to its old size: what a
// failed step changed is undone as far as the file still lets itself be written.
void Restore(platform::RewritableFile& file, const std::string& oldStart, std::uint64_t oldSize) {
    file.WriteAt(0, oldStart.data(), oldStart.size());
    file.Truncate(oldSize);
    file.Flush();
}

// Changes the file in place, so that the rights on the file alone suffice. Readers take the
// first line, and at every moment that line is the whole old address or the whole new one:
// 1. a file shorter than the new text and a line end grows, by bytes written after its end
//    (a line end first, so the old first line stays as it was), never by cutting it;
// 2. one write at the start puts the new text and a line end over the old first line;
// 3. once that is on the disk, the file is cut to the new text alone.
bool RewriteInPlace(const std::string& path, const std::string& text) {
    platform::RewritableFile file(path);
    std::uint64_t oldSize = 0;
    if (!file.IsOpen() || !file.Size(oldSize)) {
        return false;
    }
    const std::string line = text + '\n';
    std::string oldStart(static_cast<std::size_t>(std::min<std::uint64_t>(oldSize, line.size())),
                         '\0');
    if (file.ReadAt(0, oldStart.data(), oldStart.size()) != static_cast<long>(oldStart.size())) {
        return false;
    }
    if (oldSize < line.size()) {
        const std::string growth(line.size() - oldSize, '\n');
        if (!file.WriteAt(oldSize, growth.data(), growth.size())) {
            Restore(file, oldStart, oldSize);
            return false;
        }
    }
    if (!file.WriteAt(0, line.data(), line.size()) || !file.Flush() ||
        !file.Truncate(text.size()) || !file.Flush()) {
        Restore(file, oldStart, oldSize);
        return false;
    }
    return true;
}

} // namespace

std::string FormatLocalAddress(PackedAddress address) {
    char text[20];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u ", (address >> 24) & 0xFFu,
                  (address >> 16) & 0xFFu, (address >> 8) & 0xFFu, address & 0xFFu);
    return text;
}

LocalAddressReading ReadLocalAddressHead(const std::string& path) {
    LocalAddressReading reading;
    if (!Exists(path)) {
        reading.status = LocalAddressFileStatus::missing;
        return reading;
    }
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        reading.status = LocalAddressFileStatus::unreadable;
        return reading;
    }
    char head[33] = {};
    std::size_t got = std::fread(head, 1, 32, file.get());
    if (got == 0 && std::ferror(file.get())) {
        reading.status = LocalAddressFileStatus::unreadable;
        return reading;
    }
    reading.text.assign(head, strnlen(head, got));
    return reading;
}

LocalAddressFileStatus WriteLocalAddress(const std::string& path, PackedAddress address) {
    if (!Exists(path)) {
        return LocalAddressFileStatus::missing;
    }
    if (!MarkedWritable(path) || !RewriteInPlace(path, FormatLocalAddress(address))) {
        return LocalAddressFileStatus::unwritable;
    }
    return LocalAddressFileStatus::ok;
}

AddressFields ParseAddressFields(const std::string& text) {
    AddressFields fields;
    std::size_t position = 0;
    for (std::size_t field = 0; field < fields.size() && position <= text.size(); ++field) {
        unsigned value = 0;
        bool digits = false;
        while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
            value = std::min(value * 10 + static_cast<unsigned>(text[position] - '0'), 1000u);
            digits = true;
            ++position;
        }
        if (digits) {
            fields[field] = static_cast<std::uint8_t>(std::min(value, 255u));
        }
        std::size_t dot = text.find('.', position);
        if (dot == std::string::npos) {
            break;
        }
        position = dot + 1;
    }
    return fields;
}
