#include "ask/ask_attempt.h"

#include "agent/console_state.h"

AskAttempt RunAskAttempt(const AskOptions& options, std::string_view reason) {
    AskAttempt attempt;
    if (options.port != 0) {
        attempt.request.port = options.port;
    }
    attempt.request.reason = CutReason(reason);
    const std::string statePath =
        options.statePath.empty() ? DefaultConsoleStatePath() : options.statePath;
    if (ResolveAskTarget(options.console, options.bind, statePath, attempt.request)) {
        attempt.result = SendAskRequest(attempt.request);
    } else {
        attempt.result.outcome = AskOutcome::noConsoleKnown;
    }
    attempt.description = DescribeAskResult(attempt.request, attempt.result);
    return attempt;
}
