#include "push/push_listener.h"

#include "push/push_prompt_text.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

namespace {

std::ostream& Diagnostics(const PushListenerSettings& settings) {
    return settings.diagnostics != nullptr ? *settings.diagnostics : std::cout;
}

// Every diagnostic line begins with a newline and ends without one; flushed at once, so that
// whoever reads standard output sees it while the listener waits.
void PrintLine(const PushListenerSettings& settings, const std::string& line) {
    Diagnostics(settings) << '\n' << line << std::flush;
}

const NodeRegistry& Registry(const PushListenerSettings& settings) {
    return settings.registry != nullptr ? *settings.registry : TheNodeRegistry();
}

} // namespace

platform::Socket OpenPushListener(const PushListenerSettings& settings) {
    platform::Socket listener = platform::CreateTcpSocket();
    if (!listener.Valid()) {
        PrintLine(settings, "Error occurred while opening socket: " +
                                std::to_string(static_cast<long>(platform::LastSocketError())) +
                                ".");
        return listener;
    }
    PrintLine(settings, "socket() successful.");
    int error = 0;
    if (!platform::Bind(listener, settings.bindAddress, settings.port, error)) {
        PrintLine(settings, "Error occurred while binding.");
        return platform::Socket();
    }
    PrintLine(settings, "bind() successful.");
    if (!platform::StartListening(listener, kPushBacklog, error)) {
        PrintLine(settings, "Error occurred while listening.");
        return platform::Socket();
    }
    PrintLine(settings, "listen() successful.");
    // Non-blocking, so that a connection the system drops between the wait and the accept
    // (Winsock does so with one reset in the queue) fails the accept instead of blocking it
    // until some later node connects. Each connection is read only after a wait.
    platform::SetNonBlocking(listener, true);
    return listener;
}

int ReceiveReason(const platform::Socket& connection, char (&reason)[kMaxReasonBytes + 1],
                  int waitMs) {
    std::memset(reason, 0, sizeof reason);
    if (platform::WaitReadable(connection, waitMs) != platform::Wait::ready) {
        return 0; // nothing within the bound: the request is served with an empty reason
    }
    int got = platform::Receive(connection, reason, kMaxReasonBytes);
    if (got <= 0) {
        std::memset(reason, 0, sizeof reason);
        return 0;
    }
    return got;
}

PushServed ServeOnePushRequest(const platform::Socket& listener,
                               const PushListenerSettings& settings) {
    std::string peer;
    platform::Socket connection = platform::Accept(listener, peer);
    if (!connection.Valid()) {
        return PushServed::acceptFailed;
    }
    PrintLine(settings, "Client connected from: " + peer);

    PushRequest request;
    std::memset(&request, 0, sizeof request);
    std::snprintf(request.peerAddress, sizeof request.peerAddress, "%s", peer.c_str());
    if (auto record = Registry(settings).FindByAddress(request.peerAddress)) {
        std::snprintf(request.nodeName, sizeof request.nodeName, "%.63s", record->name);
    }
    ReceiveReason(connection, request.reason, settings.reasonWaitMs);
    connection.Close(); // before the presenter is asked: the node is told nothing

    char prompt[kPromptBytes];
    ComposePushPrompt(request.nodeName, request.reason, prompt);
    if (settings.prompt != nullptr && settings.prompt->AskPresenter(prompt) &&
        settings.launchViewer) {
        settings.launchViewer(request.peerAddress);
    }
    return PushServed::asked;
}

void ServePushRequests(const platform::Socket& listener, const PushListenerSettings& settings) {
    for (;;) {
        bool readable = false;
        platform::Wait wait = platform::WaitReadableOrException(listener, -1, readable);
        if (wait != platform::Wait::ready) {
            PrintLine(settings, "Error occurred while executing select(): " +
                                    std::to_string(static_cast<long>(platform::LastSocketError())) +
                                    ".");
            return;
        }
        if (settings.stop != nullptr && settings.stop->load()) {
            return;
        }
        if (!readable) {
            continue; // the wait ended for the exception set only
        }
        if (ServeOnePushRequest(listener, settings) == PushServed::acceptFailed) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kAcceptRetryPauseMs));
        }
    }
}

void RunPushListener(const PushListenerSettings& settings) {
    platform::Socket listener = OpenPushListener(settings);
    if (listener.Valid()) {
        ServePushRequests(listener, settings);
    }
}

void RunPushListenerThread(const PushThreadSettings& settings) {
    bool started = platform::StartNetworking(2, 2);
    if (started) {
        WriteDayLog(settings.dayLog);
    }
    // Without the library the socket creation fails and prints its line with the code.
    RunPushListener(settings.listener);
    if (started) {
        platform::StopNetworking(); // only what this thread started: Winsock counts its users
    }
}
