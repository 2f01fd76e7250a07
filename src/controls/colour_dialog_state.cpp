#include "controls/colour_dialog_state.h"

#include "controls/canvas.h"
#include "controls/colour_model.h"
#include "controls/picker_drawing.h"

#include <algorithm>

namespace {

constexpr std::array<PackedColour, kCustomColourCount> AllWhite() {
    std::array<PackedColour, kCustomColourCount> whites{};
    whites.fill(kWhiteColour);
    return whites;
}

} // namespace

// Set before any code runs, so a dialog made during static initialisation sees it too.
constinit std::array<PackedColour, kCustomColourCount> ColourDialogState::s_customColors =
    AllWhite();

ColourDialogState::ColourDialogState(ColourDialogView& view)
    : m_bmpField(std::make_unique<FieldBitmap>()), m_view(view) {
    SetRefText(NewColour());
    InitCustomCells();
    BuildFieldBitmap();
    // The bar for the cross-hair (0, 0); the view hears of it when it draws for the first time.
    ::BuildLumBitmap(m_ptCross.x, m_ptCross.y, m_bmpLum);
}

void ColourDialogState::BuildFieldBitmap() {
    ::BuildFieldBitmap(*m_bmpField);
}

void ColourDialogState::BuildLumBitmap() {
    ::BuildLumBitmap(m_ptCross.x, m_ptCross.y, m_bmpLum);
    m_view.LumImageChanged();
}

void ColourDialogState::SetRefText(PackedColour colour) {
    const RefText text = FormatRefText(RedOf(colour), GreenOf(colour), BlueOf(colour));
    m_strRef.assign(text.data());
}

void ColourDialogState::ColourFromPosition() {
    m_byHue = HueFromCrossX(m_ptCross.x);
    m_bySat = SatFromCrossY(m_ptCross.y);
    TakeNewColour(HslToRgb(m_byHue, m_bySat, m_byLum));
}

void ColourDialogState::TrackField(ClientPoint p) {
    m_view.DrawField();
    m_ptCross = CrossFromClientPoint(p); // held to the field: outside, it slides along the edge
    m_view.DrawCrossHair(m_ptCross);
    ColourFromPosition();
    BuildLumBitmap();
    m_view.DrawLumBar();
    m_view.DrawNewColor(NewColour());
    m_view.LoadEdits();
}

void ColourDialogState::TrackLumBar(ClientPoint p) {
    m_byLum = LumFromBarY(p.y);
    m_view.DrawLumMarker(m_byLum);
    // Hue and saturation come from the cross-hair, replacing any that were typed.
    ColourFromPosition();
    m_view.DrawNewColor(NewColour());
    m_view.LoadEdits();
}

void ColourDialogState::StartColourDrag(std::int8_t from, PackedColour colour) {
    m_nTrack = kTrackColourDrag;
    m_nDragFrom = from;
    m_byDragRed = RedOf(colour);
    m_byDragGreen = GreenOf(colour);
    m_byDragBlue = BlueOf(colour);
    m_bMoved = 0;
}

void ColourDialogState::LeftPress(ClientPoint p) {
    const PickerHit hit = HitTestPicker(p);
    switch (hit.part) {
    case PickerPart::Field:
        m_view.CaptureMouse();
        m_nTrack = kTrackField;
        TrackField(p);
        break;
    case PickerPart::LumBar:
        m_view.CaptureMouse();
        m_nTrack = kTrackLumBar;
        TrackLumBar(p);
        break;
    case PickerPart::CurrentSwatch:
        StartColourDrag(kDragFromCurrent, CurrentColour());
        m_view.RequestCursor();
        break;
    case PickerPart::NewSwatch:
        StartColourDrag(kDragFromNew, NewColour());
        break;
    case PickerPart::CustomCell:
        StartColourDrag(static_cast<std::int8_t>(hit.cell), s_customColors[hit.cell]);
        break;
    case PickerPart::None:
        break;
    }
}

void ColourDialogState::MouseMove(ClientPoint p) {
    if (m_nTrack == kTrackField) {
        TrackField(p);
    } else if (m_nTrack == kTrackLumBar) {
        TrackLumBar(p);
    } else if (m_nTrack == kTrackColourDrag && m_bMoved == 0) {
        m_view.RequestCursor();
    }
    m_bMoved = 1;
}

void ColourDialogState::AdvanceNextCustomPast(int slot) {
    if (slot > m_nNextCustom) {
        m_nNextCustom = static_cast<std::int8_t>(slot + 1 < kCustomColourCount ? slot + 1 : 0);
    }
}

void ColourDialogState::DropColour(ClientPoint p) {
    if (kCustomStripZone.Holds(p)) {
        const int cell = HitTestCustomColor(p);
        if (m_bMoved == 0 || cell == m_nDragFrom) {
            SetNewColor(m_byDragRed, m_byDragGreen, m_byDragBlue);
            return;
        }
        if (cell >= 0) {
            s_customColors[cell] = DragColour();
        }
        m_view.DrawCustomColors(s_customColors);
        AdvanceNextCustomPast(cell);
        return;
    }
    if ((m_nDragFrom == kDragFromCurrent && m_bMoved == 0) || kNewSwatch.zone.Holds(p)) {
        SetNewColor(m_byDragRed, m_byDragGreen, m_byDragBlue);
    }
}

