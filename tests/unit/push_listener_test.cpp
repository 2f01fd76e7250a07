// The push request listener with real sockets on loopback: what the presenter is asked, what
// is started, what the node sees, and the listener's diagnostic lines.
#include "push/push_listener.h"

#include "push_test_support.h"
#include "support/fake_agent.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

#include <algorithm>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBound = 10000; // for anything a test waits on

class PushListenerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::StartNetworking(2, 2)); }
    void TearDown() override {
        prompt_->Release();
        listener_.reset();
        platform::StopNetworking();
    }

    ListenerUnderTest& Start(int reasonWaitMs = kReasonWaitMs) {
        PushListenerSettings settings;
        settings.registry = &registry_;
        settings.prompt = prompt_.get();
        settings.launchViewer = launched_->Launcher();
        settings.reasonWaitMs = reasonWaitMs;
        listener_ = std::make_unique<ListenerUnderTest>(settings);
        EXPECT_TRUE(listener_->Ok());
        return *listener_;
    }

    NodeRegistry registry_;
    std::unique_ptr<RecordingPrompt> prompt_ = std::make_unique<RecordingPrompt>();
    std::unique_ptr<RecordingLauncher> launched_ = std::make_unique<RecordingLauncher>();
    std::unique_ptr<ListenerUnderTest> listener_;
};

struct RequestCase {
    const char* what;
    std::vector<NodeRecord> registry;
    const char* source;   // the node's address
    std::string sent;     // its bytes, sent at once; then it closes the connection
    std::string question; // what the presenter is asked
};

TEST_F(PushListenerTest, ThePresenterIsAskedWithTheNodesNameAndReason) {
    const std::string long200(200, 'r');
    const std::vector<RequestCase> cases = {
        {"a named node's reason",
         {MakeRecord("127.0.0.21", "Lab PC 21")},
         "127.0.0.21",
         "my code crashes",
         Question("Lab PC 21", "my code crashes")},
        {"a reason ended by a zero byte",
         {MakeRecord("127.0.0.21", "Lab PC 21")},
         "127.0.0.21",
         std::string("help\0", 5),
         Question("Lab PC 21", "help")},
        {"a zero byte in the middle ends the reason",
         {},
         "127.0.0.22",
         std::string("abc\0def", 7),
         Question("", "abc")},
        {"a named node that sends nothing",
         {MakeRecord("127.0.0.23", "Lab PC 23")},
         "127.0.0.23",
         "",
         Question("Lab PC 23", "")},
        {"an unknown node that sends nothing", {}, "127.0.0.24", "", Question("", "")},
        {"an unknown node among others",
         {MakeRecord("127.0.0.26", "Other")},
         "127.0.0.25",
         "hello",
         Question("", "hello")},
        {"a leading zero in the registry never matches",
         {MakeRecord("127.0.0.027", "Zero")},
         "127.0.0.27",
         "x",
         Question("", "x")},
        {"a trailing space in the registry never matches",
         {MakeRecord("127.0.0.28 ", "Space")},
         "127.0.0.28",
         "x",
         Question("", "x")},
        {"a 200-byte reason shows its first 128 bytes",
         {},
         "127.0.0.29",
         long200,
         Question("", long200.substr(0, 128))},
        {"a 63-byte name and a 200-byte reason are both shown",
         {MakeRecord("127.0.0.30", std::string(63, 'N').c_str())},
         "127.0.0.30",
         long200,
         Question(std::string(63, 'N'), long200.substr(0, 128))},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.what);
        registry_.Clear();
        for (const NodeRecord& record : c.registry) {
            registry_.AppendIfNew(record);
        }
        ListenerUnderTest& listener = Start();
        Peer peer(listener.Port(), c.source);
        ASSERT_TRUE(peer.Connected());
        if (!c.sent.empty()) {
            ASSERT_TRUE(peer.Send(c.sent));
        }
        peer.Close();
        ASSERT_TRUE(prompt_->WaitAsked(1, kBound));
        listener.Stop();
        EXPECT_EQ(prompt_->Questions(), std::vector<std::string>{c.question});
        EXPECT_EQ(launched_->Addresses(), std::vector<std::string>{c.source});
        listener_.reset();
        prompt_ = std::make_unique<RecordingPrompt>();
        launched_ = std::make_unique<RecordingLauncher>();
    }
}

