// A screen-push request: connect to the console, send the reason, wait to see it read.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

struct AskSettings {
    std::string console;
    std::uint16_t port;
    std::string reason;
    int connectTimeoutMs = 3000;
    int deliveryWaitMs = 5000; // how long to wait for the console to take the request
};

// Returns the process exit code: 0 when the request reached the console, 1 when it did not.
// Messages for the student go to out (success) or err (failure).
int AskForAttention(const AskSettings& settings, std::ostream& out, std::ostream& err);
