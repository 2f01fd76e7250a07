// The colour dialog's controls come from its template in dialog units, while its picker is
// painted in fixed pixels. Placing the controls by fixed base units, those of the template's
// 8-point font at 96 dots per inch, keeps each control where the template puts it beside the
// picker whatever font and size the desktop gives the dialog.
#pragma once

#include <cstdint>

// A window's position and size, in pixels or in dialog units.
struct UnitRect {
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;

    friend constexpr bool operator==(const UnitRect&, const UnitRect&) = default;
};

// The pixels of 4 horizontal and 8 vertical dialog units.
struct DialogBaseUnits {
    std::int32_t x;
    std::int32_t y;

    friend constexpr bool operator==(const DialogBaseUnits&, const DialogBaseUnits&) = default;
};

// The base units the picker's fixed layout was drawn for: 277 x 183 dialog units make a client
// area of 416 x 297 pixels.
inline constexpr DialogBaseUnits kPickerBaseUnits{6, 13};

// Dialog units to pixels as the window system maps a template: position and size each on
// their own, rounded to the nearest pixel (halves away from zero).
UnitRect PixelsFromDialogUnits(const UnitRect& units, DialogBaseUnits base);

// The dialog units that the window system mapped to these pixels. Exact for every template
// value when the base units are at least 4 across and 8 down.
UnitRect DialogUnitsFromPixels(const UnitRect& pixels, DialogBaseUnits base);

// Where a control that the window system placed with the dialog's own base units belongs in
// the picker's fixed layout.
UnitRect PickerPlacement(const UnitRect& placed, DialogBaseUnits dialogBase);
