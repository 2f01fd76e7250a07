// The colour dialog's behaviour without the window system: one new colour shown four ways at
// once (a position on the hue and saturation field with the luminance bar, the hue, saturation
// and luminance edits, the red, green and blue edits, and the reference text), the current
// colour, and the process-wide custom colours. Every event brings all of them in line and
// draws what changed at once through the view.
#pragma once

#include "controls/client_geometry.h"
#include "controls/colour_dialog_view.h"
#include "controls/packed_colour.h"
#include "controls/picker_geometry.h"
#include "controls/picker_images.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class Canvas;

class ColourDialogState {
public:
    // What a left press is driving (m_nTrack).
    static constexpr std::uint8_t kTrackField = 0;
    static constexpr std::uint8_t kTrackLumBar = 1;
    static constexpr std::uint8_t kTrackColourDrag = 2;
    static constexpr std::uint8_t kTrackNone = 255;
    // Where a colour drag started (m_nDragFrom), besides the custom cells 0 to 19.
    static constexpr std::int8_t kDragFromCurrent = -3;
    static constexpr std::int8_t kDragFromNew = -2;
    static constexpr std::int8_t kDragFromNone = -1;
    // The limits of the numeric edits.
    static constexpr std::uint8_t kHueLimit = 239;
    static constexpr std::uint8_t kSatLumLimit = 240;
    static constexpr std::uint8_t kChannelLimit = 255;

    // Starts with red at full saturation and luminance 120, the cross-hair at the field's
    // top-left corner and nothing tracked, and builds both images. The view is only kept: it is
    // first used by the events, so a window class may pass itself while it is being built.
    explicit ColourDialogState(ColourDialogView& view);
    ColourDialogState(const ColourDialogState&) = delete;
    ColourDialogState& operator=(const ColourDialogState&) = delete;

    // The events, as the window receives them. Points are client pixels.
    void LeftPress(ClientPoint p);
    void MouseMove(ClientPoint p);
    void LeftRelease(ClientPoint p);
    void RightPress();
    void OnChangeHue();
    void OnChangeSat();
    void OnChangeLum();
    void OnChangeRgb();
    void OnChangeRef();
    void OnAddCustomColor();

    // Makes the channels the new colour and brings the field, the bar, the edits and the
    // reference text in line.
    void SetNewColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

    // Exchanges the members with the edits in the dialog's order: the reference text, then hue,
    // saturation, luminance, red, green and blue.
    void ExchangeEdits(ColourDataExchange& dx);

    // Paints the whole picker (bottom strip, field, bar, cross-hair, marker, both swatches, the
    // custom cells) onto a client area of the given size, with the images as the caller has
    // them prepared for its canvas.
    void Paint(Canvas& canvas, std::int32_t clientWidth, std::int32_t clientHeight,
               const CanvasImage& field, const CanvasImage& bar) const;

    // True while a press drives something: the window then shows the drag cursor.
    bool WantsDragCursor() const { return m_nTrack != kTrackNone; }

    PackedColour NewColour() const {
        return MakePackedColour(m_byNewRed, m_byNewGreen, m_byNewBlue);
    }
    PackedColour CurrentColour() const {
        return MakePackedColour(m_byCurRed, m_byCurGreen, m_byCurBlue);
    }
    PackedColour DragColour() const {
        return MakePackedColour(m_byDragRed, m_byDragGreen, m_byDragBlue);
    }
    const FieldBitmap& FieldPixels() const { return *m_bmpField; }
    const LumBitmap& LumPixels() const { return m_bmpLum; }

    // Twenty custom colours shared by every dialog of the process, all white at start; a
    // white entry counts as free. Kept in memory only.
    static std::array<PackedColour, kCustomColourCount> s_customColors;

    // The dialog's state, in this order.
    std::unique_ptr<FieldBitmap> m_bmpField; // built once; 108 KB, so not inside the dialog
    LumBitmap m_bmpLum;                      // rebuilt whenever the cross-hair moves
    std::uint8_t m_bMoved = 0;               // the mouse moved since the press on a swatch
    std::uint8_t m_nTrack = kTrackNone;
    std::int8_t m_nDragFrom = kDragFromNone;
    std::uint8_t m_byDragRed = 0;
    std::uint8_t m_byDragGreen = 0;
    std::uint8_t m_byDragBlue = 0;
    ClientPoint m_ptCross{0, 0}; // relative to the field's top-left pixel, 0 to 190 each
    std::string m_strRef;
    std::uint8_t m_byHue = 0;
    std::uint8_t m_bySat = 240;
    std::uint8_t m_byLum = 120;
    std::uint8_t m_byCurRed = 255;
    std::uint8_t m_byCurGreen = 0;
    std::uint8_t m_byCurBlue = 0;
    std::uint8_t m_byNewRed = 255;
    std::uint8_t m_byNewGreen = 0;
    std::uint8_t m_byNewBlue = 0;
    std::int8_t m_nNextCustom = 0; // the slot the next "Add Custom Colour" fills

protected:
    void BuildFieldBitmap();
    // Rebuilds the bar for the cross-hair and tells the view.
    void BuildLumBitmap();

private:
    // Hue and saturation from the cross-hair, the new colour from them and the luminance.
    void ColourFromPosition();
    // The field press and its drag, and the bar press and its drag.
    void TrackField(ClientPoint p);
    void TrackLumBar(ClientPoint p);
    void StartColourDrag(std::int8_t from, PackedColour colour);
    void DropColour(ClientPoint p);
    // The colour's channels and reference text become the new colour's.
    void TakeNewColour(PackedColour colour);
    // Hue, saturation, luminance, the cross-hair and the reference text from the new colour.
    void PositionFromNewColour();
    // After the cross-hair moved: the bar rebuilt and everything on it drawn, the edits loaded.
    void ShowMovedCrossHair();
    void SetRefText(PackedColour colour);
    // Custom slot i (0 to 19) was filled: the next slot follows it unless it is already beyond.
    void AdvanceNextCustomPast(int slot);

    ColourDialogView& m_view;
};
