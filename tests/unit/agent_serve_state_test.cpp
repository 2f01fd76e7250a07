// serve remembers the console that probed it: the prober's address and the address of this
// machine that the probe reached, written only when they change.
#include "agent/agent_serve.h"
#include "agent/console_state.h"
#include "platform/net.h"
#include "support/fake_agent.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <thread>

namespace {

constexpr int kBound = 5000;
constexpr const char* kAgentAddress = "127.0.0.7";

class ServeStateTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::StartNetworking(2, 2)); }
    void TearDown() override {
        Stop();
        platform::StopNetworking();
    }

    void Start(const std::string& pinned = "") {
        ServeSettings settings;
        settings.name = "PC 7";
        settings.bindAddress = kAgentAddress;
        settings.port = PickFreePort();
        settings.statePath = statePath_;
        settings.pinnedConsole = pinned;
        settings.onListening = [this] { listening_ = true; };
        port_ = settings.port;
        thread_ = std::thread([this, settings] { ServeProbes(settings, stop_, out_, err_); });
        ASSERT_TRUE(WaitFor([this] { return listening_.load(); }, kBound));
    }
    // The agent's log; read only once it has stopped.
    std::string Stop() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        return err_.str();
    }

    // A probe from the given loopback address: the name it was answered with.
    std::string ProbeFrom(const char* source) {
        platform::Socket socket = platform::CreateTcpSocket();
        int error = 0;
        if (!platform::Bind(socket, source, 0, error)) {
            return "cannot bind " + std::string(source);
        }
        platform::SetNonBlocking(socket, true);
        platform::StartConnect(socket, kAgentAddress, port_);
        if (platform::FinishConnect(socket, kBound, error) != platform::Wait::ready) {
            return "no connection";
        }
        std::string answer;
        char buffer[64];
        while (platform::WaitReadable(socket, kBound) == platform::Wait::ready) {
            int got = platform::Receive(socket, buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            answer.append(buffer, static_cast<std::size_t>(got));
        }
        return answer;
    }

    bool WaitRemembered(const ConsoleState& state) {
        return WaitFor([&] { return ReadConsoleState(statePath_) == state; }, kBound);
    }

    ScratchDir dir_;
    std::string statePath_ = dir_.Path("state");
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> listening_{false};
    std::ostringstream out_;
    std::ostringstream err_;
    std::thread thread_;
};

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(ServeStateTest, RemembersTheProberAndTheAddressItReachedRewritingOnlyOnChange) {
    Start();
    EXPECT_EQ(ProbeFrom("127.0.0.9"), "PC 7");
    ASSERT_TRUE(WaitRemembered({"127.0.0.9", kAgentAddress}));
    EXPECT_EQ(ProbeFrom("127.0.0.9"), "PC 7");
    EXPECT_EQ(ProbeFrom("127.0.0.9"), "PC 7");
    EXPECT_EQ(ProbeFrom("127.0.0.10"), "PC 7");
    ASSERT_TRUE(WaitRemembered({"127.0.0.10", kAgentAddress}));
    std::string log = Stop();
    // Probes are served in order: the two repeats came before the change and wrote nothing.
    EXPECT_EQ(Count(log, "remembering the console"), 2u) << log;
    EXPECT_EQ(Count(log, "remembering the console 127.0.0.9, which reaches this machine at "
                         "127.0.0.7"),
              1u)
        << log;
}

TEST_F(ServeStateTest, APinnedAgentAnswersEveryProbeButRemembersOnlyItsConsole) {
    std::string error;
    ASSERT_TRUE(WriteConsoleState(statePath_, {"127.0.0.66", kAgentAddress}, error)) << error;
    Start("127.0.0.9");
    // What was remembered before the pin is forgotten at once.
    EXPECT_TRUE(WaitFor([&] { return !ReadConsoleState(statePath_).has_value(); }, kBound));
    EXPECT_EQ(ProbeFrom("127.0.0.10"), "PC 7");
    EXPECT_EQ(ProbeFrom("127.0.0.9"), "PC 7");
    ASSERT_TRUE(WaitRemembered({"127.0.0.9", kAgentAddress}));
    EXPECT_EQ(ProbeFrom("127.0.0.10"), "PC 7");
    EXPECT_EQ(ProbeFrom("127.0.0.9"), "PC 7"); // served after the one from .10
    std::string log = Stop();
    EXPECT_EQ(ReadConsoleState(statePath_), (ConsoleState{"127.0.0.9", kAgentAddress}));
    EXPECT_EQ(Count(log, "remembering the console"), 1u) << log;
}

TEST_F(ServeStateTest, AStateFileThatCannotBeWrittenIsReportedOnceAndServingGoesOn) {
    statePath_ = dir_.Path("a-folder");
    std::filesystem::create_directories(statePath_);
    Start();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ProbeFrom("127.0.0.9"), "PC 7");
    }
    std::string log = Stop();
    EXPECT_EQ(Count(log, "cannot remember the console 127.0.0.9"), 1u) << log;
}

} // namespace
