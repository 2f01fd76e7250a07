// A colour as the window system passes it around: red in bits 0 to 7, green in 8 to 15, blue
// in 16 to 23, the top byte zero (the layout of a Windows COLORREF). Kept as a plain 32-bit
// integer so that the core never needs the window system's headers and a value converts to
// and from a COLORREF without any shuffling.
#pragma once

#include <cstdint>

using PackedColour = std::uint32_t;

constexpr PackedColour MakePackedColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<PackedColour>(red) | static_cast<PackedColour>(green) << 8 |
           static_cast<PackedColour>(blue) << 16;
}

constexpr std::uint8_t RedOf(PackedColour colour) {
    return colour & 0xFF;
}
constexpr std::uint8_t GreenOf(PackedColour colour) {
    return (colour >> 8) & 0xFF;
}
constexpr std::uint8_t BlueOf(PackedColour colour) {
    return (colour >> 16) & 0xFF;
}

// A grey with all three channels at level.
constexpr PackedColour GreyColour(std::uint8_t level) {
    return MakePackedColour(level, level, level);
}

inline constexpr PackedColour kBlackColour = 0x000000;
inline constexpr PackedColour kWhiteColour = 0xFFFFFF;
