#include "controls/picker_geometry.h"

#include "controls/colour_model.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::int32_t kCustomLeft = 11;
constexpr std::int32_t kCustomColumnPitch = 24;
constexpr std::int32_t kCustomPaintedTop = 215;
constexpr std::int32_t kCustomPaintedRowPitch = 25;
constexpr std::int32_t kCustomHitTops[2] = {216, 243};

// The largest hue that a cross-hair position names.
constexpr int kMaxCrossHue = kHslScale - 1;

constexpr ClientPoint CustomCellOrigin(int index) {
    return {kCustomLeft + kCustomColumnPitch * (index % kCustomColumns),
            kCustomHitTops[index / kCustomColumns]};
}

constexpr std::array<ClientPoint, kCustomColourCount> MakeCustomCells() {
    std::array<ClientPoint, kCustomColourCount> cells{};
    for (int i = 0; i < kCustomColourCount; ++i) {
        cells[i] = CustomCellOrigin(i);
    }
    return cells;
}

} // namespace

std::array<ClientPoint, kCustomColourCount> s_customCells = MakeCustomCells();

SwatchLayout CustomCellLayout(int index) {
    index = std::clamp(index, 0, kCustomColourCount - 1);
    const std::int32_t left = kCustomLeft + kCustomColumnPitch * (index % kCustomColumns);
    const std::int32_t top = kCustomPaintedTop + kCustomPaintedRowPitch * (index / kCustomColumns);
    const ClientPoint origin = CustomCellOrigin(index);
    return {{left, top + 1, left + 14, top + 14},
            {left - 1, top, left + 15, top + 15},
            {left - 2, top - 1, left + 16, top + 16},
            {origin.x, origin.y, origin.x + kCustomCellHitWidth - 1,
             origin.y + kCustomCellHitHeight - 1}};
}

void InitCustomCells() {
    s_customCells = MakeCustomCells();
}

int HitTestCustomColor(ClientPoint p) {
    for (int i = 0; i < kCustomColourCount; ++i) {
        const ClientPoint origin = s_customCells[i];
        const HitZone zone{origin.x, origin.y, origin.x + kCustomCellHitWidth - 1,
                           origin.y + kCustomCellHitHeight - 1};
        if (zone.Holds(p)) {
            return i;
        }
    }
    return -1;
}

PickerHit HitTestPicker(ClientPoint p) {
    if (kFieldZone.Holds(p)) {
        return {PickerPart::Field, -1};
    }
    if (kLumBarZone.Holds(p)) {
        return {PickerPart::LumBar, -1};
    }
    if (kCurrentSwatch.zone.Holds(p)) {
        return {PickerPart::CurrentSwatch, -1};
    }
    if (kNewSwatch.zone.Holds(p)) {
        return {PickerPart::NewSwatch, -1};
    }
    const int cell = HitTestCustomColor(p);
    if (cell >= 0) {
        return {PickerPart::CustomCell, cell};
    }
    return {PickerPart::None, -1};
}

std::int32_t HoldToField(std::int32_t value) {
    return std::clamp(value, 0, kFieldSpan);
}

std::uint8_t HueFromCrossX(std::int32_t cx) {
    return static_cast<std::uint8_t>(kMaxCrossHue * HoldToField(cx) / kFieldSpan);
}

std::uint8_t SatFromCrossY(std::int32_t cy) {
    return static_cast<std::uint8_t>(kHslScale * (kFieldSpan - HoldToField(cy)) / kFieldSpan);
}

std::int32_t CrossXFromHue(std::uint8_t hue) {
    return HoldToField(kFieldSpan * hue / kMaxCrossHue);
}

std::int32_t CrossYFromSat(std::uint8_t sat) {
    // Above 240 the quotient is negative; it truncates towards zero before it is held.
    return HoldToField(kFieldSpan * (kHslScale - sat) / kHslScale);
}

ClientPoint CrossFromClientPoint(ClientPoint p) {
    return {HoldToField(p.x - kFieldOrigin.x), HoldToField(p.y - kFieldOrigin.y)};
}

std::uint8_t LumFromBarY(std::int32_t y) {
    const std::int32_t top = kLumBarZone.top;
    const std::int32_t bottom = kLumBarZone.bottom;
    if (y < top) {
        return kHslScale;
    }
    if (y > bottom) {
        return 0;
    }
    return static_cast<std::uint8_t>(kHslScale - kHslScale * (y - top) / (bottom - top));
}

std::int32_t MarkerYFromLum(std::uint8_t lum) {
    const std::int32_t held = std::min<std::int32_t>(lum, kHslScale);
    const std::int32_t base = kLumBarInnerFrame.bottom; // 204, the row below the bar's frame
    // The integer part of base - held * 190 / 240, a real quotient: subtract it rounded up.
    return base - (held * kFieldSpan + kHslScale - 1) / kHslScale;
}
