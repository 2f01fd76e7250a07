// The colour dialog's edits: a fresh dialog's values, and what typing and pasting into each
// edit does to the colour, the other edits and the picture.
#include "controls/colour_dialog_state.h"
#include "controls/colour_model.h"

#include "support/fake_colour_dialog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The table as the process started, before any test could change it.
const std::array<PackedColour, kCustomColourCount> kCustomColoursAtStart =
    ColourDialogState::s_customColors;

// Every edit shows its member, and the reference text is the new colour's.
testing::AssertionResult EditsShowTheMembers(FakeColourDialog& d) {
    const ColourDialogState& s = d.state;
    const struct {
        int id;
        std::string wanted;
    } edits[] = {
        {kHueEditId, std::to_string(s.m_byHue)},
        {kSatEditId, std::to_string(s.m_bySat)},
        {kLumEditId, std::to_string(s.m_byLum)},
        {kRedEditId, std::to_string(s.m_byNewRed)},
        {kGreenEditId, std::to_string(s.m_byNewGreen)},
        {kBlueEditId, std::to_string(s.m_byNewBlue)},
        {kRefEditId, s.m_strRef},
    };
    for (const auto& e : edits) {
        if (d.EditText(e.id) != e.wanted) {
            return testing::AssertionFailure() << "edit " << e.id << " shows \"" << d.EditText(e.id)
                                               << "\", the member " << e.wanted;
        }
    }
    const RefText ref = FormatRefText(s.m_byNewRed, s.m_byNewGreen, s.m_byNewBlue);
    if (s.m_strRef != ref.data()) {
        return testing::AssertionFailure() << "reference " << s.m_strRef << " for " << ref.data();
    }
    return testing::AssertionSuccess();
}

TEST(FreshColourDialog, ShowsRedWithTheCrossHairAtTheTopLeft) {
    FakeColourDialog d;
    const ColourDialogState& s = d.state;
    EXPECT_EQ(s.m_byHue, 0);
    EXPECT_EQ(s.m_bySat, 240);
    EXPECT_EQ(s.m_byLum, 120);
    EXPECT_EQ(s.CurrentColour(), MakePackedColour(255, 0, 0));
    EXPECT_EQ(s.NewColour(), MakePackedColour(255, 0, 0));
    EXPECT_EQ(s.m_ptCross, (ClientPoint{0, 0}));
    EXPECT_EQ(s.m_strRef, "FF0000");
    EXPECT_EQ(s.m_nTrack, ColourDialogState::kTrackNone);
    EXPECT_EQ(s.m_nDragFrom, ColourDialogState::kDragFromNone);
    EXPECT_EQ(s.m_nNextCustom, 0);
    EXPECT_FALSE(s.WantsDragCursor());

    const struct {
        int id;
        const char* text;
    } edits[] = {{kHueEditId, "0"},     {kSatEditId, "240"}, {kLumEditId, "120"},
                 {kRedEditId, "255"},   {kGreenEditId, "0"}, {kBlueEditId, "0"},
                 {kRefEditId, "FF0000"}};
    for (const auto& e : edits) {
        EXPECT_EQ(d.EditText(e.id), e.text) << "edit " << e.id;
    }

    const SoftwareCanvas& client = d.view.Client();
    const PackedColour red = MakePackedColour(255, 0, 0);
    EXPECT_EQ(client.Pixel(kCurrentSwatch.fill.left, kCurrentSwatch.fill.top), red);
    EXPECT_EQ(client.Pixel(kNewSwatch.fill.right - 1, kNewSwatch.fill.bottom - 1), red);
    // The cross-hair's arms about the field's top-left pixel, its centre left clear.
    EXPECT_EQ(client.Pixel(14, 16), kBlackColour);
    EXPECT_EQ(client.Pixel(17, 13), kBlackColour);
    EXPECT_EQ(client.Pixel(14, 13), MakePackedColour(255, 45, 45));
    // The bar: the ramp of pure red, black at the bottom.
    EXPECT_EQ(client.Pixel(218, 202), kBlackColour);
    EXPECT_EQ(client.Pixel(237, 13), MakePackedColour(255, 251, 251));
    EXPECT_EQ(client.Pixel(228, 108), HslToRgb(0, 240, 240 * 94 / 190));
}

