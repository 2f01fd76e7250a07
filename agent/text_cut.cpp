#include "agent/text_cut.h"

#include <algorithm>

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    // The byte after the cut starts a character unless it is a continuation byte (10xxxxxx).
    // A character has at most three of them: more means the text is no UTF-8, and the plain
    // cut is then as good as any.
    auto continues = [&](std::size_t at) {
        return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
    };
    std::size_t cut = maxBytes;
    for (int back = 0; back < 3 && cut > 0 && continues(cut); ++back) {
        --cut;
    }
    return text.substr(0, continues(cut) ? maxBytes : cut);
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
