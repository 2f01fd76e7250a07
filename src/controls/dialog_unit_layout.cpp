#include "controls/dialog_unit_layout.h"

namespace {

// value * numerator / denominator rounded to the nearest integer, halves away from zero; 0 for
// a denominator that is not positive.
std::int32_t ScaleRounded(std::int32_t value, std::int32_t numerator, std::int32_t denominator) {
    if (denominator <= 0) {
        return 0;
    }
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t half = denominator / 2;
    const std::int64_t rounded =
        product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
    return static_cast<std::int32_t>(rounded);
}

constexpr std::int32_t kUnitsPerBaseX = 4;
constexpr std::int32_t kUnitsPerBaseY = 8;

} // namespace

UnitRect PixelsFromDialogUnits(const UnitRect& units, DialogBaseUnits base) {
    return {ScaleRounded(units.x, base.x, kUnitsPerBaseX),
            ScaleRounded(units.y, base.y, kUnitsPerBaseY),
            ScaleRounded(units.width, base.x, kUnitsPerBaseX),
            ScaleRounded(units.height, base.y, kUnitsPerBaseY)};
}

UnitRect DialogUnitsFromPixels(const UnitRect& pixels, DialogBaseUnits base) {
    return {ScaleRounded(pixels.x, kUnitsPerBaseX, base.x),
            ScaleRounded(pixels.y, kUnitsPerBaseY, base.y),
            ScaleRounded(pixels.width, kUnitsPerBaseX, base.x),
            ScaleRounded(pixels.height, kUnitsPerBaseY, base.y)};
}

UnitRect PickerPlacement(const UnitRect& placed, DialogBaseUnits dialogBase) {
    if (dialogBase == kPickerBaseUnits) {
        return placed;
    }
    return PixelsFromDialogUnits(DialogUnitsFromPixels(placed, dialogBase), kPickerBaseUnits);
}
