#include "screen/screen_server.h"

#include <rfb/rfb.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>

namespace {

// The library logs every step of every connection; the server's own log says what matters,
// and the library's errors go to standard error.
void Quiet(const char*, ...) {}

void ToStandardError(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::fputs("cluma-screen: ", stderr);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
}

rfbCursorPtr MakeCursor(const CursorShape& shape) {
    if (shape.width <= 0 || shape.height <= 0 ||
        shape.pixels.size() != static_cast<std::size_t>(shape.width) * shape.height ||
        shape.opaque.size() != shape.pixels.size()) {
        return nullptr;
    }
    auto* cursor = static_cast<rfbCursorPtr>(std::calloc(1, sizeof(rfbCursor)));
    const int rowBytes = (shape.width + 7) / 8;
    auto* source = static_cast<unsigned char*>(std::calloc(rowBytes * shape.height, 1));
    auto* mask = static_cast<unsigned char*>(std::calloc(rowBytes * shape.height, 1));
    auto* rich = static_cast<unsigned char*>(std::malloc(shape.pixels.size() * 4));
    if (cursor == nullptr || source == nullptr || mask == nullptr || rich == nullptr) {
        std::free(cursor);
        std::free(source);
        std::free(mask);
        std::free(rich);
        return nullptr;
    }
    for (int y = 0; y < shape.height; ++y) {
        for (int x = 0; x < shape.width; ++x) {
            std::size_t i = static_cast<std::size_t>(y) * shape.width + x;
            unsigned char bit = static_cast<unsigned char>(0x80 >> (x % 8));
            if (shape.opaque[i] != 0) {
                mask[y * rowBytes + x / 8] |= bit;
            }
            if ((shape.pixels[i] & 0xffffff) != 0) { // the two-colour form: not black
                source[y * rowBytes + x / 8] |= bit;
            }
        }
    }
    std::memcpy(rich, shape.pixels.data(), shape.pixels.size() * 4);
    cursor->width = static_cast<unsigned short>(shape.width);
    cursor->height = static_cast<unsigned short>(shape.height);
    cursor->xhot = static_cast<unsigned short>(std::clamp(shape.hotX, 0, shape.width - 1));
    cursor->yhot = static_cast<unsigned short>(std::clamp(shape.hotY, 0, shape.height - 1));
    cursor->source = source;
    cursor->mask = mask;
    cursor->richSource = rich;
    cursor->foreRed = cursor->foreGreen = cursor->foreBlue = 0xffff;
    cursor->cleanup = cursor->cleanupSource = cursor->cleanupMask = cursor->cleanupRichSource =
        TRUE;
    return cursor;
}

} // namespace

struct ScreenServerHooks {
    static ScreenServer& Server(rfbClientPtr client) {
        return *static_cast<ScreenServer*>(client->screen->screenData);
    }

    static rfbNewClientAction NewClient(rfbClientPtr client) {
        ScreenServer& server = Server(client);
        std::string peer = client->host != nullptr ? client->host : "";
        WatchDecision decision =
            server.settings_.decide ? server.settings_.decide(peer) : WatchDecision{};
        server.log_ << DescribeWatchDecision(peer, decision) << std::endl;
        if (!decision.allowed) {
            return RFB_CLIENT_REFUSE;
        }
        client->clientGoneHook = ClientGone;
        server.Refresh(true); // the frame may be old: nothing was read while nobody watched
        server.quietReads_ = 0;
        return RFB_CLIENT_ACCEPT;
    }

    static void ClientGone(rfbClientPtr client) {
        Server(client).log_ << "cluma-screen: " << (client->host != nullptr ? client->host : "")
                            << " stopped watching" << std::endl;
    }

    static void Pointer(int buttons, int x, int y, rfbClientPtr client) {
        ScreenServer& server = Server(client);
        server.desktop_.MovePointer(x, y, buttons);
        server.quietReads_ = 0;                       // the screen answers input: look again soon
        rfbDefaultPtrAddEvent(buttons, x, y, client); // moves the cursor the others see
        server.pointer_ = {x, y};
    }

    static void Key(rfbBool down, rfbKeySym keysym, rfbClientPtr client) {
        Server(client).desktop_.PressKey(keysym, down != 0);
        Server(client).quietReads_ = 0;
    }
};

