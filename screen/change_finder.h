// What changed between two captures of the screen: the frames are compared in square tiles and
// each run of changed tiles in a row of tiles becomes one rectangle, so that a small change
// sends a small update and an unchanged screen sends nothing.
#pragma once

#include "screen/desktop.h"

#include <cstdint>
#include <vector>

inline constexpr int kChangeTile = 32;

using ChangedRect = ScreenRect;

// before and after hold width * height pixels, row after row. Tiles at the right and bottom
// edges are cut to the frame. Returns the rectangles top to bottom, left to right.
std::vector<ChangedRect> FindChangedRects(const std::uint32_t* before, const std::uint32_t* after,
                                          int width, int height, int tile = kChangeTile);
// The same within one area of the frames (its tiles counted from the area's corner, cut to it).
std::vector<ChangedRect> FindChangedRectsWithin(const std::uint32_t* before,
                                                const std::uint32_t* after, int width,
                                                const ScreenRect& area, int tile = kChangeTile);

// Reading the whole screen is slow (about 30 ms for 1280x800 under Wine); one row costs about
// a six-hundredth of that. So a watched screen is looked at through sample rows, one in every
// band of tile rows, and only around the samples that changed is it read whole. The sample's
// row within its band moves from one look to the next in bit-reversed order (0, 16, 8, 24, 4,
// ... for tiles of 32), so that a change 16 rows high is seen within two looks, 8 rows high
// within four, and every row within one look per row of the band.
int SampleRowInBand(int look, int tile = kChangeTile);

// The areas to read whole after a look whose sample rows (row `sampleRow` of every band) are in
// `after`: for each band whose sample differs from `before`, the tiles from the first to the
// last changed column, in that band and the bands above and below it (a change seen at the
// sample may go on past the band's edges). One area per band, top to bottom.
std::vector<ScreenRect> AreasAroundChangedSamples(const std::uint32_t* before,
                                                  const std::uint32_t* after, int width, int height,
                                                  int sampleRow, int tile = kChangeTile);
