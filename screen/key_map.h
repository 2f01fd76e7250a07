// Which key of a Windows keyboard a viewer's key (an X keysym, as RFB sends keys) presses: a
// virtual key for the keys that have one whatever the keyboard layout (Shift, arrows, F1 ...),
// else the character it types, which the Windows side turns into the key of the user's layout
// or, when the layout has none, into the character itself.
#pragma once

#include <cstdint>

struct KeyTarget {
    enum class Kind { none, virtualKey, character };
    Kind kind = Kind::none;
    std::uint16_t code = 0; // the virtual key, or the character (UTF-16 code unit)
    bool extended = false;  // a key of the extended set (the right Ctrl, the arrow keys ...)
};

KeyTarget MapKeysym(std::uint32_t keysym);
