// The screen-push request exchange: a node connects to the console on TCP 12341 and sends a
// short reason; the console reads it once, closes the connection and asks the presenter.
#pragma once

#include <cstdint>

inline constexpr std::uint16_t kPushPort = 12341;
inline constexpr int kMaxReasonBytes = 128; // the console reads at most this much, once

// The presenter's question is composed in a buffer that holds its fixed words (42 bytes), the
// longest node name (63), the longest reason (128) and the terminating zero, so the name and
// the whole reason are always shown.
inline constexpr int kPromptFixedBytes = 42;
inline constexpr int kMaxNodeNameBytes = 63;
inline constexpr int kPromptBytes = kPromptFixedBytes + kMaxNodeNameBytes + kMaxReasonBytes + 1;
inline constexpr int kMaxShownReasonBytes = kMaxReasonBytes;
