#include "ask/ask_options.h"

#include "platform/net.h"

#include <cstdlib>

namespace {

bool IsDottedAddress(const std::string& text) {
    // The system's parser also takes short forms such as "10.1"; a shortcut means four numbers.
    int dots = 0;
    for (char c : text) {
        dots += c == '.';
    }
    std::uint32_t ignored = 0;
    return dots == 3 && platform::ParseIpv4(text.c_str(), ignored);
}

bool ParsePort(const std::string& text, std::uint16_t& port) {
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

} // namespace

const char* AskUsage() {
    return "ClumaAsk asks the presenter's console to look at this screen. It needs no options:\n"
           "it asks the console that last searched this PC.\n"
           "\n"
           "ClumaAsk.exe [--console ADDRESS] [--bind ADDRESS] [--state FILE] [--port PORT]\n"
           "\n"
           "--console ADDRESS  ask the console at this address instead\n"
           "--bind ADDRESS     send from this address of this PC\n"
           "--state FILE       read the remembered console from FILE\n"
           "--port PORT        the console's port (default 12341)";
}

std::optional<AskOptions> ParseAskOptions(const std::vector<std::string>& words,
                                          std::string& error) {
    AskOptions options;
    error.clear();
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word != "--console" && word != "--bind" && word != "--state" && word != "--port") {
            error = "unknown option '" + word + "'";
            return std::nullopt;
        }
        if (i + 1 == words.size()) {
            error = word + " needs a value";
            return std::nullopt;
        }
        const std::string& value = words[++i];
        if (word == "--port") {
            if (!ParsePort(value, options.port)) {
                error = "--port needs a number from 1 to 65535, not '" + value + "'";
                return std::nullopt;
            }
        } else if (word == "--state") {
            if (value.empty()) {
                error = "--state needs a file name";
                return std::nullopt;
            }
            options.statePath = value;
        } else {
            if (!IsDottedAddress(value)) {
                error = word + " needs an address such as 192.168.1.10, not '" + value + "'";
                return std::nullopt;
            }
            (word == "--console" ? options.console : options.bind) = value;
        }
    }
    return options;
}
