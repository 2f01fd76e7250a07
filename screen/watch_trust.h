// Who may watch this PC's screen: the console pinned in the agent's settings, else the console
// the agent remembers in its state file. The file is read again for every new connection, so a
// console the agent learns of later is trusted without a restart of the screen server, and one
// it forgot is no longer. While neither is known, nobody may watch.
#pragma once

#include "agent/console_state.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct WatchDecision {
    bool allowed = false;
    std::string trusted; // the console trusted at this moment; empty: none known
};

class WatchTrust {
public:
    using ReadRemembered = std::function<std::optional<ConsoleState>()>;

    // pinnedConsole: the agent's Console setting (empty: not pinned); readRemembered reads the
    // agent's state file.
    WatchTrust(std::string pinnedConsole, ReadRemembered readRemembered);

    // The console trusted now; empty when none is known.
    std::string TrustedConsole() const;
    // Whether the peer (an address as the connection reports it) may watch.
    WatchDecision Decide(std::string_view peer) const;

private:
    std::string pinned_;
    ReadRemembered readRemembered_;
};

// The IPv4 address inside a peer address: an IPv4-mapped IPv6 address ("::ffff:10.0.0.5") is
// the same machine as its dotted form.
std::string_view PlainPeerAddress(std::string_view peer);

// The log line for a decision about a connection from peer.
std::string DescribeWatchDecision(std::string_view peer, const WatchDecision& decision);