ScreenServer::ScreenServer(Desktop& desktop, ScreenServerSettings settings, std::ostream& log)
    : desktop_(desktop), settings_(std::move(settings)), log_(log) {}

ScreenServer::~ScreenServer() {
    if (screen_ != nullptr) {
        rfbShutdownServer(screen_, TRUE);
        rfbScreenCleanup(screen_);
    }
}

bool ScreenServer::Start(std::string& error) {
    rfbLog = Quiet;
    rfbErr = ToStandardError;
    size_ = desktop_.Size();
    if (size_.width <= 0 || size_.height <= 0) {
        error = "the screen's size cannot be read";
        return false;
    }
    int argc = 1;
    char program[] = "cluma-screen";
    char* argv[] = {program, nullptr};
    screen_ = rfbGetScreen(&argc, argv, size_.width, size_.height, 8, 3, 4);
    if (screen_ == nullptr) {
        error = "out of memory";
        return false;
    }
    // The frame holds 0x00RRGGBB words, as GDI captures them.
    screen_->serverFormat.redShift = 16;
    screen_->serverFormat.greenShift = 8;
    screen_->serverFormat.blueShift = 0;
    frame_.assign(static_cast<std::size_t>(size_.width) * size_.height, 0);
    next_ = frame_;
    screen_->frameBuffer = reinterpret_cast<char*>(frame_.data());
    screen_->desktopName = settings_.desktopName.c_str();
    screen_->alwaysShared = TRUE;
    screen_->screenData = this;
    screen_->newClientHook = ScreenServerHooks::NewClient;
    screen_->ptrAddEvent = ScreenServerHooks::Pointer;
    screen_->kbdAddEvent = ScreenServerHooks::Key;
    passwords_[0] = settings_.password.c_str();
    screen_->authPasswdData = static_cast<void*>(passwords_);
    screen_->passwordCheck = rfbCheckPasswordByList;
    if (settings_.port == 0) {
        screen_->autoPort = TRUE;
    } else {
        screen_->port = settings_.port;
    }
    screen_->ipv6port = screen_->port;
    UpdateCursor();
    rfbInitServer(screen_);
    if (screen_->listenSock == RFB_INVALID_SOCKET) {
        error = "cannot listen on port " + std::to_string(settings_.port) +
                " (is another screen server running?)";
        return false;
    }
    return true;
}

std::uint16_t ScreenServer::Port() const {
    return screen_ != nullptr ? static_cast<std::uint16_t>(screen_->port) : 0;
}

void ScreenServer::Run(const std::atomic<bool>& stop) {
    using Clock = std::chrono::steady_clock;
    const auto interval = std::chrono::duration_cast<Clock::duration>(settings_.pollInterval);
    Clock::time_point nextLook = Clock::now();
    Clock::time_point nextRead = nextLook;
    while (!stop.load()) {
        // Nobody watching: only the listening socket is waited on, and the screen is not read.
        // Watched: the cursor is followed every interval, the screen read at the pace of its
        // changes (a moving cursor counts as one: what is under it is about to change).
        Clock::duration wait = interval;
        if (screen_->clientHead != nullptr) {
            Clock::time_point now = Clock::now();
            if (now >= nextLook) {
                if (UpdateCursor()) {
                    quietReads_ = 0;
                }
                if (now >= nextRead || quietReads_ == 0) {
                    quietReads_ = Refresh(false) ? 0 : quietReads_ + 1;
                    nextRead = now + std::chrono::duration_cast<Clock::duration>(
                                         PollWait(settings_.pollInterval, quietReads_));
                }
                nextLook = now + interval;
            }
            wait = nextLook - Clock::now();
        }
        long waitUs = static_cast<long>(std::max<long long>(
            0, std::chrono::duration_cast<std::chrono::microseconds>(wait).count()));
        rfbProcessEvents(screen_, waitUs);
    }
}

