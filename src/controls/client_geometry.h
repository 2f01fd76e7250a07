// Points and rectangles in client-area pixels: x to the right and y downwards from the
// top-left corner of a window's client area.
#pragma once

#include <cstdint>

struct ClientPoint {
    std::int32_t x;
    std::int32_t y;

    friend constexpr bool operator==(const ClientPoint&, const ClientPoint&) = default;
};

// A painted area: the right column and the bottom row are not part of it.
struct ClientRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;

    constexpr std::int32_t Width() const { return right - left; }
    constexpr std::int32_t Height() const { return bottom - top; }
    constexpr bool Contains(ClientPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }

    friend constexpr bool operator==(const ClientRect&, const ClientRect&) = default;
};

// A zone that the mouse can hit: both ends of each range belong to it.
struct HitZone {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;

    constexpr bool Holds(ClientPoint p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
};
