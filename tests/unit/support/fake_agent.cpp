#include "support/fake_agent.h"

#include <chrono>

void SleepMs(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::uint16_t PickFreePort() {
    int error = 0;
    platform::Socket probe = platform::Listen("127.0.0.1", 0, 1, error);
    return platform::LocalPort(probe);
}

FakeAgent::FakeAgent(const char* address, std::uint16_t port, FakeAgentBehaviour behaviour)
    : behaviour_(std::move(behaviour)) {
    int error = 0;
    listener_ = platform::Listen(address, port, 64, error);
    if (listener_.Valid()) {
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }
}

FakeAgent::~FakeAgent() {
    stop_ = true;
    if (acceptor_.joinable()) {
        acceptor_.join();
    }
    for (std::thread& server : servers_) {
        server.join();
    }
}

void FakeAgent::AcceptLoop() {
    while (!stop_) {
        if (platform::WaitReadable(listener_, 10) != platform::Wait::ready) {
            continue;
        }
        std::string peer;
        platform::Socket connection = platform::Accept(listener_, peer);
        if (!connection.Valid()) {
            continue;
        }
        ++connections_;
        {
            std::lock_guard<std::mutex> hold(lock_);
            ++open_;
        }
        servers_.emplace_back([this, c = std::make_shared<platform::Socket>(std::move(
                                         connection))]() mutable { Serve(std::move(*c)); });
    }
}

void FakeAgent::Serve(platform::Socket connection) {
    platform::SetNonBlocking(connection, true);
    bool answered = false;
    // Answer once when asked, and stay until the prober closes, counting whatever it sends.
    while (!stop_) {
        if (!answered) {
            std::lock_guard<std::mutex> hold(lock_);
            if (namesWanted_ > 0) {
                --namesWanted_;
                answered = true;
                const std::string& name = behaviour_.name;
                platform::Send(connection, name.data(), static_cast<int>(name.size()));
                ++namesSent_;
                changed_.notify_all();
            }
        }
        if (platform::WaitReadable(connection, 10) != platform::Wait::ready) {
            continue;
        }
        char buffer[256];
        int got = platform::Receive(connection, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        bytesReceived_ += static_cast<std::size_t>(got);
    }
    std::lock_guard<std::mutex> hold(lock_);
    --open_;
    changed_.notify_all();
}

bool FakeAgent::SendName(int timeoutMs) {
    std::unique_lock<std::mutex> hold(lock_);
    const int sentBefore = namesSent_;
    ++namesWanted_;
    return changed_.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                             [&] { return namesSent_ > sentBefore; });
}

bool FakeAgent::WaitUntilAllClosed(int timeoutMs) {
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                             [this] { return open_ == 0; });
}
