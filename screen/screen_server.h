// The screen server: serves a Desktop over RFB with libvncserver (this class alone owns the
// library's screen). It polls the desktop only while a viewer is connected, sends only the
// tiles that changed and the cursor's shape and position, and passes the viewer's pointer and
// keys to the desktop. A connection from any address but the trusted console's is refused
// before anything of the screen is sent, with one line in the log.
#pragma once

#include "screen/change_finder.h"
#include "screen/desktop.h"
#include "screen/poll_pace.h"
#include "screen/watch_trust.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

struct _rfbScreenInfo;

// The password when the room has none of its own: the one the console gives every viewer.
inline constexpr const char* kDefaultScreenPassword = "fernway_417";

struct ScreenServerSettings {
    std::uint16_t port = 5900; // 0: the first free port from 5900 on (for tests)
    std::string desktopName;
    std::string password;
    std::function<WatchDecision(std::string_view peer)> decide;
    // How often a watched screen is looked at while it changes (see PollWait for still ones).
    std::chrono::milliseconds pollInterval{25};
};

class ScreenServer {
public:
    ScreenServer(Desktop& desktop, ScreenServerSettings settings, std::ostream& log);
    ~ScreenServer();
    ScreenServer(const ScreenServer&) = delete;
    ScreenServer& operator=(const ScreenServer&) = delete;

    // Takes the port; false with error set when it cannot.
    bool Start(std::string& error);
    std::uint16_t Port() const;
    // Serves until stop is set; checks it at least every pollInterval.
    void Run(const std::atomic<bool>& stop);

private:
    friend struct ScreenServerHooks; // the library's callbacks

    // Looks at the screen (wholly, or through sample rows and the areas around the changed
    // ones) and marks what changed; true when something did (the cursor included).
    bool Refresh(bool whole);
    // Reads the screen into next_: the areas read, or nullopt when it cannot be read now.
    std::optional<std::vector<ScreenRect>> ReadScreen(bool whole);
    // Follows the cursor's shape and position (cheap: no screen read); true when it changed.
    bool UpdateCursor();
    void Resize(FrameSize size);
    void MarkCursor();

    Desktop& desktop_;
    ScreenServerSettings settings_;
    std::ostream& log_;
    _rfbScreenInfo* screen_ = nullptr;
    FrameSize size_;
    std::vector<std::uint32_t> frame_; // what the viewers were sent (the library's frame)
    std::vector<std::uint32_t> next_;  // the newest capture
    CursorShape cursor_;
    PointerPosition pointer_;
    int quietReads_ = 0;         // reads in a row that found the screen unchanged
    int looks_ = 0;              // looks through sample rows, for the next one's row
    bool readWholeNext_ = false; // a look failed halfway: the next one reads everything
    const char* passwords_[2] = {nullptr, nullptr};
};

// The password the server asks for: the room's own when one is set, else the default.
std::string ScreenPassword(const std::string& roomPassword);
