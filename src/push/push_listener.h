// The push request listener: accepts a node's connection on TCP 12341, reads its reason once,
// closes the connection, asks the presenter and on Yes starts the viewer on the node's
// address. One request at a time, each to its end, on the listener's own thread.
#pragma once

#include "discovery/node_registry.h"
#include "platform/net.h"
#include "push/day_log.h"
#include "push/push_prompt.h"
#include "push/push_protocol.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <iosfwd>

// How long the listener waits for an accepted node to send its reason. The agent sends it
// right after connecting, so on a classroom LAN it is there within milliseconds; even a lost
// segment is sent again well within a second. Three seconds leave room for that on a busy
// network and a slow node, while a node that connects and never sends (a crashed or hostile
// peer) holds up the requests queued behind it for no longer than that; after the wait the
// request is served with whatever arrived, which is then nothing.
inline constexpr int kReasonWaitMs = 3000;

// After an accept that failed although the wait reported a connection (out of descriptors,
// or a connection reset while it waited), a short pause keeps the thread from spinning.
inline constexpr int kAcceptRetryPauseMs = 50;

// The backlog asked of listen: the largest value, so that the system uses its longest queue.
inline constexpr int kPushBacklog = 0x7FFFFFFF;

using ViewerLauncher = std::function<void(const char* address)>;

// Everything the listener works with. The product's listener takes all local addresses on
// 12341, the process-wide registry, a message box, the viewer launch and standard output.
struct PushListenerSettings {
    std::uint16_t port = kPushPort;
    const char* bindAddress = nullptr;      // nullptr: all local IPv4 addresses
    const NodeRegistry* registry = nullptr; // nullptr: the process-wide registry
    PushPrompt* prompt = nullptr;           // required
    ViewerLauncher launchViewer;            // called with the node's address on Yes
    std::ostream* diagnostics = nullptr;    // the diagnostic lines; nullptr: standard output
    int reasonWaitMs = kReasonWaitMs;
    // Only for tests and benchmarks: when set, the loop returns after the wait that follows.
    const std::atomic<bool>* stop = nullptr;
};

// One request as the listener holds it: zero-filled, zero-terminated byte strings.
struct PushRequest {
    char peerAddress[64];             // dotted decimal, as the connection's peer address
    char nodeName[64];                // the registry's name for that address, or empty
    char reason[kMaxReasonBytes + 1]; // the one receive's bytes; the last byte stays zero
};

// Creates the listening socket, binds it and listens, printing one line for each step.
// Invalid when a step failed (its line says which).
platform::Socket OpenPushListener(const PushListenerSettings& settings);

// The wait-accept-ask loop over the listening socket; returns only when the wait fails (after
// printing the select line) or, in tests, when asked to stop.
void ServePushRequests(const platform::Socket& listener, const PushListenerSettings& settings);

enum class PushServed { asked, acceptFailed };

// One turn of the loop after the wait: accept, look up, read, close, ask, launch on Yes.
// A failed accept is neither looked up, nor asked about, nor launched.
PushServed ServeOnePushRequest(const platform::Socket& listener,
                               const PushListenerSettings& settings);

// Waits up to waitMs for the connection to become readable, then receives once, at most 128
// bytes, into the zero-filled reason. Returns the number of bytes received (0 when nothing
// arrived in time, the node closed or the receive failed).
int ReceiveReason(const platform::Socket& connection, char (&reason)[kMaxReasonBytes + 1],
                  int waitMs);

// OpenPushListener, then ServePushRequests until it returns; the socket is then closed.
void RunPushListener(const PushListenerSettings& settings);

// The listener thread's whole work: start the socket library (version 2.2) and on success
// write the day log entry; then run the listener; stop the socket library if it started.
struct PushThreadSettings {
    DayLogSettings dayLog;
    PushListenerSettings listener;
};
void RunPushListenerThread(const PushThreadSettings& settings);
