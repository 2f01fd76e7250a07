#include "agent/ask_request.h"

#include "agent/console_state.h"
#include "agent/state_file.h"
#include "platform/net.h"

#include <chrono>
#include <filesystem>

namespace {

// The newest valid state among the places the agent may have written one.
std::optional<ConsoleState> NewestState(const std::vector<std::string>& paths) {
    std::optional<ConsoleState> newest;
    std::filesystem::file_time_type newestTime{};
    for (const std::string& path : paths) {
        std::optional<ConsoleState> state = ReadConsoleState(path);
        if (!state) {
            continue;
        }
        std::error_code failed;
        std::filesystem::file_time_type written = std::filesystem::last_write_time(path, failed);
        if (!newest || (!failed && written > newestTime)) {
            newest = state;
            newestTime = failed ? newestTime : written;
        }
    }
    return newest;
}

int MillisecondsLeft(std::chrono::steady_clock::time_point until) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    until - std::chrono::steady_clock::now())
                    .count();
    return left > 0 ? static_cast<int>(left) : 0;
}

std::string ConsoleText(const AskRequest& request) {
    std::string text = "the presenter's console at " + request.console;
    if (request.port != kPushPort) {
        text += " (port " + std::to_string(request.port) + ")";
    }
    return text;
}

std::string Seconds(int milliseconds) {
    int seconds = (milliseconds + 999) / 1000;
    return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

} // namespace

bool ResolveAskTarget(const std::string& consoleOverride, const std::string& bindOverride,
                      const std::string& statePath, AskRequest& request) {
    std::vector<std::string> paths;
    if (statePath.empty()) {
        paths = ConsoleStateReadPaths();
    } else {
        paths.push_back(statePath);
    }
    std::optional<ConsoleState> state = NewestState(paths);
    request.console = !consoleOverride.empty() ? consoleOverride : state ? state->console : "";
    // The remembered local address is the one the console knows this machine by; it is only
    // worth sending from when asking that same console.
    request.bind = !bindOverride.empty()                        ? bindOverride
                   : state && state->console == request.console ? state->local
                                                                : "";
    return !request.console.empty();
}

AskResult SendAskRequest(const AskRequest& request) {
    AskResult result;
    if (request.console.empty()) {
        result.outcome = AskOutcome::noConsoleKnown;
        return result;
    }
    if (!IsDottedAddress(request.console) ||
        (!request.bind.empty() && !IsDottedAddress(request.bind))) {
        result.outcome = AskOutcome::badAddress;
        return result;
    }
    platform::Socket socket = platform::CreateTcpSocket();
    if (!socket.Valid()) {
        result.systemError = platform::LastSocketError();
        return result; // networkDown
    }
    if (!request.bind.empty() &&
        !platform::Bind(socket, request.bind.c_str(), 0, result.systemError)) {
        result.outcome = AskOutcome::bindFailed;
        return result;
    }
    if (!platform::SetNonBlocking(socket, true)) {
        result.systemError = platform::LastSocketError();
        return result; // networkDown
    }
    platform::StartConnect(socket, request.console.c_str(), request.port);
    platform::Wait connected =
        platform::FinishConnect(socket, request.connectTimeoutMs, result.systemError);
    if (connected != platform::Wait::ready) {
        result.outcome = platform::IsConnectionRefused(result.systemError)
                             ? AskOutcome::refused
                             : AskOutcome::unreachable;
        return result;
    }
    // The console reads the first 128 bytes once and drops the rest: more would only make a
    // long reason fail once the console has closed the connection.
    const std::string_view reason =
        std::string_view(request.reason).substr(0, static_cast<std::size_t>(kMaxReasonBytes));
    auto sendUntil =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(request.connectTimeoutMs);
    std::size_t sent = 0;
    while (sent < reason.size()) {
        if (platform::WaitWritable(socket, MillisecondsLeft(sendUntil)) != platform::Wait::ready) {
            break;
        }
        int now =
            platform::Send(socket, reason.data() + sent, static_cast<int>(reason.size() - sent));
        if (now <= 0) {
            result.systemError = platform::LastSocketError();
            break;
        }
        sent += static_cast<std::size_t>(now);
    }
    if (sent < reason.size()) {
        result.outcome = AskOutcome::cutOff;
        return result;
    }
    platform::ShutdownSend(socket);
    // The console closes the connection as soon as it has read the request, and then keeps it in
    // its queue until the presenter has answered the ones before it. A console that leaves the
    // connection open has not read it yet.
    char ignored[64];
    bool taken = platform::WaitReadable(socket, request.deliveryWaitMs) == platform::Wait::ready &&
                 platform::Receive(socket, ignored, sizeof ignored) <= 0;
    result.outcome = taken ? AskOutcome::delivered : AskOutcome::waiting;
    return result;
}

std::string DescribeAskResult(const AskRequest& request, const AskResult& result) {
    const std::string console = ConsoleText(request);
    const std::string notSent = "Your request was NOT sent: ";
    switch (result.outcome) {
    case AskOutcome::delivered:
        return "Your request was delivered to " + console +
               ". The presenter sees this computer's name and your reason (at once, or after "
               "the requests that came before it) and decides whether to look at your screen. "
               "No answer comes back here: please wait at your seat, and do not send it again.";
    case AskOutcome::waiting:
        return "Your request is waiting at " + console +
               ": the presenter is still answering an earlier request, and yours comes right "
               "after it. Please wait, and do not send it again.";
    case AskOutcome::noConsoleKnown:
        return notSent +
               "no presenter's console has searched this computer yet, so it does not know "
               "where to send it (is the ClumaDeck agent running here? otherwise give the "
               "presenter's address with --console ADDRESS).";
    case AskOutcome::badAddress:
        return notSent + "'" + (IsDottedAddress(request.console) ? request.bind : request.console) +
               "' is not an address such as 192.168.1.10.";
    case AskOutcome::bindFailed:
        return notSent + "this computer no longer has the address " + request.bind +
               " by which the console knows it (has its network changed?). Try again once the "
               "console has searched the room again.";
    case AskOutcome::refused:
        return notSent + "the presenter's PC at " + request.console +
               " answered, but ClumaDeck is not taking requests there (is it running?).";
    case AskOutcome::unreachable:
        return notSent + console + " did not answer within " + Seconds(request.connectTimeoutMs) +
               ". Check that ClumaDeck is running on the presenter's PC and that its firewall "
               "lets TCP port " +
               std::to_string(request.port) + " in; then try again.";
    case AskOutcome::cutOff:
        return notSent + console +
               " closed the connection before it had the whole request. Try again in a moment.";
    case AskOutcome::networkDown:
        break;
    }
    return notSent + "this computer could not open a network connection (is its network "
                     "working?). Try again in a moment.";
}
