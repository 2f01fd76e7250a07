#include "agent/option_words.h"

#include "platform/net.h"

#include <cstdlib>

bool ParsePortWord(const std::string& text, std::uint16_t& port) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value < 1 || value > 65535) {
        return false;
    }
    port = static_cast<std::uint16_t>(value);
    return true;
}

bool IsFourNumberAddress(const std::string& text) {
    int dots = 0;
    for (char c : text) {
        dots += c == '.';
    }
    std::uint32_t ignored = 0;
    return dots == 3 && platform::ParseIpv4(text.c_str(), ignored);
}