TEST_F(PushListenerTest, NoStartsNothingAndTheNodeIsToldNothing) {
    prompt_ = std::make_unique<RecordingPrompt>(false);
    ListenerUnderTest& listener = Start();
    Peer peer(listener.Port());
    ASSERT_TRUE(peer.Connected());
    ASSERT_TRUE(peer.Send("please look"));
    ASSERT_TRUE(peer.WaitClosedByConsole(kBound));
    ASSERT_TRUE(prompt_->WaitAsked(1, kBound));
    listener.Stop();
    EXPECT_EQ(prompt_->Questions(), std::vector<std::string>{Question("", "please look")});
    EXPECT_TRUE(launched_->Addresses().empty());
    EXPECT_EQ(peer.BytesFromConsole(), 0u);
}

TEST_F(PushListenerTest, TheConnectionIsClosedBeforeThePresenterIsAsked) {
    prompt_->Hold();
    ListenerUnderTest& listener = Start();
    Peer peer(listener.Port());
    ASSERT_TRUE(peer.Connected());
    ASSERT_TRUE(peer.Send("look"));
    ASSERT_TRUE(prompt_->WaitAsked(1, kBound));
    // The question is still open, and the node already sees its connection closed.
    EXPECT_TRUE(peer.WaitClosedByConsole(kBound));
    EXPECT_EQ(peer.BytesFromConsole(), 0u);
    prompt_->Answer(true);
    listener.Stop();
    EXPECT_EQ(launched_->Addresses(), std::vector<std::string>{"127.0.0.1"});
}

TEST_F(PushListenerTest, OnlyTheFirstPartOfAReasonSentInTwoIsRead) {
    // With a long bound, a listener that read on until the node stopped sending would keep the
    // connection open; this one reads once and closes.
    ListenerUnderTest& listener = Start(60000);
    Peer peer(listener.Port());
    ASSERT_TRUE(peer.Connected());
    ASSERT_TRUE(peer.Send("first part"));
    ASSERT_TRUE(peer.WaitClosedByConsole(kBound));
    peer.Send(" and the second"); // too late: the connection is gone
    ASSERT_TRUE(prompt_->WaitAsked(1, kBound));
    listener.Stop();
    EXPECT_EQ(prompt_->Questions(), std::vector<std::string>{Question("", "first part")});
}

TEST_F(PushListenerTest, ASecondConnectionIsAskedOnlyAfterTheFirstAnswer) {
    registry_.AppendIfNew(MakeRecord("127.0.0.41", "First"));
    registry_.AppendIfNew(MakeRecord("127.0.0.42", "Second"));
    prompt_->Hold();
    ListenerUnderTest& listener = Start();
    Peer first(listener.Port(), "127.0.0.41");
    ASSERT_TRUE(first.Send("one"));
    ASSERT_TRUE(prompt_->WaitAsked(1, kBound));
    Peer second(listener.Port(), "127.0.0.42");
    ASSERT_TRUE(second.Send("two"));
    EXPECT_TRUE(second.WaitClosedByConsole(kBound)); // read at once, and waiting
    // While the first question is open nothing else is asked.
    EXPECT_FALSE(prompt_->WaitAsked(2, 500));
    prompt_->Answer(false);
    ASSERT_TRUE(prompt_->WaitAsked(2, kBound));
    prompt_->Answer(true);
    listener.Stop();
    EXPECT_EQ(prompt_->Questions(),
              (std::vector<std::string>{Question("First", "one"), Question("Second", "two")}));
    EXPECT_EQ(prompt_->Events(),
              (std::vector<std::string>{"asked 1", "answered 1", "asked 2", "answered 2"}));
    EXPECT_EQ(launched_->Addresses(), std::vector<std::string>{"127.0.0.42"});
}

