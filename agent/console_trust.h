// Which searching console this machine trusts as its own, for `ask`, and when that is written
// to the state file. The probe carries nothing a console could prove itself with, so an
// unpinned agent trusts by where probes come from and by what it knew before:
// - a probe from this machine itself is not a console's (a student's program on this PC could
//   otherwise make itself the console), unless the agent serves on loopback alone;
// - the known console is kept while it still searches: a newcomer replaces it only after it has
//   been silent for three rescans;
// - the state file is written at most once a minute, so that a flood of probes from changing
//   addresses cannot wear the disk; a change is never lost, only written later.
// A pinned agent trusts its pinned console alone. Time comes from an injected clock.
#pragma once

#include "agent/console_state.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

using TrustClock = std::chrono::steady_clock;

// The console rescans every 20 s, and each scan of its subnet takes about a second more: after
// three rescans' time, and a margin for a busy console, the known console is taken as gone.
inline constexpr std::chrono::seconds kRescanPeriod{20};
inline constexpr std::chrono::seconds kKnownConsoleSilence =
    3 * kRescanPeriod + std::chrono::seconds(10);
// The state file is written at most this often.
inline constexpr std::chrono::seconds kStateWritePeriod{60};
// A failed write is tried again this much later: on Windows a replace fails while a reader
// (ask, ClumaAsk) has the file open, and ask should not wait a minute for the new console; a
// file that cannot be written at all is not tried at every probe.
inline constexpr std::chrono::seconds kFailedWriteRetry{5};

// True for an address of this machine as a peer sees it: 127.0.0.0/8, or the address the
// connection arrived on.
bool IsThisMachine(const std::string& peer, const std::string& local);

enum class ProbeVerdict {
    trusted,        // the prober is (now) the console trusted
    notPinned,      // pinned to another console
    thisMachine,    // the probe came from this machine
    knownStillHere, // a newcomer while the known console still searches
};

class ConsoleTrust {
public:
    struct Settings {
        std::string pinnedConsole;        // empty: not pinned
        bool servesLoopbackAlone = false; // the agent is bound to an address in 127.0.0.0/8
    };

    // fromFile is what the state file held at start; it counts as seen now, or is forgotten
    // when these settings would not trust it now.
    ConsoleTrust(Settings settings, std::optional<ConsoleState> fromFile,
                 std::function<TrustClock::time_point()> now);

    ProbeVerdict Probed(const std::string& peer, const std::string& local);

    // The console trusted now (nullopt: none); what the state file should hold.
    const std::optional<ConsoleState>& Trusted() const { return trusted_; }
    // Whether the state file differs from Trusted() and may be written now. Force ignores the
    // rate, for a last write as the agent stops.
    bool WriteDue(bool force = false) const;
    // A write of Trusted() was attempted: written tells whether the file now holds it.
    void WriteAttempted(bool written);

private:
    bool MayTrust(const std::string& peer, const std::string& local) const;

    Settings settings_;
    std::function<TrustClock::time_point()> now_;
    std::optional<ConsoleState> trusted_;
    std::optional<ConsoleState> inFile_;
    TrustClock::time_point trustedSeen_;
    std::optional<TrustClock::time_point> lastAttempt_;
    bool lastAttemptFailed_ = false;
};
