#include "ask/ask_attempt.h"

AskAttempt RunAskAttempt(const AskOptions& options, std::string_view reason) {
    AskAttempt attempt;
    if (options.port != 0) {
        attempt.request.port = options.port;
    }
    attempt.request.reason = CutReason(reason);
    // No --state: the agent's own places, as `cluma-agent ask` reads them.
    if (!ResolveAskTarget(options.console, options.bind, options.statePath, attempt.request)) {
        attempt.result.outcome = AskOutcome::noConsoleKnown;
        attempt.description = kNoConsoleKnownText;
        return attempt;
    }
    attempt.result = SendAskRequest(attempt.request);
    attempt.description = DescribeAskResult(attempt.request, attempt.result);
    return attempt;
}
