// The colour dialog's mouse: the field and the bar pressed and dragged, the swatches and the
// custom cells clicked and dragged, the right button abandoning what the left one started,
// and the capture and cursor requests that go with them.
#include "controls/colour_dialog_state.h"
#include "controls/colour_model.h"

#include "support/fake_colour_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr ClientPoint kOnCurrentSwatch{290, 40};
constexpr ClientPoint kOnNewSwatch{380, 40};
constexpr ClientPoint kOnNothing{300, 150};
constexpr int kBarX = 228;

// A point inside custom cell i's hit zone.
ClientPoint OnCell(int i) {
    return {s_customCells[i].x + 3, s_customCells[i].y + 3};
}

// Each test starts from the table a process starts with, and leaves it so.
class ColourDialogMouse : public testing::Test {
protected:
    void SetUp() override {
        saved_ = ColourDialogState::s_customColors;
        ColourDialogState::s_customColors.fill(kWhiteColour);
    }
    void TearDown() override { ColourDialogState::s_customColors = saved_; }

    static PackedColour& Cell(int i) { return ColourDialogState::s_customColors[i]; }

private:
    std::array<PackedColour, kCustomColourCount> saved_{};
};

int Count(const std::vector<std::string>& log, const std::string& entry) {
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

TEST_F(ColourDialogMouse, APressInTheFieldPicksHueAndSaturation) {
    FakeColourDialog d;
    d.Press(109, 108);
    EXPECT_EQ(d.state.m_ptCross, (ClientPoint{95, 95}));
    EXPECT_EQ(d.state.m_byHue, 119);
    EXPECT_EQ(d.state.m_bySat, 120);
    EXPECT_EQ(d.state.m_byLum, 120);
    EXPECT_EQ(d.state.NewColour(), HslToRgb(119, 120, 120));
    EXPECT_EQ(d.state.m_nTrack, ColourDialogState::kTrackField);
    EXPECT_TRUE(d.view.Captured());
    EXPECT_EQ(d.EditText(kHueEditId), "119");
    EXPECT_EQ(d.EditText(kSatEditId), "120");
    EXPECT_EQ(d.view.log.front(), "Capture");
    EXPECT_EQ(d.view.log.back(), "Load");
    EXPECT_TRUE(ShowsAFullRepaint(d));

    // Dragged far outside, the cross-hair slides to the field's corner.
    d.Move(500, 500);
    EXPECT_EQ(d.state.m_ptCross, (ClientPoint{190, 190}));
    EXPECT_EQ(d.state.m_byHue, 239);
    EXPECT_EQ(d.state.m_bySat, 0);
    EXPECT_EQ(d.EditText(kSatEditId), "0");
    EXPECT_EQ(Count(d.view.log, "Capture"), 1) << "the drag does not capture again";
    EXPECT_TRUE(ShowsAFullRepaint(d));

    d.Move(-40, -7);
    EXPECT_EQ(d.state.m_ptCross, (ClientPoint{0, 0}));
    EXPECT_EQ(d.state.m_bySat, 240);

    d.Release(-40, -7);
    EXPECT_EQ(d.state.m_nTrack, ColourDialogState::kTrackNone);
    EXPECT_FALSE(d.view.Captured());
    d.Move(109, 108);
    EXPECT_EQ(d.state.m_ptCross, (ClientPoint{0, 0})) << "a move without a press picks nothing";
}

TEST_F(ColourDialogMouse, ThePressedBarSetsTheLuminanceAboveAndBelowItsEnds) {
    FakeColourDialog d;
    d.Press(kBarX, 108);
    EXPECT_EQ(d.state.m_byLum, 120);
    EXPECT_EQ(d.state.m_nTrack, ColourDialogState::kTrackLumBar);
    EXPECT_TRUE(d.view.Captured());
    EXPECT_EQ(d.EditText(kLumEditId), "120");

    const struct {
        ClientPoint at;
        std::uint8_t lum;
    } moves[] = {{{kBarX, 13}, 240}, {{kBarX, 5}, 240}, {{0, -100}, 240},  {{kBarX, 203}, 0},
                 {{kBarX, 250}, 0},  {{400, 108}, 120}, {{kBarX, 60}, 181}};
    for (const auto& m : moves) {
        SCOPED_TRACE(m.at.y);
        d.Move(m.at.x, m.at.y);
        EXPECT_EQ(d.state.m_byLum, m.lum);
        EXPECT_EQ(d.state.NewColour(), HslToRgb(0, 240, m.lum));
        EXPECT_EQ(d.EditText(kLumEditId), std::to_string(m.lum));
        EXPECT_EQ(d.state.m_ptCross, (ClientPoint{0, 0})) << "the bar leaves the cross-hair";
        EXPECT_TRUE(ShowsAFullRepaint(d));
    }
    d.Release(kBarX, 60);
    EXPECT_FALSE(d.view.Captured());
}

TEST_F(ColourDialogMouse, TheBarTakesHueAndSaturationFromTheCrossHair) {
    FakeColourDialog d;
    d.SelectAll(kHueEditId);
    d.Type(kHueEditId, "100");
    EXPECT_EQ(d.state.m_ptCross.x, 79);
    d.Press(kBarX, 108);
    EXPECT_EQ(d.state.m_byHue, 99);
    EXPECT_EQ(d.EditText(kHueEditId), "99");
    EXPECT_EQ(d.state.NewColour(), HslToRgb(99, 240, 120));
}

TEST_F(ColourDialogMouse, ClicksOnACellOrTheCurrentSwatchApplyTheirColour) {
    const PackedColour teal = MakePackedColour(0, 128, 128);
    const PackedColour plum = MakePackedColour(142, 69, 133);
    const struct {
        const char* what;
        ClientPoint from;
        std::vector<ClientPoint> through; // movements; the release is at the last point
        PackedColour newColour;
    } cases[] = {
        {"click on a cell", OnCell(4), {}, teal},
        {"a cell dragged onto the new swatch", OnCell(4), {kOnNothing, kOnNewSwatch}, teal},
        {"a cell dragged off and back", OnCell(4), {kOnNothing, OnCell(4)}, teal},
        {"click on the current swatch", kOnCurrentSwatch, {}, MakePackedColour(255, 0, 0)},
        {"the current swatch dragged onto the new one",
         kOnCurrentSwatch,
         {kOnNothing, kOnNewSwatch},
         MakePackedColour(255, 0, 0)},
        {"the current swatch dragged onto nothing", kOnCurrentSwatch, {kOnNothing}, plum},
        {"the current swatch pressed, moved and released on itself",
         kOnCurrentSwatch,
         {kOnNothing, kOnCurrentSwatch},
         plum},
        {"a cell dragged onto nothing", OnCell(4), {kOnNothing}, plum},
        {"click on the new swatch", kOnNewSwatch, {}, plum},
        {"a press on nothing released on the new swatch", kOnNothing, {kOnNewSwatch}, plum},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Cell(4) = teal;
        FakeColourDialog d;
        d.state.SetNewColor(RedOf(plum), GreenOf(plum), BlueOf(plum));
        d.Press(c.from.x, c.from.y);
        ClientPoint last = c.from;
        for (const ClientPoint p : c.through) {
            d.Move(p.x, p.y);
            last = p;
        }
        d.Release(last.x, last.y);
        EXPECT_EQ(d.state.NewColour(), c.newColour);
        EXPECT_EQ(d.EditText(kRedEditId), std::to_string(RedOf(c.newColour)));
        EXPECT_EQ(Cell(4), teal) << "no cell is written";
        EXPECT_EQ(d.state.m_nTrack, ColourDialogState::kTrackNone);
        EXPECT_EQ(d.state.m_bMoved, 0);
        EXPECT_TRUE(ShowsAFullRepaint(d));
    }
}

TEST_F(ColourDialogMouse, DroppingOnACellCopiesTheColourIntoIt) {
    const PackedColour teal = MakePackedColour(0, 128, 128);
    FakeColourDialog d;
    d.state.SetNewColor(0, 128, 128);
    d.Drag(kOnNewSwatch, {kOnNothing, OnCell(12)});
    EXPECT_EQ(Cell(12), teal);
    d.Drag(kOnCurrentSwatch, {OnCell(0)});
    EXPECT_EQ(Cell(0), MakePackedColour(255, 0, 0));
    d.Drag(OnCell(12), {OnCell(13)});
    EXPECT_EQ(Cell(13), teal);
    EXPECT_EQ(Cell(12), teal) << "the source keeps its colour";
    EXPECT_EQ(d.state.NewColour(), teal) << "a copy into a cell leaves the new colour";
    EXPECT_TRUE(ShowsAFullRepaint(d));

    // Between two cells: nothing is stored, the cells are drawn again.
    const auto before = ColourDialogState::s_customColors;
    d.view.log.clear();
    d.Drag(kOnNewSwatch, {{27, 216}});
    EXPECT_EQ(ColourDialogState::s_customColors, before);
    EXPECT_EQ(Count(d.view.log, "DrawCustomColors"), 1);
    // Dropped beside the lower row in the strip's margin.
    d.Drag(kOnNewSwatch, {{11, 242}});
    EXPECT_EQ(ColourDialogState::s_customColors, before);
}

TEST_F(ColourDialogMouse, ARightPressAbandonsAColourDrag) {
    FakeColourDialog d;
    d.state.SetNewColor(1, 2, 3);
    d.Press(kOnCurrentSwatch.x, kOnCurrentSwatch.y);
    d.Move(kOnNothing.x, kOnNothing.y);
    d.state.RightPress();
    EXPECT_EQ(d.state.m_nTrack, ColourDialogState::kTrackNone);
    EXPECT_EQ(d.state.m_nDragFrom, ColourDialogState::kDragFromNone);
    d.Move(OnCell(7).x, OnCell(7).y);
    d.Release(OnCell(7).x, OnCell(7).y);
    EXPECT_EQ(Cell(7), kWhiteColour);
    EXPECT_EQ(d.state.NewColour(), MakePackedColour(1, 2, 3));

    // Onto the new swatch after the right press: nothing is applied either.
    d.Press(kOnCurrentSwatch.x, kOnCurrentSwatch.y);
    d.state.RightPress();
    d.Release(kOnNewSwatch.x, kOnNewSwatch.y);
    EXPECT_EQ(d.state.NewColour(), MakePackedColour(1, 2, 3));
}

TEST_F(ColourDialogMouse, ARightPressEndsFieldAndBarTracking) {
    for (const ClientPoint press : {ClientPoint{109, 108}, ClientPoint{kBarX, 108}}) {
        SCOPED_TRACE(press.x);
        FakeColourDialog d;
        d.Press(press.x, press.y);
        const PackedColour picked = d.state.NewColour();
        const ClientPoint cross = d.state.m_ptCross;
        d.state.RightPress();
        d.view.log.clear();
        d.Move(30, 30);
        d.Move(kBarX, 200);
        EXPECT_EQ(d.state.NewColour(), picked);
        EXPECT_EQ(d.state.m_ptCross, cross);
        EXPECT_TRUE(d.view.log.empty()) << "nothing is drawn or loaded";
        EXPECT_TRUE(d.view.Captured()) << "the capture stays until the release";
        d.Release(30, 30);
        EXPECT_FALSE(d.view.Captured());
        EXPECT_EQ(d.state.NewColour(), picked);
    }
}

TEST_F(ColourDialogMouse, OnlyTheFieldAndTheBarCaptureTheMouse) {
    const struct {
        const char* what;
        ClientPoint at;
        bool captures;
        std::uint8_t track;
    } cases[] = {
        {"field", {14, 13}, true, ColourDialogState::kTrackField},
        {"field's far corner", {204, 203}, true, ColourDialogState::kTrackField},
        {"bar", {238, 203}, true, ColourDialogState::kTrackLumBar},
        {"current swatch", kOnCurrentSwatch, false, ColourDialogState::kTrackColourDrag},
        {"new swatch", kOnNewSwatch, false, ColourDialogState::kTrackColourDrag},
        {"custom cell", OnCell(19), false, ColourDialogState::kTrackColourDrag},
        {"between field and bar", {210, 100}, false, ColourDialogState::kTrackNone},
        {"between the cells", {27, 216}, false, ColourDialogState::kTrackNone},
        {"the bottom strip", {100, 290}, false, ColourDialogState::kTrackNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeColourDialog d;
        d.Press(c.at.x, c.at.y);
        EXPECT_EQ(d.view.Captured(), c.captures);
        EXPECT_EQ(d.state.m_nTrack, c.track);
        EXPECT_EQ(d.state.WantsDragCursor(), c.track != ColourDialogState::kTrackNone);
    }
}

TEST_F(ColourDialogMouse, TheDragCursorIsAskedForAsTheDragGoes) {
    // The current swatch asks at once; every colour drag asks again with its first movement.
    const struct {
        const char* what;
        ClientPoint at;
        int requestsAtPress;
        int requestsAfterMoves;
        std::int8_t dragFrom;
    } cases[] = {
        {"current swatch", kOnCurrentSwatch, 1, 2, ColourDialogState::kDragFromCurrent},
        {"new swatch", kOnNewSwatch, 0, 1, ColourDialogState::kDragFromNew},
        {"custom cell", OnCell(9), 0, 1, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeColourDialog d;
        d.Press(c.at.x, c.at.y);
        EXPECT_EQ(d.state.m_nDragFrom, c.dragFrom);
        EXPECT_EQ(Count(d.view.log, "Cursor drag"), c.requestsAtPress);
        d.Move(kOnNothing.x, kOnNothing.y);
        d.Move(kOnNothing.x + 1, kOnNothing.y);
        EXPECT_EQ(Count(d.view.log, "Cursor drag"), c.requestsAfterMoves);
        d.Release(kOnNothing.x + 1, kOnNothing.y);
        EXPECT_EQ(d.view.log.back(), "Release");
        EXPECT_EQ(Count(d.view.log, "Cursor arrow"), 1) << "the arrow again at the release";
    }
    FakeColourDialog d;
    d.Press(kOnNewSwatch.x, kOnNewSwatch.y);
    d.state.RightPress();
    EXPECT_EQ(d.view.log.back(), "Cursor arrow");
}

TEST_F(ColourDialogMouse, AMoveBeforeAnyPressOnlyMarksTheMouseMoved) {
    FakeColourDialog d;
    d.Move(109, 108);
    EXPECT_EQ(d.state.m_bMoved, 1);
    EXPECT_TRUE(d.view.log.empty());
    d.Press(OnCell(3).x, OnCell(3).y);
    EXPECT_EQ(d.state.m_bMoved, 0) << "a press on a cell starts unmoved";
}

} // namespace
