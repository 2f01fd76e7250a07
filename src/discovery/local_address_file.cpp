#include "discovery/local_address_file.h"

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
    std::string content = FormatLocalAddress(address);
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return LocalAddressFileStatus::unwritable;
    }
    bool written = std::fwrite(content.data(), 1, content.size(), file.get()) == content.size();
    written = std::fflush(file.get()) == 0 && written;
    return written ? LocalAddressFileStatus::ok : LocalAddressFileStatus::unwritable;
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
