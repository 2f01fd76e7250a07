// The push request listener: accepts a node's connection on TCP 12341, reads its reason once,
// closes the connection, asks the presenter and on Yes starts the viewer on the node's
// address. A reader thread accepts and reads every connection at once, each within its own
// reason wait, so a node that connects and says nothing holds up nobody else; the presenter is
// asked one request at a time, in the order they were read, on the listener's own thread.
#pragma once

#include "discovery/node_registry.h"
#include "platform/net.h"
#include "push/day_log.h"
#include "push/push_prompt.h"
#include "push/push_protocol.h"
#include "push/push_request_queue.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <vector>

// How long the listener waits for an accepted node to send its reason. The agent sends it
// right after connecting, so on a classroom LAN it is there within milliseconds; even a lost
// segment is sent again well within a second. Three seconds leave room for that on a busy
// network and a slow node, while a node that connects and never sends (a crashed or hostile
// peer) is given up on after that; after the wait the request is served with whatever arrived,
// which is then nothing. Connections are read side by side, each with its own wait.
inline constexpr int kReasonWaitMs = 3000;

// After an accept that failed although the wait reported a connection (out of descriptors,
// or a connection reset while it waited), a short pause keeps the thread from spinning.
inline constexpr int kAcceptRetryPauseMs = 50;

// Connections accepted after one wait before those being read get their turn again.
inline constexpr int kMaxAcceptsPerWait = 64;

// Connections read at once, each for up to its reason wait; within what one wait of the socket
// library can watch (64 sockets on Windows) beside the listening socket. While this many are
// read, further connections wait in the listen queue: a room that asks all at once loses
// nothing, and only as many silent connections from as many machines hold it up.
inline constexpr std::size_t kMaxReadingPushRequests = 32;

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

// Creates the listening socket, binds it and listens, printing one line for each step.
// Invalid when a step failed (its line says which).
platform::Socket OpenPushListener(const PushListenerSettings& settings);

// Serves requests: reads them on a reader thread of its own and asks the presenter on the
// calling thread. Returns when the reader's wait failed (after printing the select line) and
// the requests it read have been asked, or, in tests, when asked to stop.
void ServePushRequests(const platform::Socket& listener, const PushListenerSettings& settings);

// The reader's side: accepts connections, admits them to the queue (or drops them with a
// line) and reads each admitted one within its reason wait, all of them at once.
class PushRequestReader {
public:
    PushRequestReader(const platform::Socket& listener, const PushListenerSettings& settings,
                      PushRequestQueue& queue);
    // One wait on the listening socket and every connection being read, at most until the
    // earliest reason wait ends; then reads what arrived or is due and accepts what waits.
    // False when the wait failed (the select line is printed) or, in tests, to stop.
    bool Turn();
    // Accepts what waits on the listening socket, while fewer than kMaxReadingPushRequests are
    // read: the number accepted. A failed accept is
    // neither looked up, nor admitted, nor printed.
    int AcceptWaiting();

private:
    // Tests end the reader once it is set: no connection is accepted after that.
    bool Stopping() const;

    struct Reading {
        platform::Socket connection;
        PushRequest request;
        std::chrono::steady_clock::time_point due;
    };

    const platform::Socket& listener_;
    const PushListenerSettings& settings_;
    PushRequestQueue& queue_;
    std::vector<Reading> reading_;
};

// The presenter's side: waits for the next request read, asks it, and on Yes starts the viewer
// on its address. False once the queue is closed and nothing waits.
bool AskNextPushRequest(PushRequestQueue& queue, const PushListenerSettings& settings);

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
