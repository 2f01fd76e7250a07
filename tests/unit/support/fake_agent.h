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
    std::string name; // nothing is sent when empty
    int dueMs = 0;    // when the name is due after the connection, on the test's own clock
};

inline FakeAgentBehaviour Answers(std::string name, int dueMs = 0) {
    return FakeAgentBehaviour{std::move(name), dueMs};
}

// Sends its name only when the test asks (SendName), so that what has arrived when the
// probe looks is decided by the test and not by how soon the system runs the agent's threads.
class FakeAgent {
public:
    // Listens on address:port; Ok() tells whether the port could be taken.
    FakeAgent(const char* address, std::uint16_t port, FakeAgentBehaviour behaviour);
    ~FakeAgent();
    FakeAgent(const FakeAgent&) = delete;
    FakeAgent& operator=(const FakeAgent&) = delete;

    bool Ok() const { return listener_.Valid(); }
    const FakeAgentBehaviour& Behaviour() const { return behaviour_; }
    // Sends the name on the next connection not answered yet, once the agent has accepted it;
    // false when no such connection came within timeoutMs.
    bool SendName(int timeoutMs);
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
    std::condition_variable changed_;
    int open_ = 0;
    int namesWanted_ = 0; // asked for by SendName, not yet sent
    int namesSent_ = 0;
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
