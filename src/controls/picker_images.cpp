#include "controls/picker_images.h"

#include "controls/colour_model.h"
#include "controls/picker_geometry.h"

#include <algorithm>

namespace {

void StorePixel(std::uint8_t* pixel, int red, int green, int blue) {
    pixel[0] = static_cast<std::uint8_t>(blue);
    pixel[1] = static_cast<std::uint8_t>(green);
    pixel[2] = static_cast<std::uint8_t>(red);
}

} // namespace

void BuildFieldBitmap(FieldBitmap& field) {
    constexpr int kFullSaturation = kHslScale;
    for (std::int32_t j = 0; j < FieldBitmap::kHeight; ++j) {
        const auto luminance = static_cast<std::uint8_t>(25 * j / 37); // j / 1.48
        const int lift = (250 - j) / 2;
        for (std::int32_t x = 0; x < FieldBitmap::kWidth; ++x) {
            const auto hue = static_cast<std::uint8_t>(13 * x / 10); // x * 1.3
            const PackedColour colour = HslToRgb(hue, kFullSaturation, luminance);
            StorePixel(field.PixelFromBottom(x, j), std::min(RedOf(colour) + lift, 255),
                       std::min(GreenOf(colour) + lift, 255), std::min(BlueOf(colour) + lift, 255));
        }
    }
}

void BuildLumBitmap(std::int32_t cx, std::int32_t cy, LumBitmap& bar) {
    const std::uint8_t hue = HueFromCrossX(cx);
    const std::uint8_t saturation = SatFromCrossY(cy);
    for (std::int32_t j = 0; j < LumBitmap::kHeight; ++j) {
        const auto luminance = static_cast<std::uint8_t>(kHslScale * j / LumBitmap::kHeight);
        const PackedColour colour = HslToRgb(hue, saturation, luminance);
        StorePixel(bar.PixelFromBottom(0, j), RedOf(colour), GreenOf(colour), BlueOf(colour));
    }
}
