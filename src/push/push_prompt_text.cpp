#include "push/push_prompt_text.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr char kWords[] = " request push screen ,he/she say ";
constexpr char kEnd[] = ",agree \xA3\xBF"; // ends with the full-width question mark (GBK)
static_assert(sizeof kWords - 1 + sizeof kEnd - 1 == kPromptFixedBytes);

constexpr std::size_t kMaxNameBytes = 63; // a registry name field holds 63 and its zero

bool IsLeadByte(char byte) {
    auto value = static_cast<unsigned char>(byte);
    return value >= 0x81 && value <= 0xFE;
}

} // namespace

std::size_t WholeCharactersWithin(const char* text, std::size_t length, std::size_t limit) {
    std::size_t taken = 0;
    while (taken < length) {
        std::size_t width = IsLeadByte(text[taken]) && taken + 1 < length ? 2 : 1;
        if (taken + width > limit) {
            break;
        }
        taken += width;
    }
    return taken;
}

void ComposePushPrompt(const char* name, const char* reason, char (&prompt)[kPromptBytes]) {
    std::memset(prompt, 0, sizeof prompt);
    std::size_t nameLength = strnlen(name, kMaxNameBytes);
    std::size_t reasonLength = strnlen(reason, kMaxReasonBytes);
    std::size_t room = sizeof prompt - 1 - kPromptFixedBytes - nameLength;
    if (reasonLength > room) {
        reasonLength = WholeCharactersWithin(reason, reasonLength, room);
    }
    std::snprintf(prompt, sizeof prompt, "%.*s%s%.*s%s", static_cast<int>(nameLength), name, kWords,
                  static_cast<int>(reasonLength), reason, kEnd);
}
