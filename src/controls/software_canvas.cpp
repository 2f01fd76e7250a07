#include "controls/software_canvas.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

SoftwareCanvas::SoftwareCanvas(std::int32_t width, std::int32_t height, PackedColour background,
                               SystemColourScheme scheme)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), scheme_(scheme),
      pixels_(static_cast<std::size_t>(width_) * height_, background) {}

void SoftwareCanvas::Plot(std::int32_t x, std::int32_t y, PackedColour colour) {
    if (x >= 0 && x < width_ && y >= 0 && y < height_) {
        pixels_[static_cast<std::size_t>(y) * width_ + x] = colour;
    }
}

void SoftwareCanvas::FillRect(const ClientRect& rect, PackedColour colour) {
    const std::int32_t left = std::max(rect.left, 0);
    const std::int32_t top = std::max(rect.top, 0);
    const std::int32_t right = std::min(rect.right, width_);
    const std::int32_t bottom = std::min(rect.bottom, height_);
    for (std::int32_t y = top; y < bottom; ++y) {
        for (std::int32_t x = left; x < right; ++x) {
            pixels_[static_cast<std::size_t>(y) * width_ + x] = colour;
        }
    }
}

void SoftwareCanvas::DrawLine(ClientPoint from, ClientPoint to, PackedColour colour) {
    // Horizontal and vertical lines, the only ones the picker draws, are exactly what GDI
    // draws with a one-pixel pen: every pixel from `from` up to `to`, `to` excluded. They are
    // clipped first, so any coordinates are cheap.
    if (from.y == to.y || from.x == to.x) {
        auto clampX = [&](std::int32_t x) { return std::clamp(x, -1, width_ + 1); };
        auto clampY = [&](std::int32_t y) { return std::clamp(y, -1, height_ + 1); };
        if (from.y == to.y && from.x != to.x) {
            const std::int32_t a = clampX(from.x);
            const std::int32_t b = clampX(to.x);
            const std::int32_t y = clampY(from.y);
            FillRect(a < b ? ClientRect{a, y, b, y + 1} : ClientRect{b + 1, y, a + 1, y + 1},
                     colour);
        } else if (from.x == to.x && from.y != to.y) {
            const std::int32_t a = clampY(from.y);
            const std::int32_t b = clampY(to.y);
            const std::int32_t x = clampX(from.x);
            FillRect(a < b ? ClientRect{x, a, x + 1, b} : ClientRect{x, b + 1, x + 1, a + 1},
                     colour);
        }
        return;
    }
    // A slanted line by Bresenham, stopping before `to`; it may differ from GDI's by a pixel
    // here and there.
    const std::int64_t dx = std::abs(static_cast<std::int64_t>(to.x) - from.x);
    const std::int64_t dy = -std::abs(static_cast<std::int64_t>(to.y) - from.y);
    const std::int32_t stepX = from.x < to.x ? 1 : -1;
    const std::int32_t stepY = from.y < to.y ? 1 : -1;
    std::int64_t error = dx + dy;
    ClientPoint p = from;
    while (p != to) {
        Plot(p.x, p.y, colour);
        const std::int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            p.x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            p.y += stepY;
        }
    }
}

void SoftwareCanvas::CopyImage(const CanvasImage& image, ClientPoint at) {
    const DibView pixels = image.Pixels();
    StretchImage(image, {at.x, at.y,
                         static_cast<std::int32_t>(std::min<std::int64_t>(
                             static_cast<std::int64_t>(at.x) + pixels.width, INT32_MAX)),
                         static_cast<std::int32_t>(std::min<std::int64_t>(
                             static_cast<std::int64_t>(at.y) + pixels.height, INT32_MAX))});
}

void SoftwareCanvas::StretchImage(const CanvasImage& image, const ClientRect& destination) {
    const DibView pixels = image.Pixels();
    // In 64 bits: the destination may lie anywhere, most of it off the canvas.
    const std::int64_t left = destination.left;
    const std::int64_t top = destination.top;
    const std::int64_t width = static_cast<std::int64_t>(destination.right) - left;
    const std::int64_t height = static_cast<std::int64_t>(destination.bottom) - top;
    if (width <= 0 || height <= 0 || pixels.width <= 0 || pixels.height <= 0) {
        return;
    }
    const std::int64_t firstX = std::max<std::int64_t>(left, 0);
    const std::int64_t endX = std::min<std::int64_t>(left + width, width_);
    const std::int64_t firstY = std::max<std::int64_t>(top, 0);
    const std::int64_t endY = std::min<std::int64_t>(top + height, height_);
    // Each destination pixel takes the source pixel under its own centre; at the same size
    // that is a plain copy.
    for (std::int64_t y = firstY; y < endY; ++y) {
        const auto sourceY =
            static_cast<std::int32_t>((2 * (y - top) + 1) * pixels.height / (2 * height));
        for (std::int64_t x = firstX; x < endX; ++x) {
            const auto sourceX =
                static_cast<std::int32_t>((2 * (x - left) + 1) * pixels.width / (2 * width));
            pixels_[static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)] =
                DibPixel(pixels, sourceX, sourceY);
        }
    }
}

PackedColour SoftwareCanvas::SystemColourOf(SystemColour which) const {
    switch (which) {
    case SystemColour::ButtonFace:
        return scheme_.buttonFace;
    case SystemColour::ButtonShadow:
        return scheme_.buttonShadow;
    case SystemColour::ButtonHighlight:
        return scheme_.buttonHighlight;
    }
    return scheme_.buttonFace;
}
