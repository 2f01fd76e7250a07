// The agent's answer to the console's probe: its display name, sent as soon as a connection
// is accepted, then the connection is closed.
#pragma once

#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <string>

struct ServeSettings {
    std::string name;
    std::string bindAddress; // empty: all addresses
    std::uint16_t port;
    bool verbose = false; // a line on out for every probe answered
};

// Serves until stop is set. Returns the process exit code: 0 after a stop, 2 when the port
// cannot be taken. Progress and errors go to the given streams.
int ServeProbes(const ServeSettings& settings, const std::atomic<bool>& stop, std::ostream& out,
                std::ostream& err);
