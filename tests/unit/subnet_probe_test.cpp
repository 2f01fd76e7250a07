#include "discovery/subnet_prefix.h"
#include "discovery/subnet_probe.h"

#include "platform/net.h"
#include "support/fake_agent.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

class RecordingReporter : public ProbeErrorReporter {
public:
    void ShowProbeError(const char* message) override {
        std::lock_guard<std::mutex> hold(lock);
        messages.emplace_back(message);
    }
    std::mutex lock;
    std::vector<std::string> messages;
};

// A scan of 127.0.0.0/24 on a private port, with agents on chosen host numbers.
class ProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::StartNetworking(2, 2));
        port_ = PickFreePort();
        ASSERT_NE(port_, 0);
        settings_.registry = &registry_;
        settings_.localAddressFile = dir_.Write("localIp.txt", "127.0.0.1 ");
        settings_.port = port_;
        settings_.reporter = &reporter_;
        settings_.waitForName = [this](const platform::Socket& socket, const char* address,
                                       int timeoutMs) {
            return WaitOnTheTestsClock(socket, address, timeoutMs);
        };
    }

    // The probe's wait for a name, on the test's clock: the agent sends its name now, and the
    // name counts as arrived when it was due before the wait ends. A name due later is sent
    // too, so that a probe that reads it all the same is caught.
    platform::Wait WaitOnTheTestsClock(const platform::Socket& socket, const char* address,
                                       int timeoutMs) {
        const auto agent = agents_.find(address);
        if (agent == agents_.end() || agent->second->Behaviour().name.empty()) {
            return platform::Wait::timeout;
        }
        EXPECT_TRUE(agent->second->SendName(10000)) << address << " never saw the probe";
        EXPECT_EQ(platform::WaitReadable(socket, 10000), platform::Wait::ready) << address;
        return agent->second->Behaviour().dueMs < timeoutMs ? platform::Wait::ready
                                                            : platform::Wait::timeout;
    }

    FakeAgent& StartAgent(int host, FakeAgentBehaviour behaviour) {
        std::string address = "127.0.0." + std::to_string(host);
        auto& agent = agents_[address];
        agent = std::make_unique<FakeAgent>(address.c_str(), port_, behaviour);
        EXPECT_TRUE(agent->Ok()) << "cannot listen on " << address;
        return *agent;
    }

    std::optional<NodeRecord> Found(int host) const {
        return registry_.FindByAddress(("127.0.0." + std::to_string(host)).c_str());
    }

    ScratchDir dir_;
    std::uint16_t port_ = 0;
    NodeRegistry registry_;
    RecordingReporter reporter_;
    ScanSettings settings_;
    std::map<std::string, std::unique_ptr<FakeAgent>> agents_;
};

TEST_F(ProbeTest, AgentNamesAreRecordedUnderTheAddressTheProbeFormed) {
    StartAgent(7, Answers("PC-07"));
    StartAgent(42, Answers("Front desk"));
    StartAgent(255, Answers("broadcast-host"));
    // The first and the last host of a probe thread's block, and the next block's first.
    for (const int host : {1, 16, 17}) {
        StartAgent(host, Answers("edge"));
    }
    ScanSubnet(settings_);
    for (const int host : {1, 16, 17}) {
        EXPECT_TRUE(Found(host).has_value()) << "host " << host;
    }

    ASSERT_TRUE(Found(7).has_value());
    EXPECT_STREQ(Found(7)->name, "PC-07");
    ASSERT_TRUE(Found(42).has_value());
    EXPECT_STREQ(Found(42)->name, "Front desk");
    ASSERT_TRUE(Found(255).has_value()) << "255 is probed like any other host";
    EXPECT_EQ(registry_.Count(), 6u);
    EXPECT_EQ(SubnetPrefix(), "127.0.0");
    EXPECT_TRUE(reporter_.messages.empty());
}

TEST_F(ProbeTest, NamesAreKeptAsSentUpToSixtyThreeBytes) {
    struct NameCase {
        int host;
        std::string sent;
        std::string kept;
    };
    const NameCase cases[] = {
        {3, "with line end\r\n", "with line end\r\n"},
        {4, std::string(100, 'L'), std::string(63, 'L')},
        {5, std::string(64, 'S'), std::string(63, 'S')},
        {6, std::string(63, 'E'), std::string(63, 'E')},
        {8, "\xC7\xB0\xCC\xA8", "\xC7\xB0\xCC\xA8"}, // code-page bytes pass untouched
    };
    for (const NameCase& c : cases) {
        StartAgent(c.host, Answers(c.sent));
    }
    ScanSubnet(settings_);
    for (const NameCase& c : cases) {
        SCOPED_TRACE("host " + std::to_string(c.host));
        ASSERT_TRUE(Found(c.host).has_value());
        EXPECT_EQ(std::string(Found(c.host)->name), c.kept);
    }
}

TEST_F(ProbeTest, LateOrSilentAgentsAreListedWithAnEmptyName) {
    StartAgent(10, Answers(""));              // accepts and never sends
    StartAgent(11, Answers("too late", 300)); // well past the 50 ms wait
    ScanSubnet(settings_);
    for (const int host : {10, 11}) {
        ASSERT_TRUE(Found(host).has_value()) << "host " << host;
        EXPECT_STREQ(Found(host)->name, "") << "host " << host;
    }
    // The socket's own wait runs out too: these agents send nothing unless the test asks.
    settings_.waitForName = nullptr;
    ScanSubnet(settings_);
    ASSERT_TRUE(Found(11).has_value());
    EXPECT_STREQ(Found(11)->name, "");
}

