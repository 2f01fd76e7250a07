// The screen server on loopback with a desktop in memory and libvncclient as the viewer: the
// trusted console gets the desktop's pattern and its name, and its pointer reaches the desktop;
// any other address is refused before a pixel is sent, and the refusal is logged.
#include "screen/screen_server.h"

#include "viewer_from.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <mutex>
#include <sstream>
#include <thread>

namespace {

constexpr FrameSize kSize{96, 64};

std::uint32_t Pattern(int x, int y) {
    return static_cast<std::uint32_t>((x * 2) << 16 | (y * 3) << 8 | ((x + y) & 0xff));
}

const CursorShape kCursor{2, 2, 0, 0, {0xffffff, 0, 0, 0xffffff}, {1, 1, 1, 1}};

class FakeDesktop : public Desktop {
public:
    FrameSize Size() override { return kSize; }
    bool Capture(std::uint32_t* pixels, FrameSize size, const ScreenRect& area) override {
        for (int y = area.y; y < area.y + area.height; ++y) {
            for (int x = area.x; x < area.x + area.width; ++x) {
                pixels[y * size.width + x] = Pattern(x, y);
            }
        }
        return true;
    }
    CursorShape Cursor() override { return kCursor; }
    PointerPosition Pointer() override { return {}; }
    void MovePointer(int x, int y, int buttons) override {
        std::lock_guard lock(mutex);
        pointer = {x, y, buttons};
    }
    void PressKey(std::uint32_t, bool) override {}

    std::array<int, 3> Pointed() {
        std::lock_guard lock(mutex);
        return pointer;
    }

private:
    std::mutex mutex;
    std::array<int, 3> pointer{-1, -1, -1};
};

// Polls a condition for at most two seconds.
template <typename Condition> bool Eventually(Condition condition) {
    for (int i = 0; i < 100; ++i) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

rfbClient* Connect(const char* from, std::uint16_t port) {
    return viewer_from::Connect(from, "127.0.0.1", port, "fernway_417");
}

std::uint32_t Received(const rfbClient* client, int x, int y) {
    std::uint32_t value = 0;
    std::memcpy(&value, client->frameBuffer + (y * client->width + x) * 4, 4);
    const rfbPixelFormat& f = client->format;
    return ((value >> f.redShift) & 0xff) << 16 | ((value >> f.greenShift) & 0xff) << 8 |
           ((value >> f.blueShift) & 0xff);
}

// The pattern with the cursor drawn over it at (0, 0): a viewer that does not draw the cursor
// itself gets it in the frame.
bool HasPatternAndCursor(const rfbClient* client) {
    for (int y = 0; y < kSize.height; ++y) {
        for (int x = 0; x < kSize.width; ++x) {
            std::uint32_t expected = x < 2 && y < 2 ? kCursor.pixels[y * 2 + x] : Pattern(x, y);
            if (Received(client, x, y) != expected) {
                return false;
            }
        }
    }
    return true;
}

class ScreenServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ScreenServerSettings settings;
        settings.port = 0;
        settings.desktopName = "Room 4 PC 9";
        settings.password = "fernway_417";
        settings.decide = [this](std::string_view peer) { return trust.Decide(peer); };
        server = std::make_unique<ScreenServer>(desktop, settings, log);
        std::string error;
        ASSERT_TRUE(server->Start(error)) << error;
        thread = std::thread([this] { server->Run(stop); });
    }
    void TearDown() override {
        stop = true;
        if (thread.joinable()) {
            thread.join();
        }
    }
    // The server writes its log on its own thread: read it once that has stopped.
    std::string StoppedLog() {
        TearDown();
        return log.str();
    }

    FakeDesktop desktop;
    WatchTrust trust{"", [] { return ConsoleState{"127.0.0.5", "127.0.0.1"}; }};
    std::ostringstream log;
    std::unique_ptr<ScreenServer> server;
    std::atomic<bool> stop{false};
    std::thread thread;
};

TEST_F(ScreenServerTest, TheConsoleSeesTheScreenAndOperatesIt) {
    rfbClient* client = Connect("127.0.0.5", server->Port());
    ASSERT_NE(client, nullptr) << StoppedLog();
    EXPECT_STREQ(client->desktopName, "Room 4 PC 9");
    ASSERT_EQ(client->width, kSize.width);
    for (int i = 0; i < 100 && !HasPatternAndCursor(client); ++i) {
        if (WaitForMessage(client, 100000) > 0) {
            ASSERT_TRUE(HandleRFBServerMessage(client));
        }
    }
    EXPECT_TRUE(HasPatternAndCursor(client));
    SendPointerEvent(client, 40, 30, rfbButton1Mask);
    EXPECT_TRUE(Eventually([&] { return desktop.Pointed() == std::array<int, 3>{40, 30, 1}; }));
    viewer_from::Disconnect(client);
}

TEST_F(ScreenServerTest, AnyOtherAddressIsRefusedAndLogged) {
    EXPECT_EQ(Connect("127.0.0.6", server->Port()), nullptr);
    std::string text = StoppedLog();
    EXPECT_NE(text.find("refused a connection from 127.0.0.6: this PC lets only its console "
                        "127.0.0.5 watch"),
              std::string::npos)
        << text;
}

} // namespace
