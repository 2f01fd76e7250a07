#include "screen/watch_trust.h"

#include <cctype>
#include <utility>

WatchTrust::WatchTrust(std::string pinnedConsole, ReadRemembered readRemembered)
    : pinned_(std::move(pinnedConsole)), readRemembered_(std::move(readRemembered)) {}

std::string WatchTrust::TrustedConsole() const {
    if (!pinned_.empty()) {
        return IsDottedAddress(pinned_) ? pinned_ : std::string();
    }
    if (readRemembered_) {
        if (std::optional<ConsoleState> state = readRemembered_()) {
            return state->console;
        }
    }
    return std::string();
}

WatchDecision WatchTrust::Decide(std::string_view peer) const {
    WatchDecision decision;
    decision.trusted = TrustedConsole();
    std::string_view plain = PlainPeerAddress(peer);
    decision.allowed = !decision.trusted.empty() && IsDottedAddress(plain) &&
                       plain == std::string_view(decision.trusted);
    return decision;
}

std::string_view PlainPeerAddress(std::string_view peer) {
    constexpr std::string_view kMapped = "::ffff:";
    if (peer.size() > kMapped.size()) {
        bool mapped = true;
        for (std::size_t i = 0; i < kMapped.size(); ++i) {
            mapped = mapped && std::tolower(static_cast<unsigned char>(peer[i])) == kMapped[i];
        }
        if (mapped) {
            return peer.substr(kMapped.size());
        }
    }
    return peer;
}

std::string DescribeWatchDecision(std::string_view peer, const WatchDecision& decision) {
    std::string line = "cluma-screen: ";
    if (decision.allowed) {
        return line.append("the console ").append(peer).append(" is watching this screen");
    }
    line.append("refused a connection from ").append(peer).append(": ");
    if (decision.trusted.empty()) {
        return line.append("no console is known to this PC yet");
    }
    return line.append("this PC lets only its console ").append(decision.trusted).append(" watch");
}
