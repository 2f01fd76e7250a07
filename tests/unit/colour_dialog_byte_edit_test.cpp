// The numeric edits' data exchange: what a store makes of any text, and where a load puts the
// caret.
#include "controls/byte_edit_exchange.h"

#include "support/fake_colour_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

namespace {

TEST(DecimalDigitsValue, ReadsTheDigitsAndIgnoresEverythingElse) {
    const struct {
        const char* text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"", std::nullopt},
        {"abc", std::nullopt},
        {" -+.,", std::nullopt},
        {"0", 0},
        {"007", 7},
        {"a1b2", 12},
        {"-5", 5},
        {"1 2 3", 123},
        {"\xA3\xB1"
         "9",
         9}, // bytes of another code page are not digits
        {"2147483646", 2147483646},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"99999999999999999999999999", 2147483647},
        {"21474836479", 2147483647},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DecimalDigitsValue(c.text), c.value);
    }
}

FakeEdit EditWith(const std::string& text, EditSelection selection) {
    FakeEdit edit;
    edit.SetText(text);
    edit.SetSelection(selection);
    return edit;
}

TEST(ByteEditStore, FiltersCapsAndKeepsTheSelection) {
    const struct {
        const char* text;
        EditSelection selection;
        std::uint8_t limit;
        std::uint8_t member;
        std::uint8_t storedMember;
        const char* shown;
        EditSelection shownSelection;
    } cases[] = {
        {"12", {2, 2}, 255, 7, 12, "12", {2, 2}},
        {"300", {3, 3}, 255, 7, 255, "255", {3, 3}},
        {"250", {3, 3}, 239, 7, 239, "239", {3, 3}},
        {"241", {1, 2}, 240, 7, 240, "240", {1, 2}},
        {"a1b2", {4, 4}, 255, 7, 12, "12", {2, 2}}, // the caret held to the shorter text
        {"0012", {0, 4}, 255, 7, 12, "12", {0, 2}}, // leading zeros go
        {"", {0, 0}, 240, 120, 120, "", {0, 0}},    // emptied: the member stays
        {"xyz", {2, 3}, 240, 120, 120, "", {0, 0}}, // no digit at all
        {"0", {1, 1}, 240, 120, 0, "0", {1, 1}},
        {"99999999999", {11, 11}, 240, 3, 240, "240", {3, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        FakeEdit edit = EditWith(c.text, c.selection);
        std::uint8_t member = c.member;
        DDX_ByteEdit(edit, true, member, c.limit);
        EXPECT_EQ(member, c.storedMember);
        EXPECT_EQ(edit.Text(), c.shown);
        EXPECT_EQ(edit.Selection(), c.shownSelection);
        EXPECT_EQ(edit.Scrolls(), 1) << "the caret is scrolled into view";
    }
}

TEST(ByteEditLoad, WritesTheMemberWithTheCaretAtTheOldSelectionsStart) {
    const struct {
        const char* text;
        EditSelection selection;
        std::uint8_t limit;
        std::uint8_t member;
        std::uint8_t loadedMember;
        const char* shown;
        EditSelection shownSelection;
    } cases[] = {
        {"", {0, 0}, 240, 120, 120, "120", {0, 0}}, // an emptied edit shows its value again
        {"25", {2, 2}, 255, 255, 255, "255", {2, 2}},
        {"255", {1, 3}, 255, 0, 0, "0", {1, 1}},     // held to the shorter text
        {"7", {0, 1}, 239, 250, 239, "239", {0, 0}}, // a member beyond the limit is capped
        {"7", {1, 1}, 240, 255, 240, "240", {1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        FakeEdit edit = EditWith(c.text, c.selection);
        std::uint8_t member = c.member;
        DDX_ByteEdit(edit, false, member, c.limit);
        EXPECT_EQ(member, c.loadedMember);
        EXPECT_EQ(edit.Text(), c.shown);
        EXPECT_EQ(edit.Selection(), c.shownSelection);
        EXPECT_EQ(edit.Scrolls(), 1);
    }
}

TEST(ByteEdit, AnEditThatAlreadyShowsTheTextIsNotWrittenAgain) {
    const struct {
        const char* text;
        bool store;
        std::uint8_t member;
        int writes;
    } cases[] = {
        {"120", false, 120, 0}, {"120", true, 7, 0},  {"", true, 7, 0},
        {"12", false, 120, 1},  {"0120", true, 7, 1}, {"x", true, 7, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        FakeEdit edit = EditWith(c.text, {1, 1});
        const int writesBefore = edit.Writes();
        std::uint8_t member = c.member;
        DDX_ByteEdit(edit, c.store, member, 240);
        EXPECT_EQ(edit.Writes() - writesBefore, c.writes);
        EXPECT_EQ(edit.Selection().start, std::min<int>(1, static_cast<int>(edit.Text().size())));
    }
}

} // namespace
