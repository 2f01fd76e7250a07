// The connection against a small libvncserver server on loopback with a known pattern, and the
// agent's name as the viewer asks for it.
#include "support/fake_agent.h"
#include "viewer/agent_name_query.h"
#include "viewer/vnc_connection.h"

#include <rfb/rfb.h>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 64, kHeight = 48;
constexpr int kBoundMs = 10000;

// The pattern: red = x, green = y, blue = x ^ y (bytes red, green, blue, 0 on the server).
class PatternServer {
public:
    explicit PatternServer(const char* password) : pixels_(kWidth * kHeight * 4) {
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                std::uint8_t* p = &pixels_[(y * kWidth + x) * 4];
                p[0] = std::uint8_t(x * 3);
                p[1] = std::uint8_t(y * 5);
                p[2] = std::uint8_t(x ^ y);
            }
        }
        passwords_[0] = const_cast<char*>(password);
        rfbLogEnable(0);
        // A port found free may be taken by a test running beside this one before the server
        // binds it: then another is tried.
        for (int attempt = 0; attempt < 20 && !Listening(); ++attempt) {
            Shutdown();
            int argc = 0;
            screen_ = rfbGetScreen(&argc, nullptr, kWidth, kHeight, 8, 3, 4);
            screen_->frameBuffer = reinterpret_cast<char*>(pixels_.data());
            screen_->desktopName = "PC 7";
            screen_->port = PickFreePort();
            screen_->ipv6port = 0;
            screen_->listenInterface = inet_addr("127.0.0.1");
            screen_->authPasswdData = passwords_;
            screen_->passwordCheck = rfbCheckPasswordByList;
            screen_->alwaysShared = TRUE;
            screen_->cursor = nullptr; // the server draws none into the pattern
            rfbInitServer(screen_);
        }
        if (Listening()) {
            rfbRunEventLoop(screen_, -1, TRUE);
        }
    }
    bool Listening() const {
        return screen_ != nullptr && screen_->listenSock != RFB_INVALID_SOCKET;
    }
    std::uint16_t Port() const { return static_cast<std::uint16_t>(screen_->port); }
    ~PatternServer() { Shutdown(); }
    void Shutdown() {
        if (screen_ != nullptr) {
            rfbShutdownServer(screen_, TRUE);
            rfbScreenCleanup(screen_);
            screen_ = nullptr;
        }
    }

private:
    std::vector<std::uint8_t> pixels_;
    char* passwords_[2] = {nullptr, nullptr};
    rfbScreenInfoPtr screen_ = nullptr;
};

class Recorder : public VncListener {
public:
    void OnOutcome(ConnectionOutcome outcome) override {
        std::lock_guard<std::mutex> hold(lock_);
        outcomes_.push_back(outcome);
        changed_.notify_all();
    }
    void OnFrameResized(int width, int height) override {
        std::lock_guard<std::mutex> hold(lock_);
        width_ = width;
        height_ = height;
    }
    void OnRegionUpdated(int x, int y, int width, int height) override {
        std::lock_guard<std::mutex> hold(lock_);
        wholeFrame_ = wholeFrame_ || (x == 0 && y == 0 && width == width_ && height == height_);
        changed_.notify_all();
    }
    void OnDesktopName(const std::string& name) override {
        std::lock_guard<std::mutex> hold(lock_);
        name_ = name;
    }
    bool WaitForOutcomes(std::size_t count) {
        std::unique_lock<std::mutex> hold(lock_);
        return changed_.wait_for(hold, std::chrono::milliseconds(kBoundMs),
                                 [&] { return outcomes_.size() >= count; });
    }
    bool WaitForWholeFrame() {
        std::unique_lock<std::mutex> hold(lock_);
        return changed_.wait_for(hold, std::chrono::milliseconds(kBoundMs),
                                 [&] { return wholeFrame_; });
    }
    std::vector<ConnectionOutcome> Outcomes() {
        std::lock_guard<std::mutex> hold(lock_);
        return outcomes_;
    }
    std::string Name() {
        std::lock_guard<std::mutex> hold(lock_);
        return name_;
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<ConnectionOutcome> outcomes_;
    int width_ = 0, height_ = 0;
    bool wholeFrame_ = false;
    std::string name_;
};

// How many pixels of the connection's frame differ from the server's pattern.
int PatternMismatches(const VncConnection& connection) {
    int mismatches = -1;
    connection.ReadFrame([&](const FrameView& frame) {
        mismatches = frame.width == kWidth && frame.height == kHeight ? 0 : kWidth * kHeight;
        for (int y = 0; y < kHeight && mismatches == 0; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const std::uint8_t* p = &frame.pixels[(y * kWidth + x) * 4];
                mismatches += p[2] != std::uint8_t(x * 3) || p[1] != std::uint8_t(y * 5) ||
                              p[0] != std::uint8_t(x ^ y);
            }
        }
    });
    return mismatches;
}

