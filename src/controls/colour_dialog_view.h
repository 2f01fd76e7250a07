// What the colour dialog's behaviour needs of its window: drawing the picker's parts at once,
// data exchange with the edits, the mouse capture and the cursor. The dialog window implements
// it; tests implement it with edits and a canvas in memory.
#pragma once

#include "controls/client_geometry.h"
#include "controls/packed_colour.h"
#include "controls/picker_geometry.h"

#include <cstdint>
#include <span>
#include <string>

// The dialog's edits by control id (the same numbers as in the dialog template).
enum ColourEditId : int {
    kHueEditId = 1103,
    kSatEditId = 1104,
    kLumEditId = 1105,
    kRedEditId = 1106,
    kGreenEditId = 1107,
    kBlueEditId = 1108,
    kRefEditId = 1112,
};

// One pass of data exchange between the dialog's members and its edits, in the direction the
// pass was started with.
class ColourDataExchange {
public:
    // The edit's whole text.
    virtual void Text(int editId, std::string& value) = 0;
    // A number of 0 to limit shown in decimal (DDX_ByteEdit).
    virtual void ByteEdit(int editId, std::uint8_t& value, std::uint8_t limit) = 0;

protected:
    ~ColourDataExchange() = default;
};

class ColourDialogView {
public:
    // Each draws one part of the picker into the client area at once, from the dialog's images
    // where it needs them; none of them waits for a repaint. Before the window exists they do
    // nothing.
    virtual void DrawField() = 0;
    virtual void DrawLumBar() = 0;
    virtual void DrawCrossHair(ClientPoint cross) = 0;
    virtual void DrawLumMarker(std::uint8_t lum) = 0;
    virtual void DrawCurrentColor(PackedColour colour) = 0;
    virtual void DrawNewColor(PackedColour colour) = 0;
    virtual void DrawCustomColors(std::span<const PackedColour, kCustomColourCount> table) = 0;
    // The bar image's pixels have been rebuilt: a view that keeps its own form of them renews it.
    virtual void LumImageChanged() = 0;

    // Members to edits (load) and edits to members (store). Writing the edits while either runs
    // must not call the dialog's change handlers again.
    virtual void LoadEdits() = 0;
    virtual void StoreEdits() = 0;

    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    // The dialog asks itself for the cursor at once, as the window system asks it when the
    // mouse moves.
    virtual void RequestCursor() = 0;

protected:
    ~ColourDialogView() = default;
};
