// `cluma-agent service install|remove|run`: the agent under the Windows service manager.
#pragma once

#include "agent/agent_options.h"

#include <iosfwd>

// Name and settings shared with the Windows Installer package, which installs the same service.
inline constexpr const char* kServiceName = "ClumaDeckAgent";
inline constexpr const char* kServiceDisplayName = "ClumaDeck agent";
inline constexpr const char* kServiceParametersKey =
    "SYSTEM\\CurrentControlSet\\Services\\ClumaDeckAgent\\Parameters";

// Runs one service command; returns the process exit code.
int RunServiceCommand(const AgentOptions& options, std::ostream& out, std::ostream& err);
