// The PC's display name, asked of its agent the way the console's probe asks: connect to the
// agent's port, read what it sends until it closes (at most 63 bytes, the probe's limit), send
// nothing. The viewer's title is this name and one space, which is how the console finds it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

inline constexpr int kAgentNameMaxBytes = 63;
inline constexpr int kFirstNameWaitMs = 1000;     // before the window is created
inline constexpr int kNameRetryIntervalMs = 2000; // between the tries in the background

// The name, or an empty text when the agent gave none within timeoutMs (or stop was set: it is
// looked at every 50 ms).
std::string AskAgentName(const std::string& address, std::uint16_t port, int timeoutMs,
                         const std::atomic<bool>* stop = nullptr);

// Keeps asking in the background until the agent answers: found runs once, on the asking
// thread, with the name. Stop() (and the destructor) ends the asking at once.
class BackgroundNameAsker {
public:
    BackgroundNameAsker(std::string address, std::uint16_t port,
                        std::function<void(const std::string&)> found);
    ~BackgroundNameAsker();
    BackgroundNameAsker(const BackgroundNameAsker&) = delete;
    BackgroundNameAsker& operator=(const BackgroundNameAsker&) = delete;
    void Stop();

private:
    void Run();

    std::string address_;
    std::uint16_t port_;
    std::function<void(const std::string&)> found_;
    std::atomic<bool> stop_{false};
    std::mutex lock_;
    std::condition_variable wake_;
    std::thread thread_;
};
