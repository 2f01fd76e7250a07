// serve remembers the console that probed it: the prober's address and the address of this
// machine that the probe reached, as the console's trust decides, written at most once a minute
// on a clock of the test's own.
#include "agent/agent_serve.h"
#include "agent/console_state.h"
#include "agent/console_trust.h"
#include "platform/net.h"
#include "support/fake_agent.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <thread>

namespace {

using std::chrono::seconds;

constexpr int kBound = 5000;
constexpr const char* kAgentAddress = "127.0.0.7";

class ServeStateTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::StartNetworking(2, 2)); }
    void TearDown() override {
        Stop();
        platform::StopNetworking();
    }

    void Start(const std::string& pinned = "", const std::string& bind = kAgentAddress) {
        ServeSettings settings;
        settings.name = "PC 7";
        settings.bindAddress = bind;
        settings.port = PickFreePort();
        settings.statePath = statePath_;
        settings.pinnedConsole = pinned;
        settings.onListening = [this] { listening_ = true; };
        settings.clock = [this] { return TrustClock::time_point(seconds(clockSeconds_.load())); };
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

    // On Windows the agent's replace fails while this read has the file open, and the agent
    // tries again 5 s later on its clock: the clock moves on while the test waits.
    bool WaitRemembered(const ConsoleState& state) {
        return WaitFor(
            [&] {
                clockSeconds_ += 5;
                return ReadConsoleState(statePath_) == state;
            },
            kBound);
    }

    ScratchDir dir_;
    std::string statePath_ = dir_.Path("state");
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> listening_{false};
    std::atomic<int> clockSeconds_{0};
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

TEST_F(ServeStateTest, KeepsTheConsoleThatStillProbesUntilItIsSilentForThreeRescans) {
    Start();
    EXPECT_EQ(ProbeFrom("127.0.0.9"), "PC 7");
    ASSERT_TRUE(WaitRemembered({"127.0.0.9", kAgentAddress}));
    clockSeconds_ = 30;
    EXPECT_EQ(ProbeFrom("127.0.0.10"), "PC 7");
    EXPECT_EQ(ProbeFrom("127.0.0.10"), "PC 7");
    clockSeconds_ = 100;
    EXPECT_EQ(ProbeFrom("127.0.0.10"), "PC 7");
    ASSERT_TRUE(WaitRemembered({"127.0.0.10", kAgentAddress}));
    std::string log = Stop();
    EXPECT_EQ(Count(log, "remembering the console"), 2u) << log;
    EXPECT_EQ(Count(log, "remembering the console 127.0.0.9, which reaches this machine at "
                         "127.0.0.7"),
              1u)
        << log;
    EXPECT_EQ(Count(log, "not remembering 127.0.0.10 as the console: the console 127.0.0.9 "
                         "still searches this machine"),
              1u)
        << log;
}

TEST_F(ServeStateTest, AnAgentOnAllAddressesDoesNotTakeThisMachineForItsConsole) {
    Start("", "");
    EXPECT_EQ(ProbeFrom("127.0.0.9"), "PC 7");
    std::string log = Stop();
    EXPECT_FALSE(ReadConsoleState(statePath_).has_value());
    EXPECT_EQ(Count(log, "not remembering 127.0.0.9 as the console: the search came from this "
                         "machine"),
              1u)
        << log;
}

TEST_F(ServeStateTest, APinnedAgentRemembersOnlyItsConsoleAndWritesAtMostOnceAMinute) {
    std::string error;
    ASSERT_TRUE(WriteConsoleState(statePath_, {"127.0.0.66", kAgentAddress}, error)) << error;
    Start("127.0.0.9");
    // What was remembered before the pin is forgotten at once.
    EXPECT_TRUE(WaitFor([&] { return !ReadConsoleState(statePath_).has_value(); }, kBound));
    EXPECT_EQ(ProbeFrom("127.0.0.10"), "PC 7");
    EXPECT_EQ(ProbeFrom("127.0.0.9"), "PC 7");
    EXPECT_EQ(ProbeFrom("127.0.0.10"), "PC 7"); // served after the one from .9
    // Within the minute of the forgetting: held back, then written on the idle wake-up.
    EXPECT_FALSE(ReadConsoleState(statePath_).has_value());
    clockSeconds_ = 60;
    ASSERT_TRUE(WaitRemembered({"127.0.0.9", kAgentAddress}));
    std::string log = Stop();
    EXPECT_EQ(Count(log, "remembering the console"), 1u) << log;
}

TEST_F(ServeStateTest, AnAddressNotOnThisMachineIsWaitedForUntilStop) {
    ServeSettings settings;
    settings.bindAddress = "192.0.2.7"; // a documentation address: never on a test machine
    settings.port = PickFreePort();
    settings.bindRetryMs = 20;
    std::atomic<int> result{-1};
    thread_ = std::thread([&] { result = ServeProbes(settings, stop_, out_, err_); });
    // Several tries pass without the agent giving up.
    EXPECT_FALSE(WaitFor([&] { return result.load() != -1; }, 300));
    std::string log = Stop();
    EXPECT_EQ(result.load(), 0);
    EXPECT_EQ(Count(log, "cluma-agent: the address 192.0.2.7 is not on this machine (yet); trying "
                         "again every 0.02 s"),
              1u)
        << log;
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
