// What the viewer says about its connection, as a small state machine: the window feeds it the
// outcomes of connection attempts and its retry timer, does what it answers (start a connection,
// arm the timer) and shows Text(); each change of phase also gives one line for standard output,
// which scripts and tests can wait on.
//
// Only a connection that was up and is lost is tried again on its own, kMaxReconnects times, one
// try every kReconnectDelayMs; every other failure waits for the presenter's "Try again".
#pragma once

#include "viewer/connection_outcome.h"

#include <cstdint>
#include <string>

enum class ViewerPhase {
    noAddress,
    connecting,
    connected,
    refused,
    wrongPassword,
    unreachable,
    reconnecting, // lost, waiting for or making one of the tries on its own
    lost,         // lost, and every try on its own failed
};

inline constexpr int kMaxReconnects = 3;
inline constexpr int kReconnectDelayMs = 2000;

// What the window does after an event.
enum class StatusAction { none, connect, armRetryTimer };

class ViewerStatus {
public:
    ViewerStatus(std::string address, std::uint16_t port);

    // The first start and every "Try again": connect now (nothing without an address).
    StatusAction Start();
    StatusAction OnOutcome(ConnectionOutcome outcome);
    StatusAction OnRetryTimer();

    ViewerPhase Phase() const { return phase_; }
    bool CanTryAgain() const;
    // The text the window shows; empty while connected (the screen shows itself).
    std::string Text() const;
    // The line for standard output about the current phase; desktopName goes into the line of
    // the connected phase.
    std::string LogLine(const std::string& desktopName) const;

private:
    std::string address_;
    std::uint16_t port_;
    ViewerPhase phase_ = ViewerPhase::noAddress;
    int attempt_ = 0; // the current try on its own, 1 to kMaxReconnects
};
