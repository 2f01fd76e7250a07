#include "screen/change_finder.h"

#include <algorithm>
#include <cstring>

namespace {

bool TileDiffers(const std::uint32_t* before, const std::uint32_t* after, int width, int x, int y,
                 int tileWidth, int tileHeight) {
    for (int row = y; row < y + tileHeight; ++row) {
        std::size_t offset = static_cast<std::size_t>(row) * width + x;
        if (std::memcmp(before + offset, after + offset, tileWidth * sizeof(std::uint32_t)) != 0) {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<ChangedRect> FindChangedRects(const std::uint32_t* before, const std::uint32_t* after,
                                          int width, int height, int tile) {
    return FindChangedRectsWithin(before, after, width, {0, 0, width, height}, tile);
}

std::vector<ChangedRect> FindChangedRectsWithin(const std::uint32_t* before,
                                                const std::uint32_t* after, int width,
                                                const ScreenRect& area, int tile) {
    std::vector<ChangedRect> rects;
    if (width <= 0 || area.width <= 0 || area.height <= 0 || tile <= 0 || area.x < 0 ||
        area.y < 0 || area.x + area.width > width) {
        return rects;
    }
    const int right = area.x + area.width;
    const int bottom = area.y + area.height;
    for (int y = area.y; y < bottom; y += tile) {
        int tileHeight = std::min(tile, bottom - y);
        bool inRun = false;
        for (int x = area.x; x < right; x += tile) {
            int tileWidth = std::min(tile, right - x);
            if (!TileDiffers(before, after, width, x, y, tileWidth, tileHeight)) {
                inRun = false;
                continue;
            }
            if (inRun) {
                rects.back().width += tileWidth;
            } else {
                rects.push_back({x, y, tileWidth, tileHeight});
                inRun = true;
            }
        }
    }
    return rects;
}

int SampleRowInBand(int look, int tile) {
    // The look's number, its bits reversed within the band: 0, half, quarter, three quarters...
    int bits = 0;
    while ((1 << (bits + 1)) <= tile) {
        ++bits;
    }
    const unsigned step = static_cast<unsigned>(look) & ((1u << bits) - 1);
    unsigned reversed = 0;
    for (int bit = 0; bit < bits; ++bit) {
        reversed |= ((step >> bit) & 1u) << (bits - 1 - bit);
    }
    return static_cast<int>(reversed) % std::max(tile, 1);
}

std::vector<ScreenRect> AreasAroundChangedSamples(const std::uint32_t* before,
                                                  const std::uint32_t* after, int width, int height,
                                                  int sampleRow, int tile) {
    std::vector<ScreenRect> areas;
    if (width <= 0 || height <= 0 || tile <= 0 || sampleRow < 0 || sampleRow >= tile) {
        return areas;
    }
    const int bands = (height + tile - 1) / tile;
    // Per band, the changed columns' span in tiles: [first, last], first > last for none.
    std::vector<int> first(bands, width), last(bands, -1);
    for (int band = 0; band < bands; ++band) {
        const int row = band * tile + sampleRow;
        if (row >= height) {
            continue;
        }
        const std::uint32_t* was = before + static_cast<std::size_t>(row) * width;
        const std::uint32_t* is = after + static_cast<std::size_t>(row) * width;
        int x0 = 0;
        while (x0 < width && was[x0] == is[x0]) {
            ++x0;
        }
        if (x0 == width) {
            continue;
        }
        int x1 = width - 1;
        while (was[x1] == is[x1]) {
            --x1;
        }
        for (int neighbour = std::max(band - 1, 0); neighbour <= std::min(band + 1, bands - 1);
             ++neighbour) {
            first[neighbour] = std::min(first[neighbour], x0 / tile * tile);
            last[neighbour] = std::max(last[neighbour], x1);
        }
    }
    for (int band = 0; band < bands; ++band) {
        if (first[band] > last[band]) {
            continue;
        }
        const int right = std::min(width, (last[band] / tile + 1) * tile);
        areas.push_back(
            {first[band], band * tile, right - first[band], std::min(tile, height - band * tile)});
    }
    return areas;
}
