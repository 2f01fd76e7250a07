// One connection to a screen server over RFB, on libvncclient: this class owns the library's
// client, runs it on a thread of its own and tells a listener what changed. Nothing else in the
// viewer calls the library.
//
// The TCP connection is made here (so that a refusal, an unanswered connect and a wrong password
// can be told apart) and handed to the library. No cursor-shape pseudo-encoding is asked for:
// the server draws its cursor into the frame, so the remote pointer stays visible.
#pragma once

#include "viewer/connection_outcome.h"
#include "viewer/encoding_choice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

inline constexpr std::uint16_t kScreenPort = 5900;

// Told from the connection's thread. After OnOutcome(connected) one more OnOutcome(lost) may
// follow; every other outcome ends the connection. Nothing is told after Stop() has begun.
class VncListener {
public:
    virtual ~VncListener() = default;
    virtual void OnOutcome(ConnectionOutcome outcome) = 0;
    virtual void OnFrameResized(int width, int height) = 0;
    // A region of the frame changed (after a whole update from the server).
    virtual void OnRegionUpdated(int x, int y, int width, int height) = 0;
    virtual void OnDesktopName(const std::string& name) = 0;
};

struct VncSettings {
    std::string address;
    std::uint16_t port = kScreenPort;
    std::string password;
    std::string encodings = kDefaultEncodings;
    int connectTimeoutMs = 5000;
};

// The frame as the window reads it: rows top-down, 4 bytes a pixel in the order blue, green,
// red, unused (a 32-bit device-independent bitmap's layout), width * 4 bytes a row.
struct FrameView {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

class VncConnection {
public:
    // Starts connecting at once.
    VncConnection(VncSettings settings, VncListener& listener);
    ~VncConnection();
    VncConnection(const VncConnection&) = delete;
    VncConnection& operator=(const VncConnection&) = delete;

    // Ends the connection at once in every state (connecting, in the handshake, connected) and
    // waits for its thread; the listener hears nothing more.
    void Stop();

    // Input for the remote desktop; dropped while not connected. buttons: bit 0 left, 1 middle,
    // 2 right, 3 and 4 the wheel up and down, 5 and 6 the wheel left and right.
    void SendPointer(int x, int y, int buttons);
    void SendKey(std::uint32_t keysym, bool down);

    // Runs use with the frame while the connection cannot change it; not at all before the
    // server's first frame size is known.
    void ReadFrame(const std::function<void(const FrameView&)>& use) const;

    struct State;

private:
    std::shared_ptr<State> state_;
    std::thread thread_;
};
