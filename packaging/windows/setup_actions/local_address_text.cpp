#include "packaging/windows/setup_actions/local_address_text.h"

#include "discovery/local_address_file.h"

std::optional<std::string> LocalAddressFileText(std::string_view property) {
    if (property.empty()) {
        return std::string();
    }
    PackedAddress address = 0;
    int fields = 0;
    std::size_t at = 0;
    while (true) {
        std::size_t digits = 0;
        unsigned value = 0;
        while (at < property.size() && property[at] >= '0' && property[at] <= '9') {
            value = value * 10 + static_cast<unsigned>(property[at] - '0');
            ++digits;
            ++at;
            if (digits > 3) {
                return std::nullopt;
            }
        }
        if (digits == 0 || value > 255) {
            return std::nullopt;
        }
        address = (address << 8) | value;
        ++fields;
        if (at == property.size()) {
            break;
        }
        if (property[at] != '.' || fields == 4) {
            return std::nullopt;
        }
        ++at;
    }
    if (fields != 4) {
        return std::nullopt;
    }
    return FormatLocalAddress(address);
}
