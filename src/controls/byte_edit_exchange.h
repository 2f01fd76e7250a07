// Data exchange between an 8-bit member and an edit that shows it in decimal. The edits accept
// any characters, so every store filters what the user typed: non-digits vanish, a number
// beyond the limit becomes the limit, and an emptied edit keeps the member's value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Character positions in an edit's text; start == end is a caret with nothing selected.
struct EditSelection {
    int start;
    int end;

    friend bool operator==(const EditSelection&, const EditSelection&) = default;
};

// One single-line edit as data exchange reads and writes it.
class EditField {
public:
    virtual std::string Text() const = 0;
    // Replaces the whole text.
    virtual void SetText(const std::string& text) = 0;
    virtual EditSelection Selection() const = 0;
    // Selects from start to end; the edit holds both to the length of its text.
    virtual void SetSelection(EditSelection selection) = 0;
    virtual void ScrollCaretIntoView() = 0;

protected:
    ~EditField() = default;
};

// The decimal number that the digits of text spell when every other character is removed;
// nothing when the text holds no digit. A number beyond the range of a signed 32-bit integer
// counts as the largest one.
std::optional<std::int32_t> DecimalDigitsValue(std::string_view text);

// Store (bSaveAndValidate): the edit's digits, capped at limit, become the member and the
// edit's text; an edit without digits keeps the member and is emptied; the selection is put
// back as it was. Load: the member, first capped at limit, becomes the edit's text with the
// caret at the start of the old selection. An edit that already shows the text it should is
// not written again.
void DDX_ByteEdit(EditField& edit, bool bSaveAndValidate, std::uint8_t& value, std::uint8_t limit);
