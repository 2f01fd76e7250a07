#include "viewer/agent_name_query.h"

#include "platform/net.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr int kSliceMs = 50;

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(left.count());
}

bool Stopped(const std::atomic<bool>* stop) {
    return stop != nullptr && stop->load();
}

} // namespace

std::string AskAgentName(const std::string& address, std::uint16_t port, int timeoutMs,
                         const std::atomic<bool>* stop) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    platform::Socket socket = platform::CreateTcpSocket();
    if (!socket.Valid() || !platform::SetNonBlocking(socket, true) ||
        !platform::StartConnect(socket, address.c_str(), port)) {
        return "";
    }
    platform::Wait connected = platform::Wait::timeout;
    while (connected == platform::Wait::timeout && !Stopped(stop) && MsLeft(deadline) > 0) {
        int error = 0;
        connected = platform::FinishConnect(socket, std::min(kSliceMs, MsLeft(deadline)), error);
    }
    if (connected != platform::Wait::ready) {
        return "";
    }
    char received[kAgentNameMaxBytes] = {};
    int total = 0;
    while (total < kAgentNameMaxBytes && !Stopped(stop) && MsLeft(deadline) > 0) {
        platform::Wait readable =
            platform::WaitReadable(socket, std::min(kSliceMs, MsLeft(deadline)));
        if (readable == platform::Wait::failed) {
            break;
        }
        if (readable == platform::Wait::timeout) {
            continue;
        }
        int got = platform::Receive(socket, received + total, kAgentNameMaxBytes - total);
        if (got <= 0) {
            break; // the agent closes once it has sent its name
        }
        total += got;
    }
    std::string name(received, static_cast<std::size_t>(total));
    return name.substr(0, name.find('\0'));
}

BackgroundNameAsker::BackgroundNameAsker(std::string address, std::uint16_t port,
                                         std::function<void(const std::string&)> found)
    : address_(std::move(address)), port_(port), found_(std::move(found)),
      thread_([this] { Run(); }) {}

BackgroundNameAsker::~BackgroundNameAsker() {
    Stop();
}

void BackgroundNameAsker::Stop() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void BackgroundNameAsker::Run() {
    while (!stop_) {
        std::string name = AskAgentName(address_, port_, kFirstNameWaitMs, &stop_);
        if (!name.empty() && !stop_) {
            found_(name);
            return;
        }
        std::unique_lock<std::mutex> hold(lock_);
        wake_.wait_for(hold, std::chrono::milliseconds(kNameRetryIntervalMs),
                       [this] { return stop_.load(); });
    }
}
