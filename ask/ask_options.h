// ClumaAsk.exe's command line. Nothing is needed: the window asks the console that last
// searched this machine. The options override what the agent remembered, for a school that
// pins its console in a shortcut and for tests that run many machines on one loopback.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct AskOptions {
    std::string console;    // the console's dotted address; empty: the remembered one
    std::string bind;       // the local address to send from; empty: the remembered one
    std::string statePath;  // the agent's state file; empty: the agent's default place
    std::uint16_t port = 0; // 0: the console's own push port
};

// Parses the words after the program name; nullopt with error set on a mistake.
std::optional<AskOptions> ParseAskOptions(const std::vector<std::string>& words,
                                          std::string& error);

// What the window shows when its command line is wrong.
const char* AskUsage();
