#include "viewer/key_mapping.h"

#include <array>
#include <utility>

namespace {

constexpr std::uint32_t kShiftL = 0xffe1, kShiftR = 0xffe2, kControlL = 0xffe3, kControlR = 0xffe4,
                        kAltL = 0xffe9, kAltR = 0xffea;

// Keys with one meaning everywhere; the number pad's digits keep their own keysyms so that
// the remote side sees them as the pad's.
constexpr std::array<std::pair<unsigned, std::uint32_t>, 49> kFixedKeys = {{
    {0x08, 0xff08}, // Backspace
    {0x09, 0xff09}, // Tab
    {0x13, 0xff13}, // Pause
    {0x14, 0xffe5}, // Caps Lock
    {0x1B, 0xff1b}, // Escape
    {0x20, 0x0020}, // Space
    {0x21, 0xff55}, // Page Up
    {0x22, 0xff56}, // Page Down
    {0x23, 0xff57}, // End
    {0x24, 0xff50}, // Home
    {0x25, 0xff51}, // Left
    {0x26, 0xff52}, // Up
    {0x27, 0xff53}, // Right
    {0x28, 0xff54}, // Down
    {0x2C, 0xff61}, // Print Screen
    {0x2D, 0xff63}, // Insert
    {0x2E, 0xffff}, // Delete
    {0x5B, 0xffeb}, // left Windows key
    {0x5C, 0xffec}, // right Windows key
    {0x5D, 0xff67}, // Menu
    {0x60, 0xffb0},  {0x61, 0xffb1},  {0x62, 0xffb2},    {0x63, 0xffb3},
    {0x64, 0xffb4},  {0x65, 0xffb5},  {0x66, 0xffb6},    {0x67, 0xffb7},
    {0x68, 0xffb8},  {0x69, 0xffb9},  {0x6A, 0xffaa}, // pad *
    {0x6B, 0xffab},                                   // pad +
    {0x6C, 0xffac},                                   // pad separator
    {0x6D, 0xffad},                                   // pad -
    {0x6E, 0xffae},                                   // pad .
    {0x6F, 0xffaf},                                   // pad /
    {0x90, 0xff7f},                                   // Num Lock
    {0x91, 0xff14},                                   // Scroll Lock
    {0xA0, kShiftL}, {0xA1, kShiftR}, {0xA2, kControlL}, {0xA3, kControlR},
    {0xA4, kAltL},   {0xA5, kAltR},   {0x03, 0xff6b}, // Ctrl+Break
    {0x0C, 0xff0b},                                   // Clear (pad 5 without Num Lock)
    {0x2F, 0xff6a},                                   // Help
    {0x29, 0xff60},                                   // Select
    {0x2B, 0xff62},                                   // Execute
}};

} // namespace

std::uint32_t KeysymForVirtualKey(unsigned virtualKey, bool extended, unsigned scanCode) {
    switch (virtualKey) {
    case 0x0D:
        return extended ? 0xff8d : 0xff0d; // the pad's Enter, Return
    case 0x10:
        return scanCode == 0x36 ? kShiftR : kShiftL;
    case 0x11:
        return extended ? kControlR : kControlL;
    case 0x12:
        return extended ? kAltR : kAltL;
    default:
        break;
    }
    if (virtualKey >= 0x70 && virtualKey <= 0x87) {
        return 0xffbe + (virtualKey - 0x70); // F1 to F24
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        return virtualKey;
    }
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return virtualKey - 'A' + 'a'; // the key, not the character: Shift travels on its own
    }
    for (const auto& [key, keysym] : kFixedKeys) {
        if (key == virtualKey) {
            return keysym;
        }
    }
    return 0;
}

std::uint32_t KeysymForCharacter(unsigned character) {
    if (character >= 'A' && character <= 'Z') {
        return character - 'A' + 'a';
    }
    if ((character >= 0x20 && character <= 0x7e) || (character >= 0xa0 && character <= 0xff)) {
        return character;
    }
    return 0;
}
