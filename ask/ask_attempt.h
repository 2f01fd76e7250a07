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
