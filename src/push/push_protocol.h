// The screen-push request exchange: a node connects to the console on TCP 12341 and sends a
// short reason; the console reads it once, closes the connection and asks the presenter.
#pragma once

#include <cstdint>

inline constexpr std::uint16_t kPushPort = 12341;
inline constexpr int kMaxReasonBytes = 128; // the console reads at most this much, once

// The presenter's question is composed in 128 bytes: 127 of text and the terminating zero.
// Its fixed words take 42 of them, a node name up to 63, and the reason what is left, so with
// no name at most 85 bytes of a reason are shown.
inline constexpr int kPromptBytes = 128;
inline constexpr int kPromptFixedBytes = 42;
inline constexpr int kMaxShownReasonBytes = kPromptBytes - 1 - kPromptFixedBytes;
