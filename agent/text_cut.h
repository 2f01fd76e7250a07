// Cutting a text to a number of bytes without splitting a character, for the two kinds of text
// a reason can be: UTF-8 (Linux) and a double-byte ANSI code page (Windows).
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

// The longest prefix of at most maxBytes that ends on a UTF-8 character boundary.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);

// The longest prefix of at most maxBytes made of whole characters of a code page in which
// isLeadByte tells the first byte of a two-byte character.
std::string_view CutDoubleByte(std::string_view text, std::size_t maxBytes,
                               const std::function<bool(unsigned char)>& isLeadByte);
