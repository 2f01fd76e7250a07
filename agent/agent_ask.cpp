#include "agent/agent_ask.h"

#include "platform/net.h"
#include "push/push_protocol.h"

#include <algorithm>
#include <ostream>
#include <string>

namespace {

void ExplainNotSent(const AskSettings& settings, const std::string& why, std::ostream& err) {
    err << "Your request was NOT sent: " << why << ".\n"
        << "Check that ClumaDeck is running on the presenter's PC, that " << settings.console
        << " is that PC's address, and that its firewall lets TCP port " << settings.port
        << " in; then try again.\n";
}

std::string Console(const AskSettings& settings) {
    return "the presenter's console at " + settings.console + " (port " +
           std::to_string(settings.port) + ")";
}

} // namespace

int AskForAttention(const AskSettings& settings, std::ostream& out, std::ostream& err) {
    platform::Socket socket = platform::CreateTcpSocket();
    if (!socket.Valid() || !platform::SetNonBlocking(socket, true)) {
        err << "Your request was NOT sent: this computer could not open a network connection "
               "(is its network working?). Try again in a moment.\n";
        return 1;
    }
    platform::StartConnect(socket, settings.console.c_str(), settings.port);
    if (platform::WaitWritable(socket, settings.connectTimeoutMs) != platform::Wait::ready ||
        !platform::IsConnected(socket)) {
        ExplainNotSent(settings, Console(settings) + " did not answer", err);
        return 1;
    }
    // The console reads the first 128 bytes once and drops the rest; sending more would only
    // make a long reason fail to send once the console has closed the connection.
    const int length = static_cast<int>(
        std::min<std::size_t>(settings.reason.size(), static_cast<std::size_t>(kMaxReasonBytes)));
    int sent = 0;
    while (sent < length) {
        if (platform::WaitWritable(socket, settings.connectTimeoutMs) != platform::Wait::ready) {
            break;
        }
        int now = platform::Send(socket, settings.reason.data() + sent, length - sent);
        if (now <= 0) {
            break;
        }
        sent += now;
    }
    if (sent < length) {
        ExplainNotSent(settings,
                       Console(settings) + " closed the connection before it had the "
                                           "whole request",
                       err);
        return 1;
    }
    platform::ShutdownSend(socket);
    // The console closes the connection as soon as it has read the request; while it is
    // asking about an earlier one, the request waits in its queue.
    char ignored[64];
    bool taken = platform::WaitReadable(socket, settings.deliveryWaitMs) == platform::Wait::ready &&
                 platform::Receive(socket, ignored, sizeof ignored) <= 0;
    if (taken) {
        out << "Your request was delivered to " << Console(settings) << ".\n"
            << "The presenter now sees your computer's name and your reason and decides whether "
               "to look at your screen. No answer comes back here: please wait at your seat.\n";
    } else {
        out << "Your request is waiting at " << Console(settings)
            << ": the presenter is still answering an earlier request, and yours comes right "
               "after it.\n"
            << "Please wait, and do not send it again.\n";
    }
    if (settings.reason.empty()) {
        out << "Note: you gave no reason, so the presenter sees only your computer's name.\n";
    } else if (settings.reason.size() > static_cast<std::size_t>(kMaxShownReasonBytes)) {
        out << "Note: your reason is " << settings.reason.size()
            << " bytes long; the presenter sees at most its first " << kMaxShownReasonBytes
            << " bytes (fewer when your computer's name is long). Keep it short.\n";
    }
    return 0;
}
