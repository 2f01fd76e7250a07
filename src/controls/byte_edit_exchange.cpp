#include "controls/byte_edit_exchange.h"

#include <algorithm>
#include <limits>

std::optional<std::int32_t> DecimalDigitsValue(std::string_view text) {
    constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
    std::optional<std::int32_t> value;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            continue;
        }
        const std::int32_t digit = c - '0';
        const std::int32_t sofar = value.value_or(0);
        // Once at the largest value it stays there, however many digits follow.
        value = sofar > (kLargest - digit) / 10 ? kLargest : sofar * 10 + digit;
    }
    return value;
}

namespace {

// Every text written costs the window system a round trip (and the edit a repaint), on every
// mouse movement of a drag: an edit that already shows the text is left as it is. The
// selection is set afterwards either way.
void ShowText(EditField& edit, const std::string& shown, const std::string& wanted) {
    if (shown != wanted) {
        edit.SetText(wanted);
    }
}

} // namespace

void DDX_ByteEdit(EditField& edit, bool bSaveAndValidate, std::uint8_t& value, std::uint8_t limit) {
    const EditSelection selection = edit.Selection();
    if (bSaveAndValidate) {
        const std::string text = edit.Text();
        const std::optional<std::int32_t> typed = DecimalDigitsValue(text);
        if (typed.has_value()) {
            value = static_cast<std::uint8_t>(std::min<std::int32_t>(*typed, limit));
            ShowText(edit, text, std::to_string(value));
        } else {
            ShowText(edit, text, std::string());
        }
        edit.SetSelection(selection);
    } else {
        value = std::min(value, limit);
        ShowText(edit, edit.Text(), std::to_string(value));
        edit.SetSelection({selection.start, selection.start});
    }
    edit.ScrollCaretIntoView();
}
