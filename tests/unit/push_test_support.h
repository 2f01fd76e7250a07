// Doubles and peers for the push request listener's tests: a recording prompt, a recording
// viewer launch, a node's side of a request, and a listener running on a private port.
#pragma once

#include "discovery/node_registry.h"
#include "platform/net.h"
#include "push/push_listener.h"
#include "support/fake_agent.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// Records every question. Answers at once with its standing answer, or, when holding, waits
// until the test answers.
class RecordingPrompt : public PushPrompt {
public:
    explicit RecordingPrompt(bool answer = true) : answer_(answer) {}

    bool AskPresenter(const char* question) override {
        std::unique_lock<std::mutex> hold(lock_);
        questions_.emplace_back(question);
        events_.push_back("asked " + std::to_string(questions_.size()));
        changed_.notify_all();
        changed_.wait(hold, [this] { return !holding_ || !answers_.empty(); });
        bool answer = answer_;
        if (!answers_.empty()) {
            answer = answers_.front();
            answers_.pop_front();
        }
        events_.push_back("answered " + std::to_string(questions_.size()));
        return answer;
    }

    // From now on each question waits for Answer.
    void Hold() {
        std::lock_guard<std::mutex> hold(lock_);
        holding_ = true;
    }
    // Answers one held question (or the next one to come).
    void Answer(bool yes) {
        std::lock_guard<std::mutex> hold(lock_);
        answers_.push_back(yes);
        changed_.notify_all();
    }
    // Stops holding: every waiting and later question gets the standing answer.
    void Release() {
        std::lock_guard<std::mutex> hold(lock_);
        holding_ = false;
        changed_.notify_all();
    }
    bool WaitAsked(std::size_t count, int timeoutMs) {
        std::unique_lock<std::mutex> hold(lock_);
        return changed_.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                                 [&] { return questions_.size() >= count; });
    }
    std::vector<std::string> Questions() {
        std::lock_guard<std::mutex> hold(lock_);
        return questions_;
    }
    std::vector<std::string> Events() {
        std::lock_guard<std::mutex> hold(lock_);
        return events_;
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool answer_;
    bool holding_ = false;
    std::deque<bool> answers_;
    std::vector<std::string> questions_;
    std::vector<std::string> events_;
};

// Records the addresses the viewer was started on.
class RecordingLauncher {
public:
    ViewerLauncher Launcher() {
        return [this](const char* address) {
            std::lock_guard<std::mutex> hold(lock_);
            addresses_.emplace_back(address);
            ++launchesOn_[address];
            launched_.notify_all();
        };
    }
    // Waits until the viewer was started count times on address.
    bool WaitLaunched(const std::string& address, std::size_t count, int timeoutMs) {
        std::unique_lock<std::mutex> hold(lock_);
        return launched_.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                                  [&] { return launchesOn_[address] >= count; });
    }
    std::vector<std::string> Addresses() {
        std::lock_guard<std::mutex> hold(lock_);
        return addresses_;
    }

private:
    std::mutex lock_;
    std::condition_variable launched_;
    std::vector<std::string> addresses_;
    std::map<std::string, std::size_t> launchesOn_;
};

inline NodeRecord MakeRecord(const char* address, const char* name) {
    NodeRecord record;
    std::memset(&record, 0, sizeof record);
    std::strncpy(record.address, address, sizeof record.address - 1);
    std::strncpy(record.name, name, sizeof record.name - 1);
    return record;
}

// The full-width question mark that ends every question, in GBK.
inline const std::string kQuestionEnd = ",agree \xA3\xBF";

inline std::string Question(const std::string& name, const std::string& reason) {
    return name + " request push screen ,he/she say " + reason + kQuestionEnd;
}

// A node's side of one request: a connection from source (nullptr: the system's choice) to
// the console on 127.0.0.1:port.
class Peer {
public:
    Peer(std::uint16_t port, const char* source = nullptr, int connectWaitMs = 5000) {
        socket_ = platform::CreateTcpSocket();
        int error = 0;
        if (source != nullptr && !platform::Bind(socket_, source, 0, error)) {
            socket_.Close();
            return;
        }
        platform::SetNonBlocking(socket_, true);
        platform::StartConnect(socket_, "127.0.0.1", port);
        connected_ = platform::WaitWritable(socket_, connectWaitMs) == platform::Wait::ready &&
                     platform::IsConnected(socket_);
    }
    bool Connected() const { return connected_; }
    bool Send(const std::string& bytes) {
        return platform::Send(socket_, bytes.data(), static_cast<int>(bytes.size())) ==
               static_cast<int>(bytes.size());
    }
    // Waits until the console closes the connection, counting what it sent before.
    bool WaitClosedByConsole(int timeoutMs) {
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            until - std::chrono::steady_clock::now())
                            .count();
            if (left <= 0 ||
                platform::WaitReadable(socket_, static_cast<int>(left)) != platform::Wait::ready) {
                return false;
            }
            char buffer[256];
            int got = platform::Receive(socket_, buffer, sizeof buffer);
            if (got <= 0) {
                return true;
            }
            bytesFromConsole_ += static_cast<std::size_t>(got);
        }
    }
    std::size_t BytesFromConsole() const { return bytesFromConsole_; }
    // True while the console has neither closed the connection nor sent anything on it.
    bool StillOpen() { return platform::WaitReadable(socket_, 0) == platform::Wait::timeout; }
    void Close() { socket_.Close(); }

private:
    platform::Socket socket_;
    bool connected_ = false;
    std::size_t bytesFromConsole_ = 0;
};

// Connects and sends, the way an agent does; keeps trying for a while when nobody listens yet
// (Winsock reports a refused connection only in the exception set, so each try waits briefly).
inline bool SendRequestWhenListening(std::uint16_t port, const std::string& reason, int timeoutMs) {
    return WaitFor(
        [&] {
            Peer peer(port, nullptr, 200);
            if (!peer.Connected()) {
                return false;
            }
            peer.Send(reason);
            return peer.WaitClosedByConsole(timeoutMs);
        },
        timeoutMs);
}

// The listener opened on 127.0.0.1 and a free port by the test's thread, serving on its own.
class ListenerUnderTest {
public:
    explicit ListenerUnderTest(PushListenerSettings settings) : settings_(std::move(settings)) {
        settings_.port = PickFreePort();
        settings_.bindAddress = "127.0.0.1";
        settings_.diagnostics = &out_;
        settings_.stop = &stop_;
        listener_ = OpenPushListener(settings_);
        if (listener_.Valid()) {
            thread_ = std::thread([this] { ServePushRequests(listener_, settings_); });
        }
    }
    ~ListenerUnderTest() { Stop(); }
    ListenerUnderTest(const ListenerUnderTest&) = delete;
    ListenerUnderTest& operator=(const ListenerUnderTest&) = delete;

    bool Ok() const { return listener_.Valid(); }
    std::uint16_t Port() const { return settings_.port; }

    // Ends the loop at its next wait, woken by one connection that is never served, and
    // gives the diagnostic output. The prompt must not be holding a question.
    std::string Stop() {
        if (thread_.joinable()) {
            stop_ = true;
            Peer wake(settings_.port);
            thread_.join();
        }
        return out_.str();
    }

private:
    PushListenerSettings settings_;
    std::ostringstream out_;
    std::atomic<bool> stop_{false};
    platform::Socket listener_;
    std::thread thread_;
};
