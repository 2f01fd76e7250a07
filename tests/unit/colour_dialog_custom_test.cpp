// The custom colours: "Add Custom Colour" across dialogs of one process and round the table,
// and the next slot after a colour is dropped on a cell.
#include "controls/colour_dialog_state.h"

#include "support/fake_colour_dialog.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

ClientPoint OnCell(int i) {
    return {s_customCells[i].x + 5, s_customCells[i].y + 9};
}

PackedColour Shade(int i) {
    return MakePackedColour(static_cast<std::uint8_t>(10 * i), 7, 99);
}

class CustomColours : public testing::Test {
protected:
    void SetUp() override {
        saved_ = ColourDialogState::s_customColors;
        ColourDialogState::s_customColors.fill(kWhiteColour);
    }
    void TearDown() override { ColourDialogState::s_customColors = saved_; }

    static PackedColour Cell(int i) { return ColourDialogState::s_customColors[i]; }

    // Adds colour as the presenter does: makes it the new colour, then presses the button.
    static void Add(FakeColourDialog& d, PackedColour colour) {
        d.state.SetNewColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
        d.state.OnAddCustomColor();
    }

private:
    std::array<PackedColour, kCustomColourCount> saved_{};
};

TEST_F(CustomColours, AdditionsContinueAfterTheLastColourInUseInEveryDialog) {
    {
        FakeColourDialog first;
        for (int i = 0; i < 3; ++i) {
            Add(first, Shade(i));
            EXPECT_EQ(Cell(i), Shade(i));
        }
        EXPECT_EQ(first.state.m_nNextCustom, 3);
        EXPECT_TRUE(ShowsAFullRepaint(first)) << "the cells are drawn at once";
    }
    FakeColourDialog second;
    EXPECT_EQ(second.state.m_nNextCustom, 0);
    Add(second, Shade(3));
    EXPECT_EQ(Cell(3), Shade(3));
    EXPECT_EQ(Cell(0), Shade(0)) << "the first dialog's colours stay";
    for (int i = 4; i < kCustomColourCount; ++i) {
        Add(second, Shade(i));
        EXPECT_EQ(Cell(i), Shade(i));
    }
    EXPECT_EQ(second.state.m_nNextCustom, 0);
    // The table is taken to its end: round from the dialog's next slot.
    Add(second, Shade(20));
    EXPECT_EQ(Cell(0), Shade(20));
    Add(second, Shade(21));
    EXPECT_EQ(Cell(1), Shade(21));

    FakeColourDialog third;
    Add(third, Shade(22));
    EXPECT_EQ(Cell(0), Shade(22)) << "a new dialog starts at slot 0";
    EXPECT_EQ(third.state.m_nNextCustom, 1);
}

TEST_F(CustomColours, WhiteEntriesAtTheEndCountAsFree) {
    ColourDialogState::s_customColors[5] = Shade(5);
    ColourDialogState::s_customColors[2] = Shade(2);
    FakeColourDialog d;
    Add(d, Shade(6));
    EXPECT_EQ(Cell(6), Shade(6));
    EXPECT_EQ(Cell(3), kWhiteColour) << "a free slot before the last colour in use stays free";
    // Adding white frees nothing but counts as free itself.
    Add(d, kWhiteColour);
    EXPECT_EQ(Cell(7), kWhiteColour);
    Add(d, Shade(8));
    EXPECT_EQ(Cell(7), Shade(8)) << "the white just added is taken again";
}

TEST_F(CustomColours, WithOnlyTheFirstCellInUseANewDialogFillsTheSecond) {
    ColourDialogState::s_customColors[0] = Shade(0);
    FakeColourDialog d;
    Add(d, Shade(1));
    EXPECT_EQ(Cell(0), Shade(0));
    EXPECT_EQ(Cell(1), Shade(1));
}

TEST_F(CustomColours, AnAllWhiteTableKeepsTheDialogsNextSlot) {
    FakeColourDialog d;
    d.state.SetNewColor(255, 255, 255);
    d.Drag({380, 40}, {{300, 150}, OnCell(7)});
    EXPECT_EQ(d.state.m_nNextCustom, 8);
    Add(d, Shade(1));
    EXPECT_EQ(Cell(8), Shade(1));
    EXPECT_EQ(Cell(0), kWhiteColour);
}

TEST_F(CustomColours, ADroppedColourMovesTheNextSlotOnlyForward) {
    const struct {
        int cell;
        int nextSlot;
    } cases[] = {{7, 8}, {19, 0}, {2, 3}, {3, 3}, {0, 3}, {18, 19}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        ColourDialogState::s_customColors.fill(kWhiteColour);
        FakeColourDialog d;
        for (int i = 0; i < 3; ++i) {
            Add(d, Shade(i));
        }
        ASSERT_EQ(d.state.m_nNextCustom, 3);
        d.state.SetNewColor(1, 2, 3);
        d.Drag({380, 40}, {{300, 150}, OnCell(c.cell)});
        EXPECT_EQ(Cell(c.cell), MakePackedColour(1, 2, 3));
        EXPECT_EQ(d.state.m_nNextCustom, c.nextSlot);
        EXPECT_TRUE(ShowsAFullRepaint(d));
    }
}

TEST_F(CustomColours, TheColoursOutliveEveryDialog) {
    {
        auto d = std::make_unique<FakeColourDialog>();
        Add(*d, Shade(1));
        d->Drag({290, 40}, {OnCell(15)});
    }
    EXPECT_EQ(Cell(0), Shade(1));
    EXPECT_EQ(Cell(15), MakePackedColour(255, 0, 0));
    FakeColourDialog next;
    const SoftwareCanvas& client = next.view.Client();
    const ClientRect fill0 = CustomCellLayout(0).fill;
    const ClientRect fill15 = CustomCellLayout(15).fill;
    EXPECT_EQ(client.Pixel(fill0.left, fill0.top), Shade(1));
    EXPECT_EQ(client.Pixel(fill15.left, fill15.top), MakePackedColour(255, 0, 0));
}

} // namespace
