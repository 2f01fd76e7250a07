// What changed between two captures of the screen: the frames are compared in square tiles and
// each run of changed tiles in a row of tiles becomes one rectangle, so that a small change
// sends a small update and an unchanged screen sends nothing.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr int kChangeTile = 32;

struct ChangedRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ChangedRect&) const = default;
};

// before and after hold width * height pixels, row after row. Tiles at the right and bottom
// edges are cut to the frame. Returns the rectangles top to bottom, left to right.
std::vector<ChangedRect> FindChangedRects(const std::uint32_t* before, const std::uint32_t* after,
                                          int width, int height, int tile = kChangeTile);