TEST(FreshColourDialog, CustomColoursAreWhiteWhenTheProcessStarts) {
    for (const PackedColour colour : kCustomColoursAtStart) {
        EXPECT_EQ(colour, kWhiteColour);
    }
}

TEST(ColourDialogEdits, ExchangeInTheDialogsOrderAndCapAtTheLimits) {
    FakeColourDialog d;
    d.state.m_byHue = 250;
    d.state.m_bySat = 241;
    d.state.m_byLum = 255;
    d.view.LoadEdits();
    EXPECT_EQ(d.view.exchangeOrder,
              (std::vector<int>{kRefEditId, kHueEditId, kSatEditId, kLumEditId, kRedEditId,
                                kGreenEditId, kBlueEditId}));
    EXPECT_EQ(d.state.m_byHue, 239);
    EXPECT_EQ(d.state.m_bySat, 240);
    EXPECT_EQ(d.state.m_byLum, 240);
    EXPECT_TRUE(EditsShowTheMembers(d));
}

TEST(ColourDialogEdits, AValueBeyondItsLimitBecomesTheLimitAtOnce) {
    FakeColourDialog d;
    d.state.SetNewColor(10, 20, 30);
    d.SelectAll(kRedEditId);
    d.Type(kRedEditId, "300");
    EXPECT_EQ(d.EditText(kRedEditId), "255");
    EXPECT_EQ(d.state.m_byNewRed, 255);
    EXPECT_EQ(d.state.m_strRef, "FF141E");
    EXPECT_TRUE(EditsShowTheMembers(d));

    d.SelectAll(kHueEditId);
    d.Type(kHueEditId, "250");
    EXPECT_EQ(d.EditText(kHueEditId), "239");
    EXPECT_EQ(d.state.m_byHue, 239);
    EXPECT_EQ(d.state.m_ptCross.x, 190);
    EXPECT_TRUE(EditsShowTheMembers(d));
    EXPECT_TRUE(ShowsAFullRepaint(d));
}

TEST(ColourDialogEdits, LettersVanishFromEveryNumericEdit) {
    for (const int id :
         {kHueEditId, kSatEditId, kLumEditId, kRedEditId, kGreenEditId, kBlueEditId}) {
        SCOPED_TRACE(id);
        FakeColourDialog d;
        d.Paste(id, "a1b2");
        EXPECT_EQ(d.EditText(id), "12");
        EXPECT_EQ(d.view.Edit(id).Selection(), (EditSelection{2, 2}));
        EXPECT_TRUE(EditsShowTheMembers(d));
        EXPECT_TRUE(ShowsAFullRepaint(d));
    }
}

TEST(ColourDialogEdits, AnEmptiedEditShowsItsValueAgainWithTheCaretAtTheStart) {
    FakeColourDialog d;
    d.state.SetNewColor(200, 100, 50); // luminance 118
    d.Empty(kLumEditId);
    EXPECT_EQ(d.state.m_byLum, 118);
    EXPECT_EQ(d.EditText(kLumEditId), "118");
    EXPECT_EQ(d.view.Edit(kLumEditId).Selection(), (EditSelection{0, 0}));
    EXPECT_EQ(d.state.NewColour(), HslToRgb(d.state.m_byHue, d.state.m_bySat, 118));
    EXPECT_TRUE(EditsShowTheMembers(d));
}

TEST(ColourDialogEdits, BlueTypedIntoRedMovesTheCrossHair) {
    FakeColourDialog d;
    d.SelectAll(kBlueEditId);
    d.Type(kBlueEditId, "128");
    EXPECT_EQ(d.state.m_byHue, 220);
    EXPECT_EQ(d.state.m_bySat, 240);
    EXPECT_EQ(d.state.m_byLum, 120);
    EXPECT_EQ(d.state.m_ptCross, (ClientPoint{174, 0}));
    EXPECT_EQ(d.state.m_strRef, "FF0080");
    EXPECT_EQ(d.EditText(kHueEditId), "220");
    EXPECT_TRUE(EditsShowTheMembers(d));
    EXPECT_TRUE(ShowsAFullRepaint(d));
}

