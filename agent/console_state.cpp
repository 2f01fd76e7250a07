#include "agent/console_state.h"

#include "agent/state_file.h"

#include <array>
#include <cstdio>
#include <fstream>

namespace {

constexpr std::string_view kConsoleKey = "console ";
constexpr std::string_view kLocalKey = "local ";

// Four decimal numbers of 0 to 255 without leading zeros, and neither the "any" nor the
// broadcast address: what inet_ntoa writes for a real peer, and nothing else.
bool IsPeerAddress(std::string_view text) {
    std::array<int, 4> parts{};
    std::size_t at = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (at >= text.size() || text[at] != '.') {
                return false;
            }
            ++at;
        }
        std::size_t start = at;
        int value = 0;
        while (at < text.size() && at - start < 4 && text[at] >= '0' && text[at] <= '9') {
            value = value * 10 + (text[at] - '0');
            ++at;
        }
        std::size_t digits = at - start;
        if (digits == 0 || digits > 3 || value > 255 || (digits > 1 && text[start] == '0')) {
            return false;
        }
        parts[static_cast<std::size_t>(part)] = value;
    }
    bool any = parts == std::array<int, 4>{0, 0, 0, 0};
    bool broadcast = parts == std::array<int, 4>{255, 255, 255, 255};
    return at == text.size() && !any && !broadcast;
}

// Takes "key value\n" off the front of text; false unless exactly that is there.
bool TakeLine(std::string_view& text, std::string_view key, std::string& value) {
    if (text.substr(0, key.size()) != key) {
        return false;
    }
    std::size_t end = text.find('\n', key.size());
    if (end == std::string_view::npos) {
        return false; // truncated
    }
    std::string_view found = text.substr(key.size(), end - key.size());
    if (!IsPeerAddress(found)) {
        return false;
    }
    value.assign(found);
    text.remove_prefix(end + 1);
    return true;
}

} // namespace

std::string FormatConsoleState(const ConsoleState& state) {
    return std::string(kConsoleKey) + state.console + "\n" + std::string(kLocalKey) + state.local +
           "\n";
}

std::optional<ConsoleState> ParseConsoleState(std::string_view text) {
    if (text.size() > kMaxConsoleStateBytes) {
        return std::nullopt;
    }
    ConsoleState state;
    if (!TakeLine(text, kConsoleKey, state.console) || !TakeLine(text, kLocalKey, state.local) ||
        !text.empty()) {
        return std::nullopt;
    }
    return state;
}

std::optional<ConsoleState> ReadConsoleState(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    // One byte more than a valid file can hold tells an oversized file from a full one.
    char buffer[kMaxConsoleStateBytes + 1];
    in.read(buffer, sizeof buffer);
    if (in.bad()) {
        return std::nullopt;
    }
    return ParseConsoleState(std::string_view(buffer, static_cast<std::size_t>(in.gcount())));
}

bool WriteConsoleState(const std::string& path, const ConsoleState& state, std::string& error) {
    if (!IsPeerAddress(state.console) || !IsPeerAddress(state.local)) {
        error =
            "not a state to remember: console '" + state.console + "', local '" + state.local + "'";
        return false;
    }
    return ReplaceFileContents(path, FormatConsoleState(state), error);
}

bool IsDottedAddress(std::string_view text) {
    return IsPeerAddress(text);
}
