// The node agent's command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class AgentMode { help, serve, ask, serviceInstall, serviceRemove, serviceRun };

struct AgentOptions {
    AgentMode mode = AgentMode::help;
    std::string name; // serve, service install: display name sent to every probe
    bool nameGiven = false;
    bool verbose = false;    // serve: one line per answered probe
    std::string bindAddress; // serve: empty for all addresses; ask: the address to send from
    std::string console;     // ask: the console's address; serve: the only console remembered
    std::string statePath;   // serve, ask: the state file instead of the default one
    std::string reason;      // ask: the words after the options, joined by spaces
    std::uint16_t port = 0;  // 0: the protocol's own port
};

// Parses the words after the program name. On a mistake, error says what is wrong and the
// options are not to be used.
AgentOptions ParseAgentOptions(const std::vector<std::string>& words, std::string& error);

// The --help text.
const char* AgentUsage();
