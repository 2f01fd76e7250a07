// The listener thread's whole work, as start-up runs it: the day log entry, then the listener,
// whatever became of the entry.
#include "push/push_listener.h"

#include "push_test_support.h"
#include "support/local_time.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

namespace {

constexpr int kBound = 10000;

// Runs the thread body on a thread of its own with a fixed clock and a private port.
class ThreadUnderTest {
public:
    ThreadUnderTest(const std::string& logDirectory, NodeRegistry& registry, PushPrompt& prompt)
        : logDirectory_(logDirectory) {
        settings_.dayLog =
            DayLogSettings{logDirectory_.c_str(), [] { return At(2024, 3, 5, 9, 7, 3); }};
        settings_.listener.port = PickFreePort();
        EXPECT_NE(settings_.listener.port, 0);
        settings_.listener.bindAddress = "127.0.0.1";
        settings_.listener.registry = &registry;
        settings_.listener.prompt = &prompt;
        settings_.listener.diagnostics = &out_;
        settings_.listener.stop = &stop_;
        thread_ = std::thread([this] { RunPushListenerThread(settings_); });
    }
    ~ThreadUnderTest() { Stop(); }
    std::uint16_t Port() const { return settings_.listener.port; }
    std::string Stop() {
        if (thread_.joinable()) {
            stop_ = true;
            Peer wake(Port());
            thread_.join();
        }
        return out_.str();
    }

private:
    std::string logDirectory_;
    PushThreadSettings settings_;
    std::ostringstream out_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

std::string Root(const ScratchDir& dir) {
    std::string inside = dir.Path("x");
    return inside.substr(0, inside.size() - 2);
}

// The test's own sockets (the free port, the nodes) need the library before the thread runs.
class PushListenerThread : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::StartNetworking(2, 2)); }
    void TearDown() override { platform::StopNetworking(); }
};

TEST_F(PushListenerThread, WritesTheDayLogThenServesRequests) {
    ScratchDir dir;
    NodeRegistry registry;
    RecordingPrompt prompt;
    ThreadUnderTest thread(Root(dir), registry, prompt);
    ASSERT_TRUE(SendRequestWhenListening(thread.Port(), "hello", kBound));
    ASSERT_TRUE(prompt.WaitAsked(1, kBound));
    EXPECT_EQ(thread.Stop(), "\nsocket() successful.\nbind() successful.\nlisten() successful."
                             "\nClient connected from: 127.0.0.1");
    EXPECT_EQ(dir.Read("2024-03-05.txt"), "2024-03-05 09:07:03 \t\r\nWSAStartup() successful.\r\n");
    EXPECT_EQ(prompt.Questions().at(0), Question("", "hello"));
}

TEST_F(PushListenerThread, AnUnwritableDayLogIsSilentAndTheListenerRuns) {
    ScratchDir dir;
    const std::string notADirectory = dir.Write("log", "a file where the directory should be");
    NodeRegistry registry;
    RecordingPrompt prompt;
    ThreadUnderTest thread(notADirectory, registry, prompt);
    ASSERT_TRUE(SendRequestWhenListening(thread.Port(), "still here", kBound));
    ASSERT_TRUE(prompt.WaitAsked(1, kBound));
    EXPECT_EQ(thread.Stop(), "\nsocket() successful.\nbind() successful.\nlisten() successful."
                             "\nClient connected from: 127.0.0.1");
    EXPECT_EQ(prompt.Questions().at(0), Question("", "still here"));
    EXPECT_EQ(dir.Read("log"), "a file where the directory should be");
}

} // namespace
