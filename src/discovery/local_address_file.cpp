#include "discovery/local_address_file.h"

#include "platform/file_replace.h"

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
// replace it. Opening for reading and writing changes nothing, but fails as the save would
// when the user may not write the file or another program holds it open without sharing.
bool MayBeWritten(const std::string& path) {
    using std::filesystem::perms;
    std::error_code error;
    perms permissions = std::filesystem::status(path, error).permissions();
    constexpr perms anyWrite = perms::owner_write | perms::group_write | perms::others_write;
    if (error || (permissions & anyWrite) == perms::none) {
        return false;
    }
    return File(std::fopen(path.c_str(), "r+b")) != nullptr;
}

// Writes a new file; one that cannot be written whole is removed again. A write error may
// show only when the file is closed, so the close is checked too.
bool WriteWhole(const std::string& path, const std::string& content) {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return false; // nothing was made, and whatever is in the way stays
    }
    bool written = std::fwrite(content.data(), 1, content.size(), file.get()) == content.size();
    written = std::fflush(file.get()) == 0 && written;
    written = std::fclose(file.release()) == 0 && written;
    if (!written) {
        std::remove(path.c_str());
    }
    return written;
}

// The new file takes the old one's permissions, so a replaced file stays as readable as it was.
void KeepPermissions(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(from, error);
    if (!error) {
        std::filesystem::permissions(to, status.permissions(), error);
    }
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

std::string LocalAddressSavingPath(const std::string& path) {
    return path + ".saving";
}

LocalAddressFileStatus WriteLocalAddress(const std::string& path, PackedAddress address) {
    if (!Exists(path)) {
        return LocalAddressFileStatus::missing;
    }
    if (!MayBeWritten(path)) {
        return LocalAddressFileStatus::unwritable;
    }
    // The new content goes into a file of its own beside the old one, which it then replaces
    // in one step: whatever fails on the way, the old address stays.
    std::string saving = LocalAddressSavingPath(path);
    if (!WriteWhole(saving, FormatLocalAddress(address))) {
        return LocalAddressFileStatus::unwritable;
    }
    KeepPermissions(path, saving);
    if (!platform::ReplaceFileWith(saving, path)) {
        std::remove(saving.c_str());
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