TEST(ColourDialogEdits, TypedHueSaturationAndLuminanceMakeTheColour) {
    FakeColourDialog d;
    d.SelectAll(kSatEditId);
    d.Type(kSatEditId, "120");
    EXPECT_EQ(d.state.m_ptCross.y, 95);
    d.SelectAll(kLumEditId);
    d.Type(kLumEditId, "6");
    d.view.log.clear();
    d.Type(kLumEditId, "0");
    const PackedColour colour = HslToRgb(0, 120, 60);
    EXPECT_EQ(d.state.NewColour(), colour);
    // Luminance leaves the field, the cross-hair and the bar alone.
    char drawn[32];
    std::snprintf(drawn, sizeof drawn, "DrawNewColor %06X", colour);
    EXPECT_EQ(d.view.log, (std::vector<std::string>{"Store", drawn, "DrawLumMarker 60", "Load"}));
    EXPECT_TRUE(EditsShowTheMembers(d));
    EXPECT_TRUE(ShowsAFullRepaint(d));
}

TEST(ColourDialogEdits, APastedReferenceSetsTheColourInUpperCase) {
    FakeColourDialog d;
    d.Paste(kRefEditId, "0080ff");
    EXPECT_EQ(d.state.NewColour(), MakePackedColour(0, 128, 255));
    EXPECT_EQ(d.EditText(kRefEditId), "0080FF");
    EXPECT_EQ(d.EditText(kRedEditId), "0");
    EXPECT_EQ(d.EditText(kGreenEditId), "128");
    EXPECT_EQ(d.EditText(kBlueEditId), "255");
    EXPECT_TRUE(EditsShowTheMembers(d));
    EXPECT_TRUE(ShowsAFullRepaint(d));
}

TEST(ColourDialogEdits, AReferenceThatCannotBeReadKeepsTheColour) {
    const struct {
        const char* pasted;
        PackedColour colour;
        const char* shown;
    } cases[] = {
        {"", MakePackedColour(0, 128, 255), "0080FF"},
        {"zz", MakePackedColour(0, 128, 255), "0080FF"},
        {"FF", MakePackedColour(255, 128, 255), "FF80FF"},    // only red read
        {"FF0", MakePackedColour(255, 0, 255), "FF00FF"},     // red and green
        {"0080FF1", MakePackedColour(0, 128, 255), "0080FF"}, // a seventh digit
        {"123456789", MakePackedColour(0x12, 0x34, 0x56), "123456"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted);
        FakeColourDialog d;
        d.Paste(kRefEditId, "0080FF");
        d.Paste(kRefEditId, c.pasted);
        EXPECT_EQ(d.state.NewColour(), c.colour);
        EXPECT_EQ(d.EditText(kRefEditId), c.shown);
        EXPECT_TRUE(EditsShowTheMembers(d));
    }
}

TEST(ColourDialogEdits, ASeventhDigitTypedAtTheEndIsDroppedAtOnce) {
    FakeColourDialog d;
    d.Paste(kRefEditId, "0080FF");
    d.view.Edit(kRefEditId).SetSelection({6, 6});
    d.Type(kRefEditId, "7");
    EXPECT_EQ(d.EditText(kRefEditId), "0080FF");
    EXPECT_EQ(d.state.NewColour(), MakePackedColour(0, 128, 255));
}

TEST(ColourDialogEdits, EveryEditLeavesThePictureAsARepaintWouldShowIt) {
    const struct {
        int id;
        const char* text;
    } typed[] = {{kHueEditId, "77"},  {kSatEditId, "33"},    {kLumEditId, "200"},
                 {kRedEditId, "9"},   {kGreenEditId, "210"}, {kBlueEditId, "100"},
                 {kRefEditId, "3A7"}, {kHueEditId, "0"},     {kSatEditId, "0"}};
    FakeColourDialog d;
    for (const auto& t : typed) {
        SCOPED_TRACE(t.text);
        d.Paste(t.id, t.text);
        EXPECT_TRUE(EditsShowTheMembers(d));
        EXPECT_TRUE(ShowsAFullRepaint(d));
    }
}

} // namespace
