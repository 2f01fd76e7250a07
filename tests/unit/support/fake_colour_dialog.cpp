#include "support/fake_colour_dialog.h"

#include "controls/picker_drawing.h"

#include <algorithm>
#include <cstdio>

void FakeEdit::SetText(const std::string& text) {
    ++writes_;
    text_ = text;
    selection_ = {0, 0};
}

void FakeEdit::SetSelection(EditSelection selection) {
    const int length = static_cast<int>(text_.size());
    selection_ = {std::clamp(selection.start, 0, length), std::clamp(selection.end, 0, length)};
}

void FakeEdit::ReplaceSelection(std::string_view text) {
    const auto [from, to] = std::minmax(selection_.start, selection_.end);
    text_.replace(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from), text);
    const int caret = from + static_cast<int>(text.size());
    selection_ = {caret, caret};
}

namespace {

std::string Hex(PackedColour colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", colour);
    return text;
}

// One pass of data exchange over the fake edits; the text exchange behaves as the framework's
// (a loaded text that is already shown is left alone).
class FakeExchange final : public ColourDataExchange {
public:
    FakeExchange(FakeColourDialogView& view, bool store) : view_(view), store_(store) {}

    void Text(int editId, std::string& value) override {
        view_.exchangeOrder.push_back(editId);
        FakeEdit& edit = view_.Edit(editId);
        if (store_) {
            value = edit.Text();
        } else if (edit.Text() != value) {
            edit.SetText(value);
        }
    }
    void ByteEdit(int editId, std::uint8_t& value, std::uint8_t limit) override {
        view_.exchangeOrder.push_back(editId);
        DDX_ByteEdit(view_.Edit(editId), store_, value, limit);
    }

private:
    FakeColourDialogView& view_;
    bool store_;
};

} // namespace

FakeColourDialogView::FakeColourDialogView()
    : canvas_(kFakeClientWidth, kFakeClientHeight, kFakeDialogBackground, kFakeScheme) {}

void FakeColourDialogView::DrawField() {
    log.push_back("DrawField");
    ::DrawField(canvas_, state_->FieldPixels());
}

void FakeColourDialogView::DrawLumBar() {
    log.push_back("DrawLumBar");
    ::DrawLumBar(canvas_, state_->LumPixels());
}

void FakeColourDialogView::DrawCrossHair(ClientPoint cross) {
    log.push_back("DrawCrossHair " + std::to_string(cross.x) + " " + std::to_string(cross.y));
    ::DrawCrossHair(canvas_, cross.x, cross.y);
}

void FakeColourDialogView::DrawLumMarker(std::uint8_t lum) {
    log.push_back("DrawLumMarker " + std::to_string(lum));
    ::DrawLumMarker(canvas_, lum);
}

void FakeColourDialogView::DrawCurrentColor(PackedColour colour) {
    log.push_back("DrawCurrentColor " + Hex(colour));
    ::DrawCurrentColor(canvas_, colour);
}

void FakeColourDialogView::DrawNewColor(PackedColour colour) {
    log.push_back("DrawNewColor " + Hex(colour));
    ::DrawNewColor(canvas_, colour);
}

void FakeColourDialogView::DrawCustomColors(
    std::span<const PackedColour, kCustomColourCount> table) {
    log.push_back("DrawCustomColors");
    ::DrawCustomColors(canvas_, table);
}

void FakeColourDialogView::LumImageChanged() {
    log.push_back("LumImageChanged");
}

void FakeColourDialogView::LoadEdits() {
    log.push_back("Load");
    exchangeOrder.clear();
    FakeExchange dx(*this, false);
    state_->ExchangeEdits(dx);
}

void FakeColourDialogView::StoreEdits() {
    log.push_back("Store");
    exchangeOrder.clear();
    FakeExchange dx(*this, true);
    state_->ExchangeEdits(dx);
}

void FakeColourDialogView::CaptureMouse() {
    log.push_back("Capture");
    captured_ = true;
}

void FakeColourDialogView::ReleaseMouse() {
    log.push_back("Release");
    captured_ = false;
}

void FakeColourDialogView::RequestCursor() {
    log.push_back(state_->WantsDragCursor() ? "Cursor drag" : "Cursor arrow");
}

FakeColourDialog::FakeColourDialog() {
    view.Attach(state);
    view.LoadEdits();
    state.Paint(view.Client(), kFakeClientWidth, kFakeClientHeight, state.FieldPixels(),
                state.LumPixels());
    view.log.clear();
}

void FakeColourDialog::Changed(int editId) {
    switch (editId) {
    case kHueEditId:
        state.OnChangeHue();
        break;
    case kSatEditId:
        state.OnChangeSat();
        break;
    case kLumEditId:
        state.OnChangeLum();
        break;
    case kRedEditId:
    case kGreenEditId:
    case kBlueEditId:
        state.OnChangeRgb();
        break;
    case kRefEditId:
        state.OnChangeRef();
        break;
    default:
        ADD_FAILURE() << "no edit " << editId;
        break;
    }
}

void FakeColourDialog::Type(int editId, std::string_view text) {
    // Each character is a keystroke of its own, with its own change notification.
    for (const char c : text) {
        view.Edit(editId).ReplaceSelection(std::string_view(&c, 1));
        Changed(editId);
    }
}

void FakeColourDialog::SelectAll(int editId) {
    FakeEdit& edit = view.Edit(editId);
    edit.SetSelection({0, static_cast<int>(edit.Text().size())});
}

void FakeColourDialog::Paste(int editId, std::string_view text) {
    SelectAll(editId);
    view.Edit(editId).ReplaceSelection(text);
    Changed(editId);
}

void FakeColourDialog::Empty(int editId) {
    Paste(editId, "");
}

void FakeColourDialog::Drag(ClientPoint from, std::initializer_list<ClientPoint> through) {
    Press(from.x, from.y);
    ClientPoint last = from;
    for (const ClientPoint p : through) {
        Move(p.x, p.y);
        last = p;
    }
    Release(last.x, last.y);
}

testing::AssertionResult ShowsAFullRepaint(FakeColourDialog& dialog) {
    SoftwareCanvas repainted(kFakeClientWidth, kFakeClientHeight, kFakeDialogBackground,
                             kFakeScheme);
    dialog.state.Paint(repainted, kFakeClientWidth, kFakeClientHeight, dialog.state.FieldPixels(),
                       dialog.state.LumPixels());
    const SoftwareCanvas& shown = dialog.view.Client();
    int differences = 0;
    testing::Message first;
    for (int y = 0; y < kFakeClientHeight; ++y) {
        for (int x = 0; x < kFakeClientWidth; ++x) {
            if (shown.Pixel(x, y) != repainted.Pixel(x, y) && ++differences <= 6) {
                first << "\n  (" << x << "," << y << ") shows " << std::hex << shown.Pixel(x, y)
                      << ", a repaint " << repainted.Pixel(x, y) << std::dec;
            }
        }
    }
    if (differences == 0) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << differences << " pixels differ" << first;
}
