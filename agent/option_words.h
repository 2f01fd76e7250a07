// Checks of the words given after an option on the agent's and ClumaAsk's command lines.
#pragma once

#include <cstdint>
#include <string>

// A port number from 1 to 65535 written in decimal digits only.
bool ParsePortWord(const std::string& text, std::uint16_t& port);

// An IPv4 address written as four numbers: the system's parser also takes short forms such
// as "10.1", but whoever types an address on a command line means four.
bool IsFourNumberAddress(const std::string& text);
