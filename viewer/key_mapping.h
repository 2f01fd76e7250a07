// Windows virtual keys -> X keysyms, which RFB key events carry.
#pragma once

#include <cstdint>

// The keysym of a key that means the same on every layout (Enter, arrows, F keys, modifiers,
// the number pad, letters and digits); extended is bit 24 of the key message (the right-hand
// Ctrl and Alt, the number pad's Enter), scanCode its bits 16 to 23 (0x36: the right Shift).
// 0 for a key whose symbol depends on the layout: the window then sends the key's character.
std::uint32_t KeysymForVirtualKey(unsigned virtualKey, bool extended, unsigned scanCode);

// The keysym of a key's unshifted character (as the layout gives it), 0 when it has none that
// a keysym can name directly (Latin-1 only: keysyms 0x20 to 0xff are those characters).
std::uint32_t KeysymForCharacter(unsigned character);
