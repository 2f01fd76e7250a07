#include "agent/agent_ask.h"

#include "platform/net.h"
#include "push/push_protocol.h"

#include <ostream>

namespace {

void ExplainUnreachable(const AskSettings& settings, const std::string& why, std::ostream& err) {
    err << "Your request was NOT sent: the presenter's console at " << settings.console << " (port "
        << settings.port << ") " << why << ".\n"
        << "Check that ClumaDeck is running on the presenter's PC and that its firewall lets "
           "TCP port "
        << settings.port << " in, then try again.\n";
}

} // namespace

int AskForAttention(const AskSettings& settings, std::ostream& out, std::ostream& err) {
    platform::Socket socket = platform::CreateTcpSocket();
    if (!socket.Valid() || !platform::SetNonBlocking(socket, true)) {
        ExplainUnreachable(settings, "could not be contacted from this machine", err);
        return 1;
    }
    platform::StartConnect(socket, settings.console.c_str(), settings.port);
    if (platform::WaitWritable(socket, settings.connectTimeoutMs) != platform::Wait::ready ||
        !platform::IsConnected(socket)) {
        ExplainUnreachable(settings, "did not answer", err);
        return 1;
    }
    int sent = 0;
    const int length = static_cast<int>(settings.reason.size());
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
        ExplainUnreachable(settings, "stopped taking the request", err);
        return 1;
    }
    platform::ShutdownSend(socket);
    if (length > kMaxReasonBytes) {
        out << "Note: the presenter sees only the first " << kMaxReasonBytes
            << " bytes of your reason.\n";
    }
    // The console closes the connection as soon as it has read the request.
    char ignored[64];
    bool taken = platform::WaitReadable(socket, settings.deliveryWaitMs) == platform::Wait::ready &&
                 platform::Receive(socket, ignored, sizeof ignored) <= 0;
    if (taken) {
        out << "Your request was delivered to the presenter at " << settings.console
            << ". Please wait: the presenter may now look at your screen.\n";
    } else {
        out << "Your request was sent to the presenter at " << settings.console
            << ". The console is busy with another request; yours will be shown after it.\n";
    }
    return 0;
}
