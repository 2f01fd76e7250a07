#include "viewer/vnc_connection.h"

#include "platform/net.h"
#include "viewer/socket_waker.h"

#include <rfb/rfbclient.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <vector>

namespace {

constexpr int kConnectSliceMs = 50;         // how often a connect in progress looks at Stop()
constexpr unsigned kMessageWaitUs = 100000; // and a connection that is up
constexpr unsigned kReadTimeoutS = 10;      // a server silent in the middle of a message is gone

struct InputEvent {
    bool key = false;
    std::uint32_t keysym = 0;
    bool down = false;
    int x = 0, y = 0, buttons = 0;
};

// The library logs every step to standard error; the viewer says what matters itself.
void QuietLog(const char*, ...) {}

char kStateTag; // the address tags the state in the library's client data

} // namespace

struct VncConnection::State {
    VncSettings settings;
    VncListener& listener;
    std::atomic<bool> stop{false};

    std::mutex wakerLock;
    std::unique_ptr<SocketWaker> waker;

    // Held while the library works on the client (it writes the frame and the socket) and
    // while the window reads the frame; recursive because the library resizes the frame from
    // inside a message handled under the lock.
    mutable std::recursive_mutex clientLock;
    rfbClient* client = nullptr; // set while connected
    std::vector<std::uint8_t> frame;
    int width = 0, height = 0;
    bool passwordAsked = false;
    bool dirty = false;
    int dirtyLeft = 0, dirtyTop = 0, dirtyRight = 0, dirtyBottom = 0;

    std::mutex inputLock;
    std::deque<InputEvent> input;

    State(VncSettings s, VncListener& l) : settings(std::move(s)), listener(l) {}

    void Run();
    ConnectionOutcome Connect(platform::Socket& socket);
    void Serve(rfbClient* connected);
    void SendQueuedInput(); // with clientLock held
};

