// The colour dialog's behaviour in a window made of memory: edits that keep a text and a
// selection as a single-line edit does, a canvas for the client area, and a log of what the
// behaviour asked of its window. Typing into an edit calls the edit's change handler, as the
// window's message map does; writing the edits from data exchange calls nothing.
#pragma once

#include "controls/byte_edit_exchange.h"
#include "controls/colour_dialog_state.h"
#include "controls/colour_dialog_view.h"
#include "controls/software_canvas.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// An edit in memory. Like a single-line edit control it holds its selection to its text, and
// replacing its whole text puts the caret at the start.
class FakeEdit final : public EditField {
public:
    std::string Text() const override { return text_; }
    void SetText(const std::string& text) override;
    EditSelection Selection() const override { return selection_; }
    void SetSelection(EditSelection selection) override;
    void ScrollCaretIntoView() override { ++scrolls_; }

    // What the keyboard does: the selection is replaced by the text and the caret follows it.
    void ReplaceSelection(std::string_view text);
    int Scrolls() const { return scrolls_; }
    int Writes() const { return writes_; }

private:
    std::string text_;
    EditSelection selection_{0, 0};
    int scrolls_ = 0;
    int writes_ = 0;
};

// The client area's size in the dialog's usual font: 277 x 183 dialog units.
inline constexpr int kFakeClientWidth = 416;
inline constexpr int kFakeClientHeight = 297;
// The dialog's own background, different from every colour the picker draws.
inline constexpr PackedColour kFakeDialogBackground = MakePackedColour(0x21, 0x43, 0x65);
inline constexpr SystemColourScheme kFakeScheme{MakePackedColour(236, 233, 216),
                                                MakePackedColour(172, 168, 153),
                                                MakePackedColour(255, 255, 254)};

class FakeColourDialogView final : public ColourDialogView {
public:
    FakeColourDialogView();

    // The dialog whose images and members this window shows.
    void Attach(ColourDialogState& state) { state_ = &state; }

    void DrawField() override;
    void DrawLumBar() override;
    void DrawCrossHair(ClientPoint cross) override;
    void DrawLumMarker(std::uint8_t lum) override;
    void DrawCurrentColor(PackedColour colour) override;
    void DrawNewColor(PackedColour colour) override;
    void DrawCustomColors(std::span<const PackedColour, kCustomColourCount> table) override;
    void LumImageChanged() override;
    void LoadEdits() override;
    void StoreEdits() override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    void RequestCursor() override;

    FakeEdit& Edit(int id) { return edits_[id]; }
    SoftwareCanvas& Client() { return canvas_; }
    bool Captured() const { return captured_; }

    // Every request in order, as "DrawCrossHair 95 95", "Load", "Capture" ...
    std::vector<std::string> log;
    // The ids of the edits in the order of the last data exchange.
    std::vector<int> exchangeOrder;

private:
    ColourDialogState* state_ = nullptr;
    std::map<int, FakeEdit> edits_;
    SoftwareCanvas canvas_;
    bool captured_ = false;
};

// A dialog on the fake window, opened as the framework opens it: the edits loaded from the
// members and the picker painted; the log then starts empty.
class FakeColourDialog {
public:
    FakeColourDialog();

    // Selects the edit's whole text, as a click and Ctrl+A do.
    void SelectAll(int editId);
    // Key by key at the edit's caret (the first over its selection), each followed by the
    // edit's change handler.
    void Type(int editId, std::string_view text);
    // Over the edit's whole text, then its change handler.
    void Paste(int editId, std::string_view text);
    // The edit's whole text deleted, then its change handler.
    void Empty(int editId);

    void Press(int x, int y) { state.LeftPress({x, y}); }
    void Move(int x, int y) { state.MouseMove({x, y}); }
    void Release(int x, int y) { state.LeftRelease({x, y}); }
    // A press, movements through the points and the release at the last one.
    void Drag(ClientPoint from, std::initializer_list<ClientPoint> through);

    std::string EditText(int editId) { return view.Edit(editId).Text(); }

    FakeColourDialogView view;
    ColourDialogState state{view};

private:
    void Changed(int editId);
};

// The fake window's client area shows what a full repaint of the dialog would show.
testing::AssertionResult ShowsAFullRepaint(FakeColourDialog& dialog);
