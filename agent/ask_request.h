// Sending one screen-push request to a console, without any user interface: used by
// `cluma-agent ask` and by the student's window, ClumaAsk.exe.
#pragma once

#include "push/push_protocol.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class AskOutcome {
    delivered,      // the console read the request
    waiting,        // sent; the console is still asking about an earlier request
    noConsoleKnown, // no --console given and no console has searched this machine yet
    badAddress,     // the console or bind address is not a dotted IPv4 address of this kind
    bindFailed,     // the remembered local address is not this machine's (any more)
    refused,        // the console's PC answered, but nothing listens on the push port
    unreachable,    // no answer within the connect timeout
    cutOff,         // the console closed the connection before it had the whole request
    networkDown,    // no socket could be made
};

struct AskRequest {
    std::string console; // the console's dotted address
    std::string bind;    // the local address to send from; empty: any
    std::uint16_t port = kPushPort;
    std::string reason;          // sent as it is: cut it with CutReason first
    int connectTimeoutMs = 3000; // bounded: a console that does not answer is reported
    int deliveryWaitMs = 5000;
};

struct AskResult {
    AskOutcome outcome = AskOutcome::networkDown;
    int systemError = 0; // the socket error behind a failure, 0 when none
};

// Fills request.console and request.bind from the overrides when given, otherwise from the
// state file at statePath. False when no console is known.
bool ResolveAskTarget(const std::string& consoleOverride, const std::string& bindOverride,
                      const std::string& statePath, AskRequest& request);

// The reason cut to at most maxBytes without splitting a character: UTF-8 on Linux, the ANSI
// code page on Windows (the console shows ANSI text).
std::string CutReason(std::string_view reason, std::size_t maxBytes = kMaxReasonBytes);

// Connects (from request.bind when set), sends the reason and waits a bounded time for the
// console to take it. Never blocks longer than connectTimeoutMs + deliveryWaitMs plus the
// send time bounded by connectTimeoutMs.
AskResult SendAskRequest(const AskRequest& request);

// One or two plain sentences for the student on what happened: sent to which console, or
// why not and what to do.
std::string DescribeAskResult(const AskRequest& request, const AskResult& result);