TEST(VncConnection, ReportsWhatBecameOfEachConnection) {
    enum class Peer { server, closedPort };
    struct Case {
        const char* what;
        Peer peer;
        const char* password;
        std::vector<ConnectionOutcome> outcomes; // the last after the server has gone
    };
    using O = ConnectionOutcome;
    const Case cases[] = {
        {"the right password", Peer::server, "fernway_417", {O::connected, O::lost}},
        {"only the first 8 characters count", Peer::server, "fernway_4xx", {O::connected, O::lost}},
        {"a wrong password", Peer::server, "fernwax_417", {O::wrongPassword}},
        {"nothing listening", Peer::closedPort, "fernway_417", {O::refused}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<PatternServer> server;
        // Nothing listening: a port held bound, so that no test beside this one can listen there.
        int held = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = inet_addr("127.0.0.1");
        socklen_t size = sizeof address;
        ASSERT_EQ(::bind(held, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(::getsockname(held, reinterpret_cast<sockaddr*>(&address), &size), 0);
        std::uint16_t port = ntohs(address.sin_port);
        if (c.peer == Peer::server) {
            server = std::make_unique<PatternServer>("fernway_417");
            ASSERT_TRUE(server->Listening());
            port = server->Port();
        }
        Recorder recorder;
        VncConnection connection({"127.0.0.1", port, c.password}, recorder);
        ASSERT_TRUE(recorder.WaitForOutcomes(1));
        if (c.outcomes.front() == O::connected) {
            EXPECT_EQ(recorder.Name(), "PC 7");
            ASSERT_TRUE(recorder.WaitForWholeFrame());
            EXPECT_EQ(PatternMismatches(connection), 0);
            server->Shutdown();
            ASSERT_TRUE(recorder.WaitForOutcomes(2));
        }
        EXPECT_EQ(recorder.Outcomes(), c.outcomes);
        ::close(held);
    }
}

TEST(VncConnection, StopEndsItAtOnceWhileTheServerSaysNothing) {
    int error = 0;
    const std::uint16_t port = PickFreePort();
    platform::Socket silent = platform::Listen("127.0.0.1", port, 4, error);
    ASSERT_TRUE(silent.Valid());
    Recorder recorder;
    auto connection =
        std::make_unique<VncConnection>(VncSettings{"127.0.0.1", port, "x"}, recorder);
    std::string peer;
    platform::Socket accepted = platform::Accept(silent, peer); // the handshake now waits
    ASSERT_TRUE(accepted.Valid());
    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
        connection->Stop();
        stopped = true;
    });
    // Well below the library's own read timeout: the stop does not wait for it.
    EXPECT_TRUE(WaitFor([&] { return stopped.load(); }, 3000));
    stopper.join();
    EXPECT_TRUE(recorder.Outcomes().empty());
}

TEST(AgentName, IsWhatTheAgentSendsCutToTheProbesLimitOrEmptyWithoutAnAgent) {
    const std::uint16_t port = PickFreePort();
    const std::string longName(70, 'n');
    FakeAgent agent("127.0.0.1", port, Answers(longName));
    ASSERT_TRUE(agent.Ok());
    std::thread answer([&] { agent.SendName(kBoundMs); });
    EXPECT_EQ(AskAgentName("127.0.0.1", port, kBoundMs), longName.substr(0, 63));
    answer.join();
    EXPECT_EQ(AskAgentName("127.0.0.1", PickFreePort(), 200), "");
}

} // namespace
