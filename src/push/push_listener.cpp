#include "push/push_listener.h"

#include "push/push_prompt_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <system_error>
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

void PrintSelectFailed(const PushListenerSettings& settings) {
    PrintLine(settings, "Error occurred while executing select(): " +
                            std::to_string(static_cast<long>(platform::LastSocketError())) + ".");
}

// The request of a connection from peer, with the node's name; the reason is read later.
PushRequest StartRequest(const std::string& peer, const PushListenerSettings& settings) {
    PushRequest request;
    std::memset(&request, 0, sizeof request);
    std::snprintf(request.peerAddress, sizeof request.peerAddress, "%s", peer.c_str());
    if (auto record = Registry(settings).FindByAddress(request.peerAddress)) {
        std::snprintf(request.nodeName, sizeof request.nodeName, "%.63s", record->name);
    }
    return request;
}

// How long a wait may last so that it ends when the earliest reason wait does; -1: no limit.
template <typename Readings> int MillisecondsUntilDue(const Readings& reading) {
    if (reading.empty()) {
        return -1;
    }
    auto due = reading.front().due;
    for (const auto& one : reading) {
        due = std::min(due, one.due);
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    due - std::chrono::steady_clock::now())
                    .count();
    return left < 0 ? 0 : static_cast<int>(left) + 1; // never wakes just before it is due
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
    if (!platform::Bind(listener, settings.bindAddress, settings.port, error,
                        platform::PortUse::exclusive)) {
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

PushRequestReader::PushRequestReader(const platform::Socket& listener,
                                     const PushListenerSettings& settings, PushRequestQueue& queue)
    : listener_(listener), settings_(settings), queue_(queue) {}

bool PushRequestReader::Turn() {
    // The listening socket is watched only while there is room to read one more.
    const bool accepting = reading_.size() < kMaxReadingPushRequests;
    std::vector<platform::SocketWatch> watches;
    for (const Reading& one : reading_) {
        watches.push_back({one.connection.Native(), false});
    }
    if (accepting) {
        watches.push_back({listener_.Native(), false});
    }
    if (platform::WaitAnyReadable(watches, MillisecondsUntilDue(reading_)) ==
        platform::Wait::failed) {
        PrintSelectFailed(settings_);
        return false;
    }
    if (Stopping()) {
        return false;
    }
    // Whatever arrived, and whatever is due with nothing, is read once and closed, and joins
    // the queue in the order the connections were accepted.
    const auto now = std::chrono::steady_clock::now();
    std::vector<Reading> still;
    for (std::size_t i = 0; i < reading_.size(); ++i) {
        Reading& one = reading_[i];
        if (!watches[i].readable && one.due > now) {
            still.push_back(std::move(one));
            continue;
        }
        ReceiveReason(one.connection, one.request.reason, 0);
        one.connection.Close(); // before the presenter is asked: the node is told nothing
        queue_.Add(one.request);
    }
    reading_ = std::move(still);
    if (accepting && watches.back().readable && AcceptWaiting() == 0 && !Stopping()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kAcceptRetryPauseMs));
    }
    return !Stopping();
}

bool PushRequestReader::Stopping() const {
    return settings_.stop != nullptr && settings_.stop->load();
}

int PushRequestReader::AcceptWaiting() {
    int accepted = 0;
    while (accepted < kMaxAcceptsPerWait && reading_.size() < kMaxReadingPushRequests &&
           !Stopping()) {
        std::string peer;
        platform::Socket connection = platform::Accept(listener_, peer);
        if (!connection.Valid()) {
            break; // none left, or one the system dropped meanwhile
        }
        ++accepted;
        PrintLine(settings_, "Client connected from: " + peer);
        // A dropped connection is closed at once, unread.
        switch (queue_.Admit(peer)) {
        case PushAdmission::sameAddress:
            PrintLine(settings_, "Request from " + peer +
                                     " dropped: one from that address is already waiting.");
            continue;
        case PushAdmission::full:
            PrintLine(settings_,
                      "Request from " + peer + " dropped: too many requests are waiting.");
            continue;
        case PushAdmission::admitted:
            break;
        }
        reading_.push_back(Reading{std::move(connection), StartRequest(peer, settings_),
                                   std::chrono::steady_clock::now() +
                                       std::chrono::milliseconds(settings_.reasonWaitMs)});
    }
    return accepted;
}

bool AskNextPushRequest(PushRequestQueue& queue, const PushListenerSettings& settings) {
    std::optional<PushRequest> request = queue.NextToAsk();
    if (!request) {
        return false;
    }
    char prompt[kPromptBytes];
    ComposePushPrompt(request->nodeName, request->reason, prompt);
    bool yes = settings.prompt != nullptr && settings.prompt->AskPresenter(prompt);
    queue.Answered(request->peerAddress); // before the launch: the node may ask again now
    if (yes && settings.launchViewer) {
        settings.launchViewer(request->peerAddress);
    }
    return true;
}

void ServePushRequests(const platform::Socket& listener, const PushListenerSettings& settings) {
    PushRequestQueue queue;
    std::thread reader;
    try {
        reader = std::thread([&] {
            PushRequestReader reading(listener, settings, queue);
            while (reading.Turn()) {
            }
            queue.Close(); // what was read is still asked
        });
    } catch (const std::system_error&) {
        PrintLine(settings, "Error occurred while starting the request reader.");
        return;
    }
    while (AskNextPushRequest(queue, settings)) {
    }
    reader.join();
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