std::vector<std::unique_ptr<Peer>> Connect(std::uint16_t port, const std::string& source,
                                           int count) {
    std::vector<std::unique_ptr<Peer>> peers;
    for (int i = 0; i < count; ++i) {
        peers.push_back(std::make_unique<Peer>(port, source.c_str()));
    }
    return peers;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(PushListenerTest, AFloodFromOneAddressIsAskedOnceAndSilentNodesHoldUpNoOne) {
    registry_.AppendIfNew(MakeRecord("127.0.0.91", "Real PC"));
    prompt_->Hold();
    ListenerUnderTest& listener = Start(60000); // a silent node is read for a minute
    std::vector<std::unique_ptr<Peer>> silent;
    for (int host = 81; host <= 88; ++host) { // connected first, and never sending
        silent.push_back(
            std::make_unique<Peer>(listener.Port(), ("127.0.0." + std::to_string(host)).c_str()));
        ASSERT_TRUE(silent.back()->Connected());
    }
    std::vector<std::unique_ptr<Peer>> flood = Connect(listener.Port(), "127.0.0.71", 100);
    for (std::size_t i = 0; i < flood.size(); ++i) {
        ASSERT_TRUE(flood[i]->Send("flood " + std::to_string(i)));
    }
    Peer real(listener.Port(), "127.0.0.91");
    ASSERT_TRUE(real.Send("real"));
    for (const auto& peer : flood) {
        ASSERT_TRUE(peer->WaitClosedByConsole(kBound));
    }
    ASSERT_TRUE(real.WaitClosedByConsole(kBound));
    ASSERT_TRUE(prompt_->WaitAsked(1, kBound));
    prompt_->Answer(false);
    ASSERT_TRUE(prompt_->WaitAsked(2, kBound));
    for (const auto& peer : silent) {
        EXPECT_TRUE(peer->StillOpen()) << "the real request waited for a silent one";
    }
    prompt_->Release();
    const std::string out = listener.Stop();
    std::vector<std::string> questions = prompt_->Questions();
    std::sort(questions.begin(), questions.end());
    EXPECT_EQ(questions,
              (std::vector<std::string>{Question("", "flood 0"), Question("Real PC", "real")}));
    EXPECT_EQ(Count(out, "\nRequest from 127.0.0.71 dropped: one from that address is already "
                         "waiting."),
              99u);
}

TEST_F(PushListenerTest, ARequestOverTheBoundIsClosedAtOnceWithALineAndTheRestAreAsked) {
    prompt_->Hold();
    ListenerUnderTest& listener = Start();
    Peer shown(listener.Port(), "127.0.1.0");
    ASSERT_TRUE(shown.Send("shown"));
    ASSERT_TRUE(prompt_->WaitAsked(1, kBound));
    std::vector<std::unique_ptr<Peer>> waiting;
    for (std::size_t host = 1; host <= kMaxWaitingPushRequests; ++host) {
        waiting.push_back(
            std::make_unique<Peer>(listener.Port(), ("127.0.1." + std::to_string(host)).c_str()));
        ASSERT_TRUE(waiting.back()->Send(std::to_string(host)));
    }
    Peer over(listener.Port(), "127.0.2.1");
    ASSERT_TRUE(over.Send("over"));
    for (const auto& peer : waiting) {
        ASSERT_TRUE(peer->WaitClosedByConsole(kBound));
    }
    EXPECT_TRUE(over.WaitClosedByConsole(kBound));
    prompt_->Release();
    ASSERT_TRUE(prompt_->WaitAsked(1 + kMaxWaitingPushRequests, kBound));
    const std::string out = listener.Stop();
    EXPECT_EQ(Count(out, "\nRequest from 127.0.2.1 dropped: too many requests are waiting."), 1u)
        << out;
    EXPECT_EQ(Count(out, "dropped"), 1u) << out;
    const std::vector<std::string> questions = prompt_->Questions();
    EXPECT_EQ(questions.size(), 1 + kMaxWaitingPushRequests);
    EXPECT_EQ(questions.back(), Question("", std::to_string(kMaxWaitingPushRequests)));
}

TEST_F(PushListenerTest, NoOtherSocketMayBindTheListenersPortEvenAskingForReuse) {
    ListenerUnderTest& listener = Start();
    platform::Socket other = platform::CreateTcpSocket();
    const int yes = 1;
    ::setsockopt(other.Native(), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes),
                 sizeof yes);
#if defined(SO_REUSEPORT)
    ::setsockopt(other.Native(), SOL_SOCKET, SO_REUSEPORT, &yes, sizeof yes);
#endif
    int error = 0;
    // Refused as in use, or on Windows as access denied to a port held exclusively.
    EXPECT_FALSE(platform::Bind(other, "127.0.0.1", listener.Port(), error));
    EXPECT_NE(error, 0);
}

TEST_F(PushListenerTest, TheDiagnosticLinesAreExactlyThePlatformsSteps) {
    ListenerUnderTest& listener = Start();
    Peer peer(listener.Port(), "127.0.0.51");
    ASSERT_TRUE(peer.Send("x"));
    ASSERT_TRUE(prompt_->WaitAsked(1, kBound));
    EXPECT_EQ(listener.Stop(), "\nsocket() successful.\nbind() successful.\nlisten() successful."
                               "\nClient connected from: 127.0.0.51");
}

