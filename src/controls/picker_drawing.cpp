#include "controls/picker_drawing.h"

namespace {

void DrawSwatch(Canvas& canvas, const SwatchLayout& swatch, PackedColour colour) {
    canvas.FillRect(swatch.fill, colour);
    canvas.Draw3dRect(swatch.innerFrame, kInnerFrameColour, kInnerFrameColour);
    canvas.Draw3dRect(swatch.outerFrame, kOuterFrameTopLeft, kOuterFrameBottomRight);
}

} // namespace

void DrawBackground(Canvas& canvas, std::int32_t clientWidth, std::int32_t clientHeight) {
    const std::int32_t w = clientWidth;
    const std::int32_t h = clientHeight;
    // Row h - i in grey 255 - 2 i; the row for i = 0 lies just below the client area.
    for (std::int32_t i = 0; i <= kBottomStripRows; ++i) {
        canvas.DrawLine({0, h - i}, {w, h - i}, GreyColour(static_cast<std::uint8_t>(255 - 2 * i)));
    }
    const std::int32_t left = kEtchedLineInset;
    const std::int32_t right = w - kEtchedLineInset;
    const std::int32_t shadowY = h - kEtchedShadowRowFromBottom;
    const std::int32_t highlightY = h - kEtchedHighlightRowFromBottom;
    canvas.DrawLine({left, shadowY}, {right, shadowY},
                    canvas.SystemColourOf(SystemColour::ButtonShadow));
    canvas.DrawLine({left, highlightY}, {right, highlightY},
                    canvas.SystemColourOf(SystemColour::ButtonHighlight));
}

void DrawField(Canvas& canvas, const CanvasImage& field) {
    canvas.CopyImage(field, kFieldOrigin);
    canvas.Draw3dRect(kFieldInnerFrame, kInnerFrameColour, kInnerFrameColour);
    canvas.Draw3dRect(kFieldOuterFrame, kOuterFrameTopLeft, kOuterFrameBottomRight);
}

void DrawLumBar(Canvas& canvas, const CanvasImage& bar) {
    canvas.StretchImage(bar, kLumBarRect);
    canvas.Draw3dRect(kLumBarInnerFrame, kInnerFrameColour, kInnerFrameColour);
    canvas.Draw3dRect(kLumBarOuterFrame, kOuterFrameTopLeft, kOuterFrameBottomRight);
}

void DrawCrossHair(Canvas& canvas, std::int32_t cx, std::int32_t cy) {
    const PackedColour face = canvas.SystemColourOf(SystemColour::ButtonFace);
    for (const ClientRect& margin : kFieldMargins) {
        canvas.FillRect(margin, face);
    }
    // The margins cover every pixel an arm can reach only while the cross-hair stays on the
    // field, hence the hold.
    const std::int32_t x = HoldToField(cx) + kFieldOrigin.x;
    const std::int32_t y = HoldToField(cy) + kFieldOrigin.y;
    canvas.DrawLine({x, y - 10}, {x, y - 2}, kBlackColour);
    canvas.DrawLine({x, y + 3}, {x, y + 11}, kBlackColour);
    canvas.DrawLine({x - 10, y}, {x - 2, y}, kBlackColour);
    canvas.DrawLine({x + 3, y}, {x + 11, y}, kBlackColour);
}

void DrawLumMarker(Canvas& canvas, std::uint8_t lum) {
    canvas.FillRect(kLumMarkerColumn, canvas.SystemColourOf(SystemColour::ButtonFace));
    const std::int32_t tip = MarkerYFromLum(lum);
    // Column k holds the 2 k pixels from tip - k to tip + k - 1: a solid arrow pointing left.
    for (std::int32_t k = 0; k < kLumMarkerColumns; ++k) {
        canvas.DrawLine({kLumMarkerX + k, tip - k}, {kLumMarkerX + k, tip + k}, kBlackColour);
    }
}

void DrawCurrentColor(Canvas& canvas, PackedColour colour) {
    DrawSwatch(canvas, kCurrentSwatch, colour);
}

void DrawNewColor(Canvas& canvas, PackedColour colour) {
    DrawSwatch(canvas, kNewSwatch, colour);
}

void DrawCustomColors(Canvas& canvas, std::span<const PackedColour, kCustomColourCount> table) {
    for (int i = 0; i < kCustomColourCount; ++i) {
        DrawSwatch(canvas, CustomCellLayout(i), table[i]);
    }
}
