// The colour dialog's controls placed in the picker's fixed pixels, whatever base units the
// desktop's font gives the dialog.
#include "controls/dialog_unit_layout.h"
#include "controls/picker_geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The controls of the dialog's template (x, y, width, height in dialog units).
const UnitRect kTemplateControls[] = {
    {168, 166, 50, 14}, {224, 166, 50, 14}, {166, 7, 48, 8},    {224, 7, 40, 8},
    {171, 72, 16, 8},   {189, 70, 24, 12},  {171, 90, 16, 8},   {189, 88, 24, 12},
    {171, 107, 16, 8},  {189, 106, 24, 12}, {223, 72, 16, 8},   {241, 70, 24, 12},
    {216, 90, 23, 8},   {241, 88, 24, 12},  {222, 107, 17, 8},  {241, 106, 24, 12},
    {167, 46, 15, 8},   {184, 44, 86, 12},  {174, 136, 89, 14},
};
constexpr UnitRect kTemplateClient{0, 0, 277, 183};

TEST(DialogUnitLayout, MapsUnitsAsTheWindowSystemDoes) {
    const struct {
        UnitRect units;
        DialogBaseUnits base;
        UnitRect pixels;
    } cases[] = {
        {{189, 70, 24, 12}, kPickerBaseUnits, {284, 114, 36, 20}},
        {{168, 166, 50, 14}, kPickerBaseUnits, {252, 270, 75, 23}},
        {kTemplateClient, kPickerBaseUnits, {0, 0, 416, 297}},
        {{189, 70, 24, 12}, {7, 15}, {331, 131, 42, 23}},
        {{1, 1, 1, 1}, {6, 13}, {2, 2, 2, 2}},     // halves round up
        {{-1, -3, 0, 0}, {6, 13}, {-2, -5, 0, 0}}, // and away from zero
        {{5, 5, 5, 5}, {0, 0}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.units.x);
        EXPECT_EQ(PixelsFromDialogUnits(c.units, c.base), c.pixels);
    }
}

TEST(DialogUnitLayout, FindsTheTemplatesUnitsBackForEveryUsualFont) {
    for (std::int32_t bx = 4; bx <= 16; ++bx) {
        for (std::int32_t by = 8; by <= 32; ++by) {
            const DialogBaseUnits base{bx, by};
            for (std::int32_t v = 0; v <= 400; ++v) {
                const UnitRect units{v, v, 400 - v, v / 2};
                const UnitRect back =
                    DialogUnitsFromPixels(PixelsFromDialogUnits(units, base), base);
                if (back != units) {
                    FAIL() << "base " << bx << " x " << by << ", value " << v;
                }
            }
        }
    }
}

TEST(DialogUnitLayout, PlacesEveryControlWhereTheUsualFontWould) {
    const DialogBaseUnits fonts[] = {{5, 11}, {6, 13}, {7, 16}, {8, 16}, {9, 20}, {12, 26}};
    for (const DialogBaseUnits font : fonts) {
        SCOPED_TRACE(font.x);
        for (const UnitRect& control : kTemplateControls) {
            const UnitRect placedByFont = PixelsFromDialogUnits(control, font);
            EXPECT_EQ(PickerPlacement(placedByFont, font),
                      PixelsFromDialogUnits(control, kPickerBaseUnits));
        }
        EXPECT_EQ(PickerPlacement(PixelsFromDialogUnits(kTemplateClient, font), font),
                  (UnitRect{0, 0, 416, 297}));
    }
}

bool Overlaps(const UnitRect& a, const ClientRect& b) {
    return a.x < b.right && b.left < a.x + a.width && a.y < b.bottom && b.top < a.y + a.height;
}

TEST(DialogUnitLayout, NoControlCoversAPaintedPartOfThePicker) {
    std::vector<ClientRect> painted = {
        {4, 3, 215, 214},          // the field, its frames and the cross-hair's margins
        kLumBarOuterFrame,         // the bar
        kLumMarkerColumn,          // its marker
        kCurrentSwatch.outerFrame, // the swatches
        kNewSwatch.outerFrame,
    };
    for (int i = 0; i < kCustomColourCount; ++i) {
        painted.push_back(CustomCellLayout(i).outerFrame);
    }
    for (const UnitRect& control : kTemplateControls) {
        const UnitRect placed = PixelsFromDialogUnits(control, kPickerBaseUnits);
        for (const ClientRect& part : painted) {
            EXPECT_FALSE(Overlaps(placed, part)) << "control at " << control.x << "," << control.y
                                                 << " covers " << part.left << "," << part.top;
        }
    }
}

} // namespace
