// Where each part of the colour dialog's picker lies in the dialog's client area, in fixed
// pixels (the layout does not follow the dialog's font), how a position maps to a colour value
// and back, and which point hits what. Pure integer work.
#pragma once

#include "controls/client_geometry.h"
#include "controls/packed_colour.h"

#include <array>
#include <cstdint>

// The hue and saturation field: a 190 x 190 image whose top-left pixel is at kFieldOrigin. The
// cross-hair runs from 0 to kFieldSpan on each axis, relative to kFieldOrigin.
inline constexpr ClientPoint kFieldOrigin{14, 13};
inline constexpr std::int32_t kFieldImageSize = 190;
inline constexpr std::int32_t kFieldSpan = 190;
inline constexpr ClientRect kFieldInnerFrame{13, 12, 205, 204};
inline constexpr ClientRect kFieldOuterFrame{12, 11, 206, 205};
// Cleared before each cross-hair is drawn: together they surround the outer frame and hold
// every pixel that an arm can reach outside the field.
inline constexpr ClientRect kFieldMargins[4] = {
    {4, 3, 205, 11}, {4, 11, 12, 204}, {4, 205, 205, 214}, {206, 3, 215, 213}};
inline constexpr HitZone kFieldZone{14, 13, 204, 203};

// The luminance bar: a 1 x 190 image stretched to 20 x 190.
inline constexpr ClientRect kLumBarRect{218, 13, 238, 203};
inline constexpr ClientRect kLumBarInnerFrame{217, 12, 239, 204};
inline constexpr ClientRect kLumBarOuterFrame{216, 11, 240, 205};
inline constexpr HitZone kLumBarZone{218, 13, 238, 203};
// Cleared before the arrow that points at the bar is drawn.
inline constexpr ClientRect kLumMarkerColumn{240, 5, 248, 209};
// The arrow's tip column and how many columns it spans from there (the first stays empty).
inline constexpr std::int32_t kLumMarkerX = 240;
inline constexpr std::int32_t kLumMarkerColumns = 6;

// A colour swatch: a filled rectangle inside two frames.
struct SwatchLayout {
    ClientRect fill;
    ClientRect innerFrame;
    ClientRect outerFrame;
    HitZone zone;
};
inline constexpr SwatchLayout kCurrentSwatch{
    {272, 30, 316, 49}, {271, 29, 317, 50}, {270, 28, 318, 51}, {272, 30, 316, 49}};
inline constexpr SwatchLayout kNewSwatch{
    {359, 30, 403, 49}, {358, 29, 404, 50}, {357, 28, 405, 51}, {359, 30, 403, 49}};

// Twenty custom colour cells in two rows of ten.
inline constexpr int kCustomColourCount = 20;
inline constexpr int kCustomColumns = 10;
// The drop target of a colour drag, cells and the gaps between them.
inline constexpr HitZone kCustomStripZone{11, 216, 242, 260};
// Each cell's hit zone is 16 x 18 pixels from its origin in s_customCells.
inline constexpr std::int32_t kCustomCellHitWidth = 16;
inline constexpr std::int32_t kCustomCellHitHeight = 18;

// Where custom cell index (0 to 19; others are held to that range) is painted and hit. Painted rows
// lie 25 pixels apart, hit rows 27, so the lower row's hit zone starts two pixels below its fill.
SwatchLayout CustomCellLayout(int index);

// The hit origins of the custom cells, the same for every dialog.
extern std::array<ClientPoint, kCustomColourCount> s_customCells;
// Fills s_customCells (it is also filled from the start, so hit tests never see it empty).
void InitCustomCells();
// The first cell, in index order, whose hit zone holds the point; -1 when none does.
int HitTestCustomColor(ClientPoint p);

// What a left press at a point lands on, testing the zones in the order the dialog does.
enum class PickerPart { None, Field, LumBar, CurrentSwatch, NewSwatch, CustomCell };
struct PickerHit {
    PickerPart part;
    int cell; // the custom cell for PickerPart::CustomCell, otherwise -1
};
PickerHit HitTestPicker(ClientPoint p);

// Frame colours: inner frames grey 120 all round; outer frames grey 160 on the top and left
// sides and white on the right and bottom sides.
inline constexpr PackedColour kInnerFrameColour = GreyColour(120);
inline constexpr PackedColour kOuterFrameTopLeft = GreyColour(160);
inline constexpr PackedColour kOuterFrameBottomRight = kWhiteColour;

// The shaded strip along the bottom edge: 30 rows of greys with an etched line above them.
inline constexpr std::int32_t kBottomStripRows = 30;
inline constexpr std::int32_t kEtchedLineInset = 3;
inline constexpr std::int32_t kEtchedShadowRowFromBottom = 34;
inline constexpr std::int32_t kEtchedHighlightRowFromBottom = 33;

// Cross-hair coordinates are relative to kFieldOrigin and held to 0 to kFieldSpan; the
// mappings hold their arguments there too. Results are integer parts of exact quotients. The
// two directions do not invert each other exactly (hue 100 gives x 79, x 79 gives hue 99).
std::int32_t HoldToField(std::int32_t value);
std::uint8_t HueFromCrossX(std::int32_t cx);     // 0 to 239
std::uint8_t SatFromCrossY(std::int32_t cy);     // 240 at the top, 0 at the bottom
std::int32_t CrossXFromHue(std::uint8_t hue);    // 0 to 190
std::int32_t CrossYFromSat(std::uint8_t sat);    // 0 to 190
ClientPoint CrossFromClientPoint(ClientPoint p); // each axis held to 0 to 190

// The luminance of a client row of the bar: 240 at and above its top row, 0 at and below its
// bottom row.
std::uint8_t LumFromBarY(std::int32_t y);
// The client row that the marker's tip points at: 204 for luminance 0, 14 for 240 (larger
// luminances count as 240, so the arrow stays inside its cleared column).
std::int32_t MarkerYFromLum(std::uint8_t lum);
