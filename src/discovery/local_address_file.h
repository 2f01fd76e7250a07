// The local address file "localIp.txt" beside the executable: the console's own IPv4
// address as dotted decimal text followed by one space, nothing else.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The address as the address control gives it: the first number in the highest byte.
using PackedAddress = std::uint32_t;

// The file's content for an address: "%u.%u.%u.%u " (8 to 16 bytes, no line end).
std::string FormatLocalAddress(PackedAddress address);

enum class LocalAddressFileStatus { ok, missing, unreadable, unwritable };

// At most the file's first 32 bytes, cut at the first zero byte, as the dialog reads it.
struct LocalAddressReading {
    LocalAddressFileStatus status = LocalAddressFileStatus::ok;
    std::string text;
};
LocalAddressReading ReadLocalAddressHead(const std::string& path);

// Replaces the whole content of the existing file with FormatLocalAddress(address), in place:
// write rights on the file suffice, none on its folder. A missing file is not created. On any
// failure (unwritable) the old content is put back as far as the file allows; the first line
// is never anything but the whole old address or the whole new one.
LocalAddressFileStatus WriteLocalAddress(const std::string& path, PackedAddress address);

// The four numbers of a dotted text as an address control shows them: fields separated by
// dots, each its leading digits (capped at 255); a field without digits is blank.
using AddressFields = std::array<std::optional<std::uint8_t>, 4>;
AddressFields ParseAddressFields(const std::string& text);
