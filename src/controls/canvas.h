// The few drawing operations the colour picker needs, so that it is drawn by one piece of code
// onto a window (GdiCanvas) or into memory (SoftwareCanvas) alike.
#pragma once

#include "controls/client_geometry.h"
#include "controls/packed_colour.h"

#include <cstddef>
#include <cstdint>

// A 24-bit device-independent bitmap in memory: rows stored bottom-up, each pixel's bytes in
// the order blue, green, red, each row padded to a multiple of 4 bytes.
struct DibView {
    std::int32_t width;
    std::int32_t height;
    std::int32_t stride; // bytes per stored row
    const std::uint8_t* bits;
};

// The bytes of one 24-bit row: three per pixel, rounded up to a multiple of 4.
constexpr std::int32_t DibStride(std::int32_t width) {
    return (width * 3 + 3) / 4 * 4;
}

// The pixel in column x and row y counted from the top. The caller keeps x and y inside.
inline PackedColour DibPixel(const DibView& image, std::int32_t x, std::int32_t y) {
    const std::uint8_t* pixel =
        image.bits + static_cast<std::ptrdiff_t>(image.height - 1 - y) * image.stride + x * 3;
    return MakePackedColour(pixel[2], pixel[1], pixel[0]);
}

// An image that a canvas can copy. Its pixels are always available; a canvas that draws
// through a device (the GDI canvas) may also use a form of it prepared once for that device.
class CanvasImage {
public:
    virtual DibView Pixels() const = 0;

protected:
    ~CanvasImage() = default;
};

// Colours that belong to the desktop's colour scheme rather than to the picker.
enum class SystemColour { ButtonFace, ButtonShadow, ButtonHighlight };

class Canvas {
public:
    virtual ~Canvas() = default;

    // Fills the rectangle (right column and bottom row excluded).
    virtual void FillRect(const ClientRect& rect, PackedColour colour) = 0;

    // A line one pixel wide from `from` up to but not including `to`. The picker draws only
    // horizontal and vertical lines; a line from a point to itself draws nothing.
    virtual void DrawLine(ClientPoint from, ClientPoint to, PackedColour colour) = 0;

    // A ring one pixel wide along the inside of the rectangle: topLeft covers the top row up
    // to its second-last pixel and the left column up to its second-last pixel; bottomRight
    // then covers the whole right column and the whole bottom row. Drawn with FillRect, so
    // every canvas draws the same pixels.
    void Draw3dRect(const ClientRect& rect, PackedColour topLeft, PackedColour bottomRight) {
        const std::int32_t l = rect.left;
        const std::int32_t t = rect.top;
        const std::int32_t r = rect.right;
        const std::int32_t b = rect.bottom;
        FillRect({l, t, r - 1, t + 1}, topLeft);
        FillRect({l, t, l + 1, b - 1}, topLeft);
        FillRect({r - 1, t, r, b}, bottomRight);
        FillRect({l, b - 1, r, b}, bottomRight);
    }

    // Copies the whole image with its top-left pixel at `at`.
    virtual void CopyImage(const CanvasImage& image, ClientPoint at) = 0;

    // Stretches the whole image over the destination rectangle.
    virtual void StretchImage(const CanvasImage& image, const ClientRect& destination) = 0;

    virtual PackedColour SystemColourOf(SystemColour which) const = 0;
};
