// Load: 50 nodes sending requests in a burst, each sending its next as soon as the presenter
// has answered its last. Every request is asked exactly once, and none is dropped.
#include "push/push_listener.h"

#include "push_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kNodes = 50;
#if defined(_WIN32)
// Under Wine every socket call goes through the wine server: about 3 ms a request here, so
// 25,000 requests would take 80 s of the Windows suite's time. 500 in all keep the burst.
constexpr int kRequestsPerNode = 10;
#else
constexpr int kRequestsPerNode = 200; // 10,000 requests, about two seconds natively
#endif

std::string NodeAddress(int node) {
    return "127.0.0." + std::to_string(100 + node);
}

std::string NodeName(int node) {
    return "Node " + std::to_string(node);
}

TEST(PushListenerLoad, EveryRequestOfABurstIsAskedOnceAndNoneIsDropped) {
    ASSERT_TRUE(platform::StartNetworking(2, 2));
    NodeRegistry registry;
    std::map<std::string, std::string> addressOfName;
    for (int node = 0; node < kNodes; ++node) {
        registry.AppendIfNew(MakeRecord(NodeAddress(node).c_str(), NodeName(node).c_str()));
        addressOfName[NodeName(node)] = NodeAddress(node);
    }
    RecordingPrompt prompt(true);
    RecordingLauncher launched;
    PushListenerSettings settings;
    settings.registry = &registry;
    settings.prompt = &prompt;
    settings.launchViewer = launched.Launcher();
    auto listener = std::make_unique<ListenerUnderTest>(settings);
    ASSERT_TRUE(listener->Ok());

    std::atomic<int> failures{0};
    std::vector<std::thread> nodes;
    for (int node = 0; node < kNodes; ++node) {
        nodes.emplace_back([&, node] {
            const std::string source = NodeAddress(node);
            for (int request = 0; request < kRequestsPerNode; ++request) {
                Peer peer(listener->Port(), source.c_str(), 60000);
                if (!peer.Connected() || !peer.Send(std::to_string(request)) ||
                    !peer.WaitClosedByConsole(120000) ||
                    !launched.WaitLaunched(source, request + 1, 120000)) {
                    ++failures;
                }
            }
        });
    }
    for (std::thread& node : nodes) {
        node.join();
    }
    const std::string output = listener->Stop();
    EXPECT_EQ(failures.load(), 0);

    // Each question names its node and carries the request's number.
    const std::vector<std::string> questions = prompt.Questions();
    ASSERT_EQ(questions.size(), static_cast<std::size_t>(kNodes * kRequestsPerNode));
    const std::string words = " request push screen ,he/she say ";
    std::vector<std::string> askedPeers;
    std::map<std::string, int> nextRequest;
    std::set<std::string> seen;
    for (const std::string& question : questions) {
        std::size_t at = question.find(words);
        ASSERT_NE(at, std::string::npos) << question;
        ASSERT_EQ(question.substr(question.size() - kQuestionEnd.size()), kQuestionEnd);
        std::string name = question.substr(0, at);
        std::string number = question.substr(
            at + words.size(), question.size() - at - words.size() - kQuestionEnd.size());
        ASSERT_EQ(addressOfName.count(name), 1u) << question;
        askedPeers.push_back(addressOfName[name]);
        // A node sends its next request only after the console took the last one.
        EXPECT_EQ(number, std::to_string(nextRequest[name]++)) << question;
        EXPECT_TRUE(seen.insert(question).second) << "asked twice: " << question;
    }
    EXPECT_EQ(output.find("dropped"), std::string::npos);
    EXPECT_EQ(launched.Addresses(), askedPeers);
    platform::StopNetworking();
}

} // namespace
