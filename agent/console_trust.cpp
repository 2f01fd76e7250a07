#include "agent/console_trust.h"

#include <utility>

bool IsThisMachine(const std::string& peer, const std::string& local) {
    // Peers are dotted addresses as the system writes them: 127.0.0.0/8 begins with "127.".
    return peer == local || peer.rfind("127.", 0) == 0;
}

ConsoleTrust::ConsoleTrust(Settings settings, std::optional<ConsoleState> fromFile,
                           std::function<TrustClock::time_point()> now)
    : settings_(std::move(settings)), now_(std::move(now)), inFile_(std::move(fromFile)),
      trustedSeen_(now_()) {
    // A console remembered under other rules (before the pin, or from this machine) is
    // forgotten: ask must not go there.
    if (inFile_ && MayTrust(inFile_->console, inFile_->local)) {
        trusted_ = inFile_;
    }
}

bool ConsoleTrust::MayTrust(const std::string& peer, const std::string& local) const {
    if (!settings_.pinnedConsole.empty()) {
        return peer == settings_.pinnedConsole;
    }
    return settings_.servesLoopbackAlone || !IsThisMachine(peer, local);
}

ProbeVerdict ConsoleTrust::Probed(const std::string& peer, const std::string& local) {
    if (!MayTrust(peer, local)) {
        return settings_.pinnedConsole.empty() ? ProbeVerdict::thisMachine
                                               : ProbeVerdict::notPinned;
    }
    TrustClock::time_point now = now_();
    bool known = trusted_ && trusted_->console == peer;
    if (!known && trusted_ && now - trustedSeen_ < kKnownConsoleSilence) {
        return ProbeVerdict::knownStillHere;
    }
    trusted_ = ConsoleState{peer, local}; // also a known console's new address for this machine
    trustedSeen_ = now;
    return ProbeVerdict::trusted;
}

bool ConsoleTrust::WriteDue(bool force) const {
    if (trusted_ == inFile_) {
        return false;
    }
    std::chrono::seconds wait = lastAttemptFailed_ ? kFailedWriteRetry : kStateWritePeriod;
    return force || !lastAttempt_ || now_() - *lastAttempt_ >= wait;
}

void ConsoleTrust::WriteAttempted(bool written) {
    lastAttempt_ = now_();
    lastAttemptFailed_ = !written;
    if (written) {
        inFile_ = trusted_;
    }
}
