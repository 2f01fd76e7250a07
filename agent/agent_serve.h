// The agent's answer to the console's probe: its display name, sent as soon as a connection
// is accepted, then the connection is closed. The prober may be remembered as this machine's
// console, for `ask`, as ConsoleTrust decides.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

struct ServeSettings {
    std::string name;
    std::string bindAddress; // empty: all addresses
    std::uint16_t port = 0;
    bool verbose = false;              // a line on out for every probe answered
    std::string statePath;             // where the console is remembered; empty: nowhere
    std::string pinnedConsole;         // when set, only this console is remembered
    std::function<void()> onListening; // called once the port is taken, before the first wait
    // The clock the console's trust and the state file's rate go by; empty: the steady clock.
    std::function<std::chrono::steady_clock::time_point()> clock;
    int bindRetryMs = 5000; // how often an address not (yet) on this machine is tried again
};

// Serves until stop is set. Returns the process exit code: 0 after a stop, 2 when the port
// cannot be taken (in use, for example); an address not on this machine is waited for. Progress and
// errors go to the given streams.
int ServeProbes(const ServeSettings& settings, const std::atomic<bool>& stop, std::ostream& out,
                std::ostream& err);
