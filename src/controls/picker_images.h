// The two images of the colour picker, computed into 24-bit bottom-up device-independent
// pixel buffers of fixed size (no allocation): the hue and saturation field, built once per
// dialog, and the luminance bar, rebuilt whenever the cross-hair moves.
#pragma once

#include "controls/canvas.h"

#include <array>
#include <cstdint>

// A fixed-size 24-bit bottom-up image.
template <std::int32_t Width, std::int32_t Height> class DibPixels final : public CanvasImage {
public:
    static constexpr std::int32_t kWidth = Width;
    static constexpr std::int32_t kHeight = Height;
    static constexpr std::int32_t kStride = DibStride(Width);

    DibView Pixels() const override { return {kWidth, kHeight, kStride, bits_.data()}; }

    // The three bytes (blue, green, red) of the pixel in column x and row j counted from the
    // bottom.
    std::uint8_t* PixelFromBottom(std::int32_t x, std::int32_t j) {
        return bits_.data() + j * kStride + x * 3;
    }

    const std::array<std::uint8_t, kStride * kHeight>& Bytes() const { return bits_; }

private:
    std::array<std::uint8_t, kStride * kHeight> bits_{}; // padding bytes stay zero
};

// 190 x 190, 572 bytes per row.
using FieldBitmap = DibPixels<190, 190>;
// 1 x 190, 4 bytes per row; drawn stretched to 20 pixels wide.
using LumBitmap = DibPixels<1, 190>;

// The field: vivid hues along the top (luminance 127) fading to a flat grey of 125 along the
// bottom. Column x has hue 13 x / 10 (0 to 245: the last five columns come round to red
// again); row j from the bottom has luminance 25 j / 37 and every channel lifted by
// (250 - j) / 2, capped at 255.
void BuildFieldBitmap(FieldBitmap& field);

// The bar for the hue and saturation of the cross-hair (cx, cy): row j from the bottom has
// luminance 240 j / 190, black at the bottom.
void BuildLumBitmap(std::int32_t cx, std::int32_t cy, LumBitmap& bar);
