// An in-process node agent on a loopback address, with the misbehaviours tests need.
#pragma once

#include "platform/net.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct FakeAgentBehaviour {
    std::string name;       // sent after delayMs; nothing is sent when empty
    int delayMs = 0;        // wait after accepting before the first part
    std::string secondPart; // sent gapMs after the name, when not empty
    int gapMs = 0;
};

// The agent's answer: name after delayMs, then optionally secondPart after gapMs more.
inline FakeAgentBehaviour Answers(std::string name, int delayMs = 0, std::string secondPart = "",
                                  int gapMs = 0) {
    FakeAgentBehaviour behaviour;
    behaviour.name = std::move(name);
    behaviour.delayMs = delayMs;
    behaviour.secondPart = std::move(secondPart);
    behaviour.gapMs = gapMs;
    return behaviour;
}

class FakeAgent {
public:
    // Listens on address:port; Ok() tells whether the port could be taken.
    FakeAgent(const char* address, std::uint16_t port, FakeAgentBehaviour behaviour);
    ~FakeAgent();
    FakeAgent(const FakeAgent&) = delete;
    FakeAgent& operator=(const FakeAgent&) = delete;

    bool Ok() const { return listener_.Valid(); }
    int Connections() const { return connections_.load(); }
    // Bytes the prober sent on any connection: the console must send none.
    std::size_t BytesReceived() const { return bytesReceived_.load(); }
    // Waits until every accepted connection has been closed by the prober.
    bool WaitUntilAllClosed(int timeoutMs);

private:
    void AcceptLoop();
    void Serve(platform::Socket connection);

    FakeAgentBehaviour behaviour_;
    platform::Socket listener_;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::atomic<std::size_t> bytesReceived_{0};
    std::mutex lock_;
    std::condition_variable closed_;
    int open_ = 0;
    std::vector<std::thread> servers_;
    std::thread acceptor_;
};

// A port that was free a moment ago on 127.0.0.1, so that tests need not use the product's.
std::uint16_t PickFreePort();

// Waits for a condition with a bound; true when it held in time.
template <typename Condition> bool WaitFor(Condition condition, int timeoutMs);

void SleepMs(int milliseconds);

template <typename Condition> bool WaitFor(Condition condition, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (condition()) {
            return true;
        }
        SleepMs(10);
    }
    return condition();
}
