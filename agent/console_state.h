// What the agent remembers of the console that last searched this machine: the console's
// address and this machine's address that the search arrived on (the address the console
// knows this machine by). `serve` writes it; `ask` and ClumaAsk.exe read it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

struct ConsoleState {
    std::string console; // the prober's address, dotted IPv4
    std::string local;   // this machine's address the probe arrived on, dotted IPv4

    bool operator==(const ConsoleState&) const = default;
};

// A valid file is never longer than this ("console " and "local ", two addresses of at most
// 15 characters, two newlines: 46 bytes); anything longer is not read.
inline constexpr std::size_t kMaxConsoleStateBytes = 64;

// True for four decimal numbers of 0 to 255 without leading zeros that can name a peer (not
// 0.0.0.0, not 255.255.255.255): the only form of address the state file holds.
bool IsDottedAddress(std::string_view text);

// The file's text for a state, and the state a file's text holds: nullopt for anything but
// exactly what FormatConsoleState writes (empty, truncated, oversized or garbled text is "no
// console known", never trusted in part).
std::string FormatConsoleState(const ConsoleState& state);
std::optional<ConsoleState> ParseConsoleState(std::string_view text);

// Reads the state file; nullopt when it is missing, unreadable or not a valid state.
std::optional<ConsoleState> ReadConsoleState(const std::string& path);

// Writes the state file atomically (a temporary file beside it, then a replace), readable by
// every user of the machine, creating its folder when missing. False with error set on failure;
// the old file is then left as it was.
bool WriteConsoleState(const std::string& path, const ConsoleState& state, std::string& error);

// Where the state file is by default: %ProgramData%\ClumaDeck\agent-state.txt on Windows;
// /var/lib/cluma-agent/state when run as root on Linux, otherwise the user's state folder
// ($XDG_STATE_HOME, or ~/.local/state)/cluma-agent/state.
std::string DefaultConsoleStatePath();
