#include "push/push_prompt_text.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr char kWords[] = " request push screen ,he/she say ";
constexpr char kEnd[] = ",agree \xA3\xBF"; // ends with the full-width question mark (GBK)
static_assert(sizeof kWords - 1 + sizeof kEnd - 1 == kPromptFixedBytes);

} // namespace

void ComposePushPrompt(const char* name, const char* reason, char (&prompt)[kPromptBytes]) {
    std::memset(prompt, 0, sizeof prompt);
    int nameLength = static_cast<int>(strnlen(name, kMaxNodeNameBytes));
    int reasonLength = static_cast<int>(strnlen(reason, kMaxReasonBytes));
    std::snprintf(prompt, sizeof prompt, "%.*s%s%.*s%s", nameLength, name, kWords, reasonLength,
                  reason, kEnd);
}
