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
    std::vector<ChangedRect> rects;
    if (width <= 0 || height <= 0 || tile <= 0) {
        return rects;
    }
    for (int y = 0; y < height; y += tile) {
        int tileHeight = std::min(tile, height - y);
        bool inRun = false;
        for (int x = 0; x < width; x += tile) {
            int tileWidth = std::min(tile, width - x);
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