void ColourDialogState::LeftRelease(ClientPoint p) {
    if (m_nTrack == kTrackColourDrag) {
        DropColour(p);
    }
    m_nTrack = kTrackNone;
    m_bMoved = 0;
    m_view.RequestCursor();
    m_view.ReleaseMouse();
}

void ColourDialogState::RightPress() {
    m_nTrack = kTrackNone;
    m_nDragFrom = kDragFromNone;
    m_view.RequestCursor();
}

void ColourDialogState::SetNewColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    m_view.DrawField();
    m_byNewRed = red;
    m_byNewGreen = green;
    m_byNewBlue = blue;
    PositionFromNewColour();
    BuildLumBitmap();
    m_view.DrawLumMarker(m_byLum);
    m_view.DrawCrossHair(m_ptCross);
    m_view.DrawLumBar();
    m_view.DrawNewColor(NewColour());
    m_view.LoadEdits();
}

void ColourDialogState::PositionFromNewColour() {
    RgbToHsl(NewColour(), m_byHue, m_byLum, m_bySat);
    m_ptCross = {CrossXFromHue(m_byHue), CrossYFromSat(m_bySat)};
    SetRefText(NewColour());
}

void ColourDialogState::TakeNewColour(PackedColour colour) {
    m_byNewRed = RedOf(colour);
    m_byNewGreen = GreenOf(colour);
    m_byNewBlue = BlueOf(colour);
    SetRefText(colour);
}

void ColourDialogState::ShowMovedCrossHair() {
    BuildLumBitmap();
    m_view.DrawCrossHair(m_ptCross);
    m_view.DrawLumBar();
    m_view.DrawNewColor(NewColour());
    m_view.DrawLumMarker(m_byLum);
    m_view.LoadEdits();
}

void ColourDialogState::OnChangeHue() {
    m_view.StoreEdits();
    m_view.DrawField();
    m_ptCross.x = CrossXFromHue(m_byHue);
    TakeNewColour(HslToRgb(m_byHue, m_bySat, m_byLum));
    ShowMovedCrossHair();
}

void ColourDialogState::OnChangeSat() {
    m_view.StoreEdits();
    m_view.DrawField();
    m_ptCross.y = CrossYFromSat(m_bySat);
    TakeNewColour(HslToRgb(m_byHue, m_bySat, m_byLum));
    ShowMovedCrossHair();
}

void ColourDialogState::OnChangeLum() {
    m_view.StoreEdits();
    TakeNewColour(HslToRgb(m_byHue, m_bySat, m_byLum));
    m_view.DrawNewColor(NewColour());
    m_view.DrawLumMarker(m_byLum);
    m_view.LoadEdits();
}

void ColourDialogState::OnChangeRgb() {
    m_view.StoreEdits(); // the new colour now holds the three edits' values
    m_view.DrawField();
    PositionFromNewColour();
    ShowMovedCrossHair();
}

void ColourDialogState::OnChangeRef() {
    m_view.StoreEdits();
    // Fields that cannot be read leave their channels as they were.
    ParseRefText(m_strRef.c_str(), m_byNewRed, m_byNewGreen, m_byNewBlue);
    SetNewColor(m_byNewRed, m_byNewGreen, m_byNewBlue);
}

void ColourDialogState::OnAddCustomColor() {
    // After the last colour in use, unless the table is full to its end: then round from the
    // dialog's next slot.
    int firstOfWhiteTail = kCustomColourCount;
    while (firstOfWhiteTail > 0 && s_customColors[firstOfWhiteTail - 1] == kWhiteColour) {
        --firstOfWhiteTail;
    }
    if (firstOfWhiteTail >= 1 && firstOfWhiteTail < kCustomColourCount) {
        m_nNextCustom = static_cast<std::int8_t>(firstOfWhiteTail);
    }
    const int slot = std::clamp<int>(m_nNextCustom, 0, kCustomColourCount - 1);
    s_customColors[slot] = NewColour();
    m_nNextCustom = static_cast<std::int8_t>(slot + 1 < kCustomColourCount ? slot + 1 : 0);
    m_view.DrawCustomColors(s_customColors);
}

void ColourDialogState::ExchangeEdits(ColourDataExchange& dx) {
    dx.Text(kRefEditId, m_strRef);
    dx.ByteEdit(kHueEditId, m_byHue, kHueLimit);
    dx.ByteEdit(kSatEditId, m_bySat, kSatLumLimit);
    dx.ByteEdit(kLumEditId, m_byLum, kSatLumLimit);
    dx.ByteEdit(kRedEditId, m_byNewRed, kChannelLimit);
    dx.ByteEdit(kGreenEditId, m_byNewGreen, kChannelLimit);
    dx.ByteEdit(kBlueEditId, m_byNewBlue, kChannelLimit);
}

void ColourDialogState::Paint(Canvas& canvas, std::int32_t clientWidth, std::int32_t clientHeight,
                              const CanvasImage& field, const CanvasImage& bar) const {
    DrawBackground(canvas, clientWidth, clientHeight);
    DrawField(canvas, field);
    DrawLumBar(canvas, bar);
    DrawCrossHair(canvas, m_ptCross.x, m_ptCross.y);
    DrawLumMarker(canvas, m_byLum);
    DrawCurrentColor(canvas, CurrentColour());
    DrawNewColor(canvas, NewColour());
    DrawCustomColors(canvas, s_customColors);
}
