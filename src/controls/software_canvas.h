// A canvas in memory: the picker drawn without a window system, for tests, benchmarks and
// comparisons with what GDI draws. Everything outside the canvas is clipped.
#pragma once

#include "controls/canvas.h"

#include <cstdint>
#include <vector>

// The colour scheme a software canvas uses for the system colours; by default the plain
// scheme of Windows 7 and later.
struct SystemColourScheme {
    PackedColour buttonFace = GreyColour(240);
    PackedColour buttonShadow = GreyColour(160);
    PackedColour buttonHighlight = GreyColour(255);
};

class SoftwareCanvas final : public Canvas {
public:
    // A canvas of width x height pixels (negative sizes count as 0), all of it `background`.
    SoftwareCanvas(std::int32_t width, std::int32_t height, PackedColour background,
                   SystemColourScheme scheme = {});

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }

    // The pixel at (x, y); the caller keeps it inside the canvas.
    PackedColour Pixel(std::int32_t x, std::int32_t y) const {
        return pixels_[static_cast<std::size_t>(y) * width_ + x];
    }

    void FillRect(const ClientRect& rect, PackedColour colour) override;
    void DrawLine(ClientPoint from, ClientPoint to, PackedColour colour) override;
    void CopyImage(const CanvasImage& image, ClientPoint at) override;
    void StretchImage(const CanvasImage& image, const ClientRect& destination) override;
    PackedColour SystemColourOf(SystemColour which) const override;

private:
    void Plot(std::int32_t x, std::int32_t y, PackedColour colour);

    std::int32_t width_;
    std::int32_t height_;
    SystemColourScheme scheme_;
    std::vector<PackedColour> pixels_;
};
