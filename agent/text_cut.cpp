#include "agent/text_cut.h"

#include <algorithm>

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    // The byte after the cut starts a character unless it is a continuation byte (10xxxxxx);
    // then the cut moves back to the lead byte (11xxxxxx) of that character, at most three
    // bytes. Without such a lead byte the text is no UTF-8, and the plain cut is as good as any.
    auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    std::size_t cut = maxBytes;
    for (int back = 0; back < 3 && cut > 0 && (byte(cut) & 0xC0) == 0x80; ++back) {
        --cut;
    }
    bool found = cut == maxBytes || (byte(cut) & 0xC0) == 0xC0;
    return text.substr(0, found ? cut : maxBytes);
}

std::string_view CutDoubleByte(std::string_view text, std::size_t maxBytes,
                               const std::function<bool(unsigned char)>& isLeadByte) {
    // Only a walk from the start tells lead bytes from trail bytes: a trail byte can have the
    // value of a lead byte.
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t width = isLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
        if (at + width > maxBytes) {
            break;
        }
        at += width;
    }
    return text.substr(0, std::min(at, text.size()));
}

std::string_view CutAnsi(std::string_view text, std::size_t maxBytes, unsigned codePage,
                         const std::function<bool(unsigned char)>& isLeadByte) {
    return codePage == kUtf8CodePage ? CutUtf8(text, maxBytes)
                                     : CutDoubleByte(text, maxBytes, isLeadByte);
}
