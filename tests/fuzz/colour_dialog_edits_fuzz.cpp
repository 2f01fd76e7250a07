// The colour dialog's edits, which take whatever the presenter types or pastes: the reference
// text and the six number edits, through the dialog's behaviour on edits in memory.
//
// Input: up to eight steps, each a byte choosing the edit (its value modulo 7) and how the
// text arrives (divided by 7, modulo 3: pasted over the whole text, typed key by key at the
// caret, or the edit emptied), a length byte and that many bytes of text. After every step
// the edits show the dialog's members; a pasted text gives the value the rules of its edit
// give; at the end the picture is what a full repaint shows.
#include "controls/byte_edit_exchange.h"
#include "controls/colour_dialog_state.h"
#include "controls/colour_model.h"
#include "fuzz_input.h"
#include "support/fake_colour_dialog.h"

#include <cstdio>
#include <optional>
#include <string>

namespace {

constexpr int kEdits[] = {kRefEditId, kHueEditId,   kSatEditId, kLumEditId,
                          kRedEditId, kGreenEditId, kBlueEditId};
constexpr int kMaxSteps = 8;
constexpr std::size_t kMaxTypedKeys = 12; // each key runs the whole change handler

std::uint8_t& Member(ColourDialogState& s, int editId) {
    switch (editId) {
    case kHueEditId:
        return s.m_byHue;
    case kSatEditId:
        return s.m_bySat;
    case kLumEditId:
        return s.m_byLum;
    case kRedEditId:
        return s.m_byNewRed;
    case kGreenEditId:
        return s.m_byNewGreen;
    default:
        return s.m_byNewBlue;
    }
}

std::uint8_t Limit(int editId) {
    switch (editId) {
    case kHueEditId:
        return ColourDialogState::kHueLimit;
    case kSatEditId:
    case kLumEditId:
        return ColourDialogState::kSatLumLimit;
    default:
        return ColourDialogState::kChannelLimit;
    }
}

// The number a text's digits spell once everything else is dropped, held to the largest
// 32-bit value; nothing without digits.
std::optional<long long> DigitsValue(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c >= '0' && c <= '9' && !(digits.empty() && c == '0')) {
            digits.push_back(c);
        }
    }
    if (digits.empty()) {
        if (text.find_first_of("0123456789") == std::string::npos) {
            return std::nullopt;
        }
        return 0;
    }
    return digits.size() > 10 ? 2147483647LL : std::min(std::stoll(digits), 2147483647LL);
}

void CheckEditsShowTheMembers(FakeColourDialog& d) {
    ColourDialogState& s = d.state;
    for (int id : kEdits) {
        if (id == kRefEditId) {
            continue;
        }
        FUZZ_CHECK(Member(s, id) <= Limit(id));
        FUZZ_CHECK(d.EditText(id) == std::to_string(Member(s, id)));
    }
    const RefText ref = FormatRefText(s.m_byNewRed, s.m_byNewGreen, s.m_byNewBlue);
    FUZZ_CHECK(s.m_strRef == ref.data());
    FUZZ_CHECK(d.EditText(kRefEditId) == s.m_strRef);
    FUZZ_CHECK(s.m_ptCross.x >= 0 && s.m_ptCross.x <= 190);
    FUZZ_CHECK(s.m_ptCross.y >= 0 && s.m_ptCross.y <= 190);
}

// The data exchange on its own: a store takes the digits held to the limit, or keeps the
// value and empties the edit; a load shows the value with the caret where the selection began.
void CheckByteExchange(const std::string& text, std::uint8_t selectionByte, int editId) {
    FakeEdit edit;
    edit.SetText(text);
    const int length = static_cast<int>(text.size());
    edit.SetSelection({selectionByte % (length + 1), (selectionByte / 16) % (length + 1)});
    const EditSelection before = edit.Selection();
    const std::uint8_t limit = Limit(editId);
    std::uint8_t value = 17;
    DDX_ByteEdit(edit, true, value, limit);
    const std::optional<long long> digits = DigitsValue(text);
    FUZZ_CHECK(DecimalDigitsValue(text) == digits);
    if (digits) {
        FUZZ_CHECK(value == std::min<long long>(*digits, limit));
        FUZZ_CHECK(edit.Text() == std::to_string(value));
    } else {
        FUZZ_CHECK(value == 17 && edit.Text().empty());
    }
    const int shown = static_cast<int>(edit.Text().size());
    FUZZ_CHECK((edit.Selection() ==
                EditSelection{std::min(before.start, shown), std::min(before.end, shown)}));

    const EditSelection stored = edit.Selection();
    std::uint8_t large = 255;
    DDX_ByteEdit(edit, false, large, limit);
    FUZZ_CHECK(large == limit && edit.Text() == std::to_string(limit));
    FUZZ_CHECK((edit.Selection() == EditSelection{stored.start, stored.start}));
}

// The C library's own reading of a reference text, field by field as "%02X" reads.
void ReadLikeTheCLibrary(const std::string& text, std::uint8_t& red, std::uint8_t& green,
                         std::uint8_t& blue) {
    unsigned fields[3] = {};
    const int read = std::sscanf(text.c_str(), "%02X%02X%02X", &fields[0], &fields[1], &fields[2]);
    std::uint8_t* channels[] = {&red, &green, &blue};
    for (int i = 0; i < read; ++i) {
        *channels[i] = static_cast<std::uint8_t>(fields[i]);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    FakeColourDialog d;
    for (int step = 0; step < kMaxSteps && !input.AtEnd(); ++step) {
        const std::uint8_t choice = input.Byte();
        const int id = kEdits[choice % 7];
        const int how = choice / 7 % 3;
        const std::string text = input.Bytes(input.Byte());
        const std::string shownText = text.substr(0, text.find('\0')); // an edit holds no zero

        const ColourDialogState& s = d.state;
        const std::uint8_t red = s.m_byNewRed, green = s.m_byNewGreen, blue = s.m_byNewBlue;
        if (how == 0) {
            d.Paste(id, shownText);
        } else if (how == 1) {
            d.Type(id, shownText.substr(0, kMaxTypedKeys));
        } else {
            d.Empty(id);
        }
        CheckEditsShowTheMembers(d);

        if (id != kRefEditId) {
            CheckByteExchange(shownText, static_cast<std::uint8_t>(text.size()), id);
            const std::optional<long long> digits = DigitsValue(how == 0 ? shownText : "");
            if (how != 1 && digits) {
                FUZZ_CHECK(Member(d.state, id) == std::min<long long>(*digits, Limit(id)));
            }
        } else if (how == 0 && shownText.find("0x") == std::string::npos &&
                   shownText.find("0X") == std::string::npos) {
            // The C libraries differ on a field of "0x" alone; the dialog reads it as no number.
            std::uint8_t r = red, g = green, b = blue;
            ReadLikeTheCLibrary(shownText, r, g, b);
            FUZZ_CHECK(d.state.NewColour() == MakePackedColour(r, g, b));
        }
        const bool channelsEdit =
            id == kRefEditId || id == kRedEditId || id == kGreenEditId || id == kBlueEditId;
        if (channelsEdit && (how == 2 || (how == 0 && shownText.empty()))) {
            // Emptying the reference or a channel keeps the colour.
            FUZZ_CHECK(d.state.NewColour() == MakePackedColour(red, green, blue));
        }
    }
    FUZZ_CHECK(ShowsAFullRepaint(d));
    return 0;
}
