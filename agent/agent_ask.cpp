#include "agent/agent_ask.h"

#include "agent/ask_request.h"

#include <ostream>

int AskForAttention(const AskSettings& settings, std::ostream& out, std::ostream& err) {
    AskRequest request;
    request.port = settings.port;
    request.connectTimeoutMs = settings.connectTimeoutMs;
    request.deliveryWaitMs = settings.deliveryWaitMs;
    if (!ResolveAskTarget(settings.console, settings.bind, settings.statePath, request)) {
        AskResult none;
        none.outcome = AskOutcome::noConsoleKnown;
        err << DescribeAskResult(request, none) << "\n";
        return 1;
    }
    request.reason = CutReason(settings.reason);
    AskResult result = SendAskRequest(request);
    if (result.outcome != AskOutcome::delivered && result.outcome != AskOutcome::waiting) {
        err << DescribeAskResult(request, result) << "\n";
        return 1;
    }
    out << DescribeAskResult(request, result) << "\n";
    if (settings.reason.empty()) {
        out << "Note: you gave no reason, so the presenter sees only this computer's name.\n";
    } else if (request.reason.size() < settings.reason.size()) {
        out << "Note: your reason is " << settings.reason.size() << " bytes long; only its first "
            << request.reason.size() << " bytes were sent (the console reads " << kMaxReasonBytes
            << "). Keep it short.\n";
    }
    return 0;
}
