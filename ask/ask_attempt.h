// One request from the student's window, from start to end: where it goes (the command line's
// overrides, else what the agent remembered), the reason cut to what the console reads, the
// send with its bounded waits, and what happened in the student's words.
#pragma once

#include "agent/ask_request.h"
#include "ask/ask_options.h"

#include <string>
#include <string_view>

struct AskAttempt {
    AskRequest request; // console and bind as resolved; empty console: none was known
    AskResult result;
    std::string description;
};

AskAttempt RunAskAttempt(const AskOptions& options, std::string_view reason);

// What the window says when no console is known. The agent's own words point to its --console
// option, which a student at this window has no way to give.
inline constexpr const char* kNoConsoleKnownText =
    "Your request was NOT sent: no presenter's console has searched this computer yet, so it "
    "does not know where to send it. Check that ClumaDeck is running on the presenter's PC, "
    "wait a minute and try again; if this keeps happening, tell your technician (the ClumaDeck "
    "agent may not be running here).";