namespace {

VncConnection::State* StateOf(rfbClient* client) {
    return static_cast<VncConnection::State*>(rfbClientGetClientData(client, &kStateTag));
}

rfbBool AllocateFrame(rfbClient* client) {
    VncConnection::State* state = StateOf(client);
    std::lock_guard<std::recursive_mutex> hold(state->clientLock);
    const std::size_t bytes =
        std::size_t(std::max(client->width, 0)) * std::size_t(std::max(client->height, 0)) * 4;
    try {
        state->frame.assign(std::max<std::size_t>(bytes, 4), 0);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    state->width = client->width;
    state->height = client->height;
    client->frameBuffer = state->frame.data();
    state->dirty = false;
    if (!state->stop) {
        state->listener.OnFrameResized(state->width, state->height);
    }
    return TRUE;
}

void NoteUpdate(rfbClient* client, int x, int y, int w, int h) {
    VncConnection::State* state = StateOf(client);
    if (!state->dirty) {
        state->dirty = true;
        state->dirtyLeft = x;
        state->dirtyTop = y;
        state->dirtyRight = x + w;
        state->dirtyBottom = y + h;
        return;
    }
    state->dirtyLeft = std::min(state->dirtyLeft, x);
    state->dirtyTop = std::min(state->dirtyTop, y);
    state->dirtyRight = std::max(state->dirtyRight, x + w);
    state->dirtyBottom = std::max(state->dirtyBottom, y + h);
}

void FinishUpdate(rfbClient* client) {
    VncConnection::State* state = StateOf(client);
    if (state->dirty && !state->stop) {
        state->listener.OnRegionUpdated(state->dirtyLeft, state->dirtyTop,
                                        state->dirtyRight - state->dirtyLeft,
                                        state->dirtyBottom - state->dirtyTop);
    }
    state->dirty = false;
}

char* GivePassword(rfbClient* client) {
    VncConnection::State* state = StateOf(client);
    state->passwordAsked = true;
    return strdup(state->settings.password.c_str()); // the library frees it
}

} // namespace

ConnectionOutcome VncConnection::State::Connect(platform::Socket& socket) {
    socket = platform::CreateTcpSocket();
    if (!socket.Valid() || !platform::SetNonBlocking(socket, true) ||
        !platform::StartConnect(socket, settings.address.c_str(), settings.port)) {
        return ConnectionOutcome::unreachable; // no IPv4 address, or no socket to try with
    }
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(settings.connectTimeoutMs);
    while (!stop && std::chrono::steady_clock::now() < deadline) {
        int error = 0;
        platform::Wait done = platform::FinishConnect(socket, kConnectSliceMs, error);
        if (done == platform::Wait::ready) {
            return ConnectionOutcome::connected;
        }
        if (done == platform::Wait::failed) {
            return platform::IsConnectionRefused(error) ? ConnectionOutcome::refused
                                                        : ConnectionOutcome::unreachable;
        }
    }
    return ConnectionOutcome::unreachable;
}

void VncConnection::State::Run() {
    platform::Socket socket;
    ConnectionOutcome reached = Connect(socket);
    if (stop) {
        return;
    }
    if (reached != ConnectionOutcome::connected) {
        listener.OnOutcome(reached);
        return;
    }
    {
        std::lock_guard<std::mutex> hold(wakerLock);
        if (stop) {
            return;
        }
        waker = std::make_unique<SocketWaker>(socket.Native());
    }
    static std::once_flag quiet;
    std::call_once(quiet, [] { rfbClientLog = QuietLog; });
    rfbClient* handshake = rfbGetClient(8, 3, 4);
    if (handshake == nullptr) {
        listener.OnOutcome(ConnectionOutcome::unreachable);
        return;
    }
    // Blue in the lowest byte: the frame is a Windows DIB's pixels as it arrives.
    handshake->format.redShift = 16;
    handshake->format.greenShift = 8;
    handshake->format.blueShift = 0;
    rfbClientSetClientData(handshake, &kStateTag, this);
    handshake->MallocFrameBuffer = AllocateFrame;
    handshake->GotFrameBufferUpdate = NoteUpdate;
    handshake->FinishedFrameBufferUpdate = FinishUpdate;
    handshake->GetPassword = GivePassword;
    handshake->canHandleNewFBSize = TRUE;
    handshake->appData.encodingsString = settings.encodings.c_str();
    handshake->appData.enableJPEG = FALSE;
    handshake->appData.useRemoteCursor = FALSE;
    handshake->appData.shareDesktop = TRUE;
    handshake->readTimeout = kReadTimeoutS;
    // Our connection, handed over as if the library had accepted it: it skips its own connect.
    handshake->listenSpecified = TRUE;
    handshake->sock = socket.Release();
    if (!rfbInitClient(handshake, nullptr, nullptr)) {
        // The library has freed the client and closed the socket.
        if (!stop) {
            listener.OnOutcome(passwordAsked ? ConnectionOutcome::wrongPassword
                                             : ConnectionOutcome::refused);
        }
        return;
    }
    Serve(handshake);
}

void VncConnection::State::Serve(rfbClient* connected) {
    {
        std::lock_guard<std::recursive_mutex> hold(clientLock);
        client = connected;
    }
    if (!stop) {
        listener.OnDesktopName(connected->desktopName != nullptr ? connected->desktopName : "");
        listener.OnOutcome(ConnectionOutcome::connected);
    }
    bool up = true;
    while (up && !stop) {
        bool queued = false;
        {
            std::lock_guard<std::mutex> hold(inputLock);
            queued = !input.empty();
        }
        // Bytes the library has already read do not wake a wait on the socket.
        int waiting = connected->buffered > 0 ? 1
                      : queued                ? 0
                                              : WaitForMessage(connected, kMessageWaitUs);
        if (waiting < 0) {
            break;
        }
        std::lock_guard<std::recursive_mutex> hold(clientLock);
        if (waiting > 0) {
            up = HandleRFBServerMessage(connected) != FALSE;
        }
        SendQueuedInput();
    }
    {
        std::lock_guard<std::mutex> hold(wakerLock);
        waker.reset();
    }
    {
        std::lock_guard<std::recursive_mutex> hold(clientLock);
        client = nullptr;
        rfbClientCleanup(connected); // closes the socket; the frame is ours and stays
    }
    if (!stop) {
        listener.OnOutcome(ConnectionOutcome::lost);
    }
}

void VncConnection::State::SendQueuedInput() {
    std::deque<InputEvent> pending;
    {
        std::lock_guard<std::mutex> hold(inputLock);
        pending.swap(input);
    }
    for (const InputEvent& event : pending) {
        if (client == nullptr) {
            return;
        }
        if (event.key) {
            SendKeyEvent(client, event.keysym, event.down ? TRUE : FALSE);
        } else {
            SendPointerEvent(client, event.x, event.y, event.buttons);
        }
    }
}

VncConnection::VncConnection(VncSettings settings, VncListener& listener)
    : state_(std::make_shared<State>(std::move(settings), listener)),
      thread_([state = state_] { state->Run(); }) {}

VncConnection::~VncConnection() {
    Stop();
}

void VncConnection::Stop() {
    state_->stop = true;
    {
        std::lock_guard<std::mutex> hold(state_->wakerLock);
        if (state_->waker) {
            state_->waker->Wake();
        }
    }
    if (thread_.joinable()) {
        thread_.join();
    }
}

namespace {

void Queue(VncConnection::State& state, const InputEvent& event) {
    {
        std::lock_guard<std::mutex> hold(state.inputLock);
        state.input.push_back(event);
    }
    // Sent at once when the connection's thread is waiting for the server; else it sends the
    // queue itself as soon as it has handled the message it is reading.
    std::unique_lock<std::recursive_mutex> hold(state.clientLock, std::try_to_lock);
    if (hold.owns_lock()) {
        state.SendQueuedInput();
    }
}

} // namespace

void VncConnection::SendPointer(int x, int y, int buttons) {
    InputEvent event;
    event.x = x;
    event.y = y;
    event.buttons = buttons;
    Queue(*state_, event);
}

void VncConnection::SendKey(std::uint32_t keysym, bool down) {
    InputEvent event;
    event.key = true;
    event.keysym = keysym;
    event.down = down;
    Queue(*state_, event);
}

void VncConnection::ReadFrame(const std::function<void(const FrameView&)>& use) const {
    std::lock_guard<std::recursive_mutex> hold(state_->clientLock);
    if (state_->width <= 0 || state_->height <= 0) {
        return;
    }
    use(FrameView{state_->frame.data(), state_->width, state_->height});
}
