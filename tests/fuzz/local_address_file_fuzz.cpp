// The local address file as the console reads it: the probe's subnet prefix from its first
// line, and the "set ip" dialog's head of it with the four numbers its address control shows.
// The input is the file's content; its first four bytes are also an address that must come
// back unchanged through the file's format.
#include "discovery/local_address_file.h"
#include "discovery/subnet_prefix.h"
#include "fuzz_input.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// A folder of this process's own for the file, removed at exit; in memory where the system
// offers it, since each input writes the file twice.
const std::string& FilePath() {
    static const std::string* path = [] {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string folder = (base / "cluma-fuzz-XXXXXX").string();
        FUZZ_CHECK(mkdtemp(folder.data()) != nullptr);
        static std::string created = folder;
        std::atexit([] { std::filesystem::remove_all(created); });
        return new std::string(folder + "/localIp.txt");
    }();
    return *path;
}

void WriteFile(const std::string& content) {
    std::FILE* file = std::fopen(FilePath().c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(content.data(), 1, content.size(), file) == content.size());
    FUZZ_CHECK(std::fclose(file) == 0);
}

// The four numbers as the address control shows them: the text's dot-separated parts, each
// its leading digits held to 255, blank without digits.
AddressFields FieldsByParts(const std::string& text) {
    AddressFields fields;
    std::size_t start = 0;
    for (std::size_t field = 0; field < fields.size(); ++field) {
        std::size_t dot = text.find('.', start);
        std::string part =
            text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        std::size_t digits = part.find_first_not_of("0123456789");
        part = part.substr(0, digits);
        if (!part.empty()) {
            std::size_t significant = part.find_first_not_of('0');
            bool large = significant != std::string::npos && part.size() - significant > 3;
            unsigned value = large ? 256 : static_cast<unsigned>(std::stoul(part));
            fields[field] = static_cast<std::uint8_t>(value > 255 ? 255 : value);
        }
        if (dot == std::string::npos) {
            break;
        }
        start = dot + 1;
    }
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::string content = input.Rest();
    WriteFile(content);

    // The probe: the first line without its line end, cut before its last dot; nothing usable
    // from a line with a zero byte or a prefix too long for a record's address.
    const SubnetPrefixReading reading = ReadSubnetPrefixFrom(FilePath());
    std::string line = content.substr(0, content.find('\n'));
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    const std::size_t lastDot = line.rfind('.');
    const std::string prefix = lastDot == std::string::npos ? "" : line.substr(0, lastDot);
    const bool usable =
        line.find('\0') == std::string::npos && prefix.size() <= kMaxSubnetPrefixLength;
    FUZZ_CHECK(reading.usable == usable);
    FUZZ_CHECK(reading.prefix == (usable ? prefix : ""));
    if (reading.usable) {
        // Every host's address text fits a record's 31 characters.
        char address[64];
        FUZZ_CHECK(std::snprintf(address, sizeof address, "%s.%d", reading.prefix.c_str(), 256) <=
                   31);
    }

    // The dialog: at most the first 32 bytes, up to a zero byte, and the numbers in them.
    const LocalAddressReading head = ReadLocalAddressHead(FilePath());
    FUZZ_CHECK(head.status == LocalAddressFileStatus::ok);
    const std::string first = content.substr(0, std::min<std::size_t>(content.size(), 32));
    FUZZ_CHECK(head.text == first.substr(0, first.find('\0')));
    const AddressFields fields = ParseAddressFields(head.text);
    FUZZ_CHECK(fields == FieldsByParts(head.text));
    // Four numbers read back from their own dotted text are the same four numbers.
    if (fields[0] && fields[1] && fields[2] && fields[3]) {
        const PackedAddress shown = PackedAddress{*fields[0]} << 24 |
                                    PackedAddress{*fields[1]} << 16 |
                                    PackedAddress{*fields[2]} << 8 | PackedAddress{*fields[3]};
        FUZZ_CHECK(ParseAddressFields(FormatLocalAddress(shown)) == fields);
    }

    // An address in the file's own format comes back whole to the dialog, and its first three
    // numbers are the probe's subnet.
    PackedAddress address = 0;
    for (int i = 0; i < 4; ++i) {
        address = address << 8 | (i < static_cast<int>(size) ? data[i] : 0);
    }
    const std::string formatted = FormatLocalAddress(address);
    FUZZ_CHECK(formatted.size() >= 8 && formatted.size() <= 16 && formatted.back() == ' ');
    WriteFile(formatted);
    const AddressFields back = ParseAddressFields(ReadLocalAddressHead(FilePath()).text);
    for (int i = 0; i < 4; ++i) {
        FUZZ_CHECK(back[static_cast<std::size_t>(i)] ==
                   static_cast<std::uint8_t>(address >> (24 - 8 * i)));
    }
    const SubnetPrefixReading subnet = ReadSubnetPrefixFrom(FilePath());
    FUZZ_CHECK(subnet.usable);
    FUZZ_CHECK(subnet.prefix == formatted.substr(0, formatted.rfind('.')));
    return 0;
}
