// The screen-push request exchange: a node connects to the console on TCP 12341 and sends a
// short reason; the console reads it once, closes the connection and asks the presenter.
#pragma once

#include <cstdint>

inline constexpr std::uint16_t kPushPort = 12341;
inline constexpr int kMaxReasonBytes = 128; // the console reads at most this much, once
