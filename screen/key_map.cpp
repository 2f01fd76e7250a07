#include "screen/key_map.h"

#include <iterator>

namespace {

struct KeyRow {
    std::uint32_t keysym;
    std::uint16_t virtualKey;
    bool extended;
};

// Keysyms from X11's keysymdef.h; virtual keys from WinUser.h.
constexpr KeyRow kKeys[] = {
    {0xff08, 0x08, false}, // BackSpace -> VK_BACK
    {0xff09, 0x09, false}, // Tab
    {0xff0d, 0x0d, false}, // Return
    {0xff13, 0x13, false}, // Pause
    {0xff14, 0x91, false}, // Scroll_Lock
    {0xff1b, 0x1b, false}, // Escape
    {0xff50, 0x24, true},  // Home
    {0xff51, 0x25, true},  // Left
    {0xff52, 0x26, true},  // Up
    {0xff53, 0x27, true},  // Right
    {0xff54, 0x28, true},  // Down
    {0xff55, 0x21, true},  // Prior (Page Up)
    {0xff56, 0x22, true},  // Next (Page Down)
    {0xff57, 0x23, true},  // End
    {0xff61, 0x2c, true},  // Print
    {0xff63, 0x2d, true},  // Insert
    {0xff67, 0x5d, true},  // Menu -> VK_APPS
    {0xff7f, 0x90, false}, // Num_Lock
    {0xff8d, 0x0d, true},  // KP_Enter
    {0xffaa, 0x6a, false}, // KP_Multiply
    {0xffab, 0x6b, false}, // KP_Add
    {0xffad, 0x6d, false}, // KP_Subtract
    {0xffae, 0x6e, false}, // KP_Decimal
    {0xffaf, 0x6f, true},  // KP_Divide
    {0xffe1, 0xa0, false}, // Shift_L
    {0xffe2, 0xa1, false}, // Shift_R
    {0xffe3, 0xa2, false}, // Control_L
    {0xffe4, 0xa3, true},  // Control_R
    {0xffe5, 0x14, false}, // Caps_Lock
    {0xffe7, 0x5b, true},  // Meta_L -> the left Windows key
    {0xffe8, 0x5c, true},  // Meta_R
    {0xffe9, 0xa4, false}, // Alt_L
    {0xffea, 0xa5, true},  // Alt_R
    {0xffeb, 0x5b, true},  // Super_L -> VK_LWIN
    {0xffec, 0x5c, true},  // Super_R -> VK_RWIN
    {0xffff, 0x2e, true},  // Delete
};

} // namespace

KeyTarget MapKeysym(std::uint32_t keysym) {
    for (const KeyRow& row : kKeys) {
        if (row.keysym == keysym) {
            return {KeyTarget::Kind::virtualKey, row.virtualKey, row.extended};
        }
    }
    if (keysym >= 0xffb0 && keysym <= 0xffb9) { // KP_0 .. KP_9
        return {KeyTarget::Kind::virtualKey, static_cast<std::uint16_t>(0x60 + keysym - 0xffb0),
                false};
    }
    if (keysym >= 0xffbe && keysym <= 0xffd5) { // F1 .. F24
        return {KeyTarget::Kind::virtualKey, static_cast<std::uint16_t>(0x70 + keysym - 0xffbe),
                false};
    }
    // Latin-1 keysyms are their own characters; others of Unicode are 0x01000000 plus the code
    // point (those beyond 16 bits are not typed).
    if ((keysym >= 0x20 && keysym <= 0x7e) || (keysym >= 0xa0 && keysym <= 0xff)) {
        return {KeyTarget::Kind::character, static_cast<std::uint16_t>(keysym), false};
    }
    if (keysym >= 0x01000100 && keysym <= 0x0100ffff) {
        return {KeyTarget::Kind::character, static_cast<std::uint16_t>(keysym & 0xffff), false};
    }
    return {};
}