TEST_F(PushListenerTest, APortAlreadyTakenEndsTheListenerWithTheBindLine) {
    std::uint16_t port = PickFreePort();
    int error = 0;
    platform::Socket other = platform::Listen("127.0.0.1", port, 4, error);
    ASSERT_TRUE(other.Valid());
    std::ostringstream out;
    PushListenerSettings settings;
    settings.port = port;
    settings.bindAddress = "127.0.0.1";
    settings.registry = &registry_;
    settings.prompt = prompt_.get();
    settings.diagnostics = &out;
    RunPushListener(settings); // returns: the thread would end here
    EXPECT_EQ(out.str(), "\nsocket() successful.\nError occurred while binding.");
    // The other program keeps its port.
    Peer peer(port);
    EXPECT_TRUE(peer.Connected());
    EXPECT_EQ(platform::WaitReadable(other, kBound), platform::Wait::ready);
    EXPECT_TRUE(prompt_->Questions().empty());
}

TEST_F(PushListenerTest, AFailedWaitEndsTheLoopWithTheSelectLine) {
    std::ostringstream out;
    PushListenerSettings settings;
    settings.registry = &registry_;
    settings.prompt = prompt_.get();
    settings.diagnostics = &out;
    platform::Socket none;
    ServePushRequests(none, settings); // returns instead of waiting for ever
    const std::string line = out.str();
    const std::string head = "\nError occurred while executing select(): ";
    ASSERT_EQ(line.rfind(head, 0), 0u) << line;
    ASSERT_EQ(line.back(), '.');
    std::string code = line.substr(head.size(), line.size() - head.size() - 1);
    EXPECT_FALSE(code.empty());
    EXPECT_EQ(code.find_first_not_of("-0123456789"), std::string::npos) << code;
    EXPECT_NE(code, "0");
}

TEST_F(PushListenerTest, AFailedAcceptIsNeitherLookedUpNorAskedNorLaunched) {
    std::ostringstream out;
    PushListenerSettings settings;
    settings.registry = &registry_;
    settings.prompt = prompt_.get();
    settings.launchViewer = launched_->Launcher();
    settings.diagnostics = &out;
    platform::Socket notListening = platform::CreateTcpSocket();
    ASSERT_TRUE(notListening.Valid());
    PushRequestQueue queue;
    PushRequestReader reader(notListening, settings, queue);
    EXPECT_EQ(reader.AcceptWaiting(), 0);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(queue.Waiting(), 0u);
    EXPECT_EQ(queue.Admit("127.0.0.1"), PushAdmission::admitted) << "nothing was admitted";
}

// The one receive, on its own: a connected pair on loopback.
class PushReasonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::StartNetworking(2, 2));
        int error = 0;
        listener_ = platform::Listen("127.0.0.1", 0, 4, error);
        ASSERT_TRUE(listener_.Valid());
        node_ = std::make_unique<Peer>(platform::LocalPort(listener_));
        ASSERT_TRUE(node_->Connected());
        ASSERT_EQ(platform::WaitReadable(listener_, kBound), platform::Wait::ready);
        std::string address;
        console_ = platform::Accept(listener_, address);
        ASSERT_TRUE(console_.Valid());
    }
    void TearDown() override {
        node_.reset();
        console_.Close();
        listener_.Close();
        platform::StopNetworking();
    }

    platform::Socket listener_;
    platform::Socket console_;
    std::unique_ptr<Peer> node_;
    char reason_[kMaxReasonBytes + 1];
};

TEST_F(PushReasonTest, OfA200ByteReasonTheFirst128AreKeptAndTheTextEnds) {
    std::string sent;
    for (int i = 0; i < 200; ++i) {
        sent += static_cast<char>('A' + i % 26);
    }
    ASSERT_TRUE(node_->Send(sent));
    EXPECT_EQ(ReceiveReason(console_, reason_, kBound), 128);
    EXPECT_EQ(std::string(reason_), sent.substr(0, 128));
    EXPECT_EQ(reason_[128], '\0');
}

TEST_F(PushReasonTest, ANodeThatSendsNothingInTimeGivesAnEmptyReason) {
    std::memset(reason_, 'x', sizeof reason_);
    EXPECT_EQ(ReceiveReason(console_, reason_, 100), 0);
    EXPECT_EQ(std::string(reason_, sizeof reason_), std::string(sizeof reason_, '\0'));
}

TEST_F(PushReasonTest, ANodeThatClosedGivesAnEmptyReason) {
    node_->Close();
    std::memset(reason_, 'x', sizeof reason_);
    EXPECT_EQ(ReceiveReason(console_, reason_, kBound), 0);
    EXPECT_EQ(std::string(reason_, sizeof reason_), std::string(sizeof reason_, '\0'));
}

} // namespace
