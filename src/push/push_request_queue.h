// The requests between the listener, which reads them, and the presenter, who is asked them one
// at a time. One node (one peer address) has at most one request held here, from the moment
// its connection is accepted until the presenter has answered it, so that one machine that
// connects again and again costs the presenter one question. The queue is bounded: a room that
// asks more at once than fits waits for nobody and loses only what does not fit.
#pragma once

#include "push/push_protocol.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <set>
#include <string>

// One request as the listener holds it: zero-filled, zero-terminated byte strings.
struct PushRequest {
    char peerAddress[64];             // dotted decimal, as the connection's peer address
    char nodeName[64];                // the registry's name for that address, or empty
    char reason[kMaxReasonBytes + 1]; // the one receive's bytes; the last byte stays zero
};

// Requests read or being read, not yet shown: more are dropped. Each is one node's, so this is
// more than a room's worth.
inline constexpr std::size_t kMaxWaitingPushRequests = 64;

enum class PushAdmission {
    admitted,    // its reading may begin; Add follows when it has been read
    sameAddress, // that address has a request being read, waiting or shown
    full,        // kMaxWaitingPushRequests are read or being read
};

class PushRequestQueue {
public:
    explicit PushRequestQueue(std::size_t maxWaiting = kMaxWaitingPushRequests);

    // A connection from address was accepted: may it be read?
    PushAdmission Admit(const std::string& address);
    // An admitted request has been read: it waits behind those read before it.
    void Add(const PushRequest& request);
    // Waits until a request waits and hands it out to be shown, first read first; nullopt once
    // the queue is closed and nothing waits any more.
    std::optional<PushRequest> NextToAsk();
    // The presenter answered the request of address: that address may ask again.
    void Answered(const std::string& address);
    // No more requests come; those waiting are still handed out.
    void Close();
    // How many have been read and wait to be shown.
    std::size_t Waiting();

private:
    const std::size_t maxWaiting_;
    std::mutex lock_;
    std::condition_variable added_;
    std::set<std::string> held_; // addresses with a request being read, waiting or shown
    std::size_t reading_ = 0;
    std::deque<PushRequest> waiting_;
    bool closed_ = false;
};