bool ScreenServer::Refresh(bool whole) {
    bool changed = false;
    FrameSize size = desktop_.Size();
    if (size.width > 0 && size.height > 0 && !(size == size_)) {
        Resize(size);
        changed = whole = true;
    }
    std::optional<std::vector<ScreenRect>> read = ReadScreen(whole);
    for (const ScreenRect& area : read.value_or(std::vector<ScreenRect>{})) {
        for (const ChangedRect& rect :
             FindChangedRectsWithin(frame_.data(), next_.data(), size_.width, area)) {
            changed = true;
            for (int y = rect.y; y < rect.y + rect.height; ++y) {
                std::size_t offset = static_cast<std::size_t>(y) * size_.width + rect.x;
                std::copy_n(next_.data() + offset, rect.width, frame_.data() + offset);
            }
            rfbMarkRectAsModified(screen_, rect.x, rect.y, rect.x + rect.width,
                                  rect.y + rect.height);
        }
    }
    return UpdateCursor() || changed;
}

// next_ equals frame_ after every refresh (each change is copied over), so a change can only
// be where a look has just read: comparing the areas read finds all of it. A sample row that
// did not change is equal to the frame; one that did lies in an area read whole.
std::optional<std::vector<ScreenRect>> ScreenServer::ReadScreen(bool whole) {
    const ScreenRect all{0, 0, size_.width, size_.height};
    if (whole || readWholeNext_ || size_.width <= 0 || size_.height <= 0) {
        if (!desktop_.Capture(next_.data(), size_, all)) {
            return std::nullopt;
        }
        readWholeNext_ = false;
        return std::vector<ScreenRect>{all};
    }
    const int sampleRow = SampleRowInBand(looks_++);
    for (int y = sampleRow; y < size_.height; y += kChangeTile) {
        if (!desktop_.Capture(next_.data(), size_, {0, y, size_.width, 1})) {
            // Rows read before the failure are in next_ but were not compared.
            readWholeNext_ = true;
            return std::nullopt;
        }
    }
    std::vector<ScreenRect> areas = AreasAroundChangedSamples(frame_.data(), next_.data(),
                                                              size_.width, size_.height, sampleRow);
    for (const ScreenRect& area : areas) {
        if (!desktop_.Capture(next_.data(), size_, area)) {
            readWholeNext_ = true;
            return std::nullopt;
        }
    }
    return areas;
}

void ScreenServer::Resize(FrameSize size) {
    std::vector<std::uint32_t> frame(static_cast<std::size_t>(size.width) * size.height, 0);
    desktop_.Capture(frame.data(), size, {0, 0, size.width, size.height});
    rfbNewFramebuffer(screen_, reinterpret_cast<char*>(frame.data()), size.width, size.height, 8, 3,
                      4);
    screen_->serverFormat.redShift = 16;
    screen_->serverFormat.greenShift = 8;
    screen_->serverFormat.blueShift = 0;
    frame_.swap(frame); // the library's pointer stays valid: the buffer moves, not the bytes
    next_ = frame_;     // the two agree after every refresh: see ReadScreen
    size_ = size;
}

bool ScreenServer::UpdateCursor() {
    bool changed = false;
    CursorShape shape = desktop_.Cursor();
    if (!(shape == cursor_)) {
        if (rfbCursorPtr cursor = MakeCursor(shape)) {
            rfbSetCursor(screen_, cursor); // the library frees the one before
            cursor_ = std::move(shape);
            changed = true;
        }
    }
    PointerPosition pointer = desktop_.Pointer();
    if (!(pointer == pointer_)) {
        MarkCursor(); // where it was
        pointer_ = pointer;
        screen_->cursorX = pointer.x;
        screen_->cursorY = pointer.y;
        rfbClientIteratorPtr clients = rfbGetClientIterator(screen_);
        while (rfbClientPtr client = rfbClientIteratorNext(clients)) {
            client->cursorWasMoved = TRUE;
        }
        rfbReleaseClientIterator(clients);
        MarkCursor(); // where it is
        changed = true;
    }
    return changed;
}

// Viewers that cannot draw the cursor themselves get it drawn into the frame: the area under it
// is sent again when it moves.
void ScreenServer::MarkCursor() {
    if (screen_->cursor == nullptr) {
        return;
    }
    int x = pointer_.x - screen_->cursor->xhot;
    int y = pointer_.y - screen_->cursor->yhot;
    rfbMarkRectAsModified(screen_, std::max(0, x), std::max(0, y),
                          std::min(size_.width, x + screen_->cursor->width),
                          std::min(size_.height, y + screen_->cursor->height));
}

std::string ScreenPassword(const std::string& roomPassword) {
    return roomPassword.empty() ? std::string(kDefaultScreenPassword) : roomPassword;
}
