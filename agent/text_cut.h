// Cutting a text to a number of bytes without splitting a character, for the kinds of text a
// reason can be: UTF-8 (Linux, and Windows set to UTF-8) and an ANSI code page (Windows).
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

// The code page number by which Windows names UTF-8 as its ANSI code page.
inline constexpr unsigned kUtf8CodePage = 65001;

// The longest prefix of at most maxBytes made of whole characters of the ANSI code page
// codePage: UTF-8 for code page 65001, whose lead bytes the double-byte rule does not know;
// otherwise the double-byte rule (a single-byte code page has no lead bytes).
std::string_view CutAnsi(std::string_view text, std::size_t maxBytes, unsigned codePage,
                         const std::function<bool(unsigned char)>& isLeadByte);
