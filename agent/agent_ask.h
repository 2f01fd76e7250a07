// `cluma-agent ask`: a screen-push request from the command line, to the console given or the
// one that last searched this machine.
#pragma once

#include "push/push_protocol.h"

#include <cstdint>
#include <iosfwd>
#include <string>

struct AskSettings {
    std::string console;   // empty: the remembered console
    std::string bind;      // empty: the remembered local address when asking that console
    std::string statePath; // empty: the default places
    std::uint16_t port = kPushPort;
    std::string reason; // as typed; cut here to what the console reads
    int connectTimeoutMs = 3000;
    int deliveryWaitMs = 5000; // how long to wait for the console to take the request
};

// Returns the process exit code: 0 when the request reached the console, 1 when it did not.
// Messages for the student go to out (success) or err (failure).
int AskForAttention(const AskSettings& settings, std::ostream& out, std::ostream& err);