TEST_F(ProbeTest, TheProbeSendsNothingAndClosesEveryConnection) {
    FakeAgent& talker = StartAgent(20, Answers("PC-20"));
    FakeAgent& silent = StartAgent(21, Answers(""));
    ScanSubnet(settings_);
    EXPECT_TRUE(talker.WaitUntilAllClosed(2000));
    EXPECT_TRUE(silent.WaitUntilAllClosed(2000));
    EXPECT_EQ(talker.Connections(), 1);
    EXPECT_EQ(talker.BytesReceived(), 0u);
    EXPECT_EQ(silent.BytesReceived(), 0u);
}

TEST_F(ProbeTest, IndicesGrowAcrossScans) {
    StartAgent(30, Answers("a"));
    StartAgent(31, Answers("b"));
    for (int scan = 0; scan < 3; ++scan) {
        ScanSubnet(settings_);
    }
    std::vector<int> indices;
    registry_.ForEach([&](const NodeRecord& record) { indices.push_back(record.index); });
    std::sort(indices.begin(), indices.end());
    EXPECT_EQ(indices, (std::vector<int>{4, 5}));
}

TEST_F(ProbeTest, AChangedLocalAddressFileTakesEffectAtTheNextScan) {
    StartAgent(9, Answers("loop"));
    ScanSubnet(settings_);
    EXPECT_EQ(registry_.Count(), 1u);
    dir_.Write("localIp.txt", "127.0.1.1 ");
    ScanSubnet(settings_);
    EXPECT_EQ(registry_.Count(), 0u);
    EXPECT_EQ(SubnetPrefix(), "127.0.1");
}

TEST_F(ProbeTest, BadLocalAddressFilesFindNothingAndDoNotFail) {
    StartAgent(9, Answers("loop"));
    const std::string contents[] = {"localhost", "", std::string(10 * 1024 * 1024, '1') + ".1",
                                    std::string("127.0\0.0.1 ", 11)};
    for (const std::string& content : contents) {
        SCOPED_TRACE("content of " + std::to_string(content.size()) + " bytes");
        registry_.AppendIfNew(NodeRecord{99, "1.2.3.4", "stale"});
        dir_.Write("localIp.txt", content);
        ScanSubnet(settings_);
        EXPECT_EQ(registry_.Count(), 0u) << "the registry is emptied and nothing is found";
    }
    settings_.localAddressFile = dir_.Path("missing.txt");
    ScanSubnet(settings_);
    EXPECT_EQ(registry_.Count(), 0u);
}

TEST_F(ProbeTest, AnUnusableFileStartsNoProbeThread) {
    dir_.Write("localIp.txt", std::string(40, '9') + ".1 ");
    int started = 0;
    settings_.startThread = [&started](std::function<void()> body) {
        ++started;
        return StartStdThread(std::move(body));
    };
    ScanSubnet(settings_);
    EXPECT_EQ(started, 0);
}

TEST_F(ProbeTest, AThreadThatCannotStartLeavesItsBlockUnprobedAndTheScanWaitsForTheRest) {
    StartAgent(5, Answers("block0"));
    StartAgent(40, Answers("block2"));
    StartAgent(250, Answers("block15"));
    int calls = 0;
    settings_.startThread = [&calls](std::function<void()> body) -> std::optional<std::thread> {
        if (calls++ == 2) {
            return std::nullopt; // hosts 33 to 48
        }
        return StartStdThread(std::move(body));
    };
    ScanSubnet(settings_);
    EXPECT_EQ(calls, 16);
    EXPECT_TRUE(Found(5).has_value());
    EXPECT_FALSE(Found(40).has_value());
    EXPECT_TRUE(Found(250).has_value());
}

TEST_F(ProbeTest, ARefusedNonBlockingSwitchIsReportedOncePerBlockAndProbesNothing) {
    StartAgent(5, Answers("PC-05"));
    settings_.makeNonBlocking = [](const platform::Socket&) { return false; };
    ScanSubnet(settings_);
    EXPECT_EQ(registry_.Count(), 0u);
    ASSERT_EQ(reporter_.messages.size(), 16u);
    EXPECT_EQ(reporter_.messages[0], "socket setup block mode failed\n");
}

TEST_F(ProbeTest, LookupsDuringRescansSeeEitherNothingOrConsistentRecords) {
    StartAgent(50, Answers("PC-50"));
    StartAgent(51, Answers("PC-51"));
    std::atomic<bool> done{false};
    std::atomic<int> inconsistent{0};
    std::thread reader([&] {
        while (!done) {
            if (auto record = registry_.FindByName("PC-51")) {
                inconsistent += std::string(record->address) != "127.0.0.51";
            }
            if (auto record = registry_.FindByAddress("127.0.0.50")) {
                inconsistent += std::string(record->name) != "PC-50";
            }
        }
    });
    for (int scan = 0; scan < 3; ++scan) {
        ScanSubnet(settings_);
    }
    done = true;
    reader.join();
    EXPECT_EQ(inconsistent.load(), 0);
    EXPECT_EQ(registry_.Count(), 2u);
}

} // namespace
