// The screen server's command line: cluma-screen [--port N].
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr std::uint16_t kScreenPort = 5900;

struct ScreenOptions {
    std::uint16_t port = kScreenPort;
    bool help = false;
};

// Parses the words after the program name; on a mistake, error says what is wrong and the
// options are not to be used.
ScreenOptions ParseScreenOptions(const std::vector<std::string>& words, std::string& error);

const char* ScreenUsage();
