// The presenter's question, byte for byte, and that it never runs past its buffer.
#include "push/push_prompt_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The prompt followed by bytes that must never be touched.
struct GuardedPrompt {
    char prompt[kPromptBytes];
    char guard[32];
};

std::string Compose(const std::string& name, const std::string& reason, bool* guardIntact) {
    GuardedPrompt buffer;
    std::memset(&buffer, 0x5A, sizeof buffer);
    ComposePushPrompt(name.c_str(), reason.c_str(), buffer.prompt);
    *guardIntact =
        std::string(buffer.guard, sizeof buffer.guard) == std::string(sizeof buffer.guard, '\x5A');
    EXPECT_EQ(buffer.prompt[kPromptBytes - 1], '\0');
    return std::string(buffer.prompt);
}

const std::string kWords = " request push screen ,he/she say ";
const std::string kEnd = ",agree \xA3\xBF";

struct PromptCase {
    const char* what;
    std::string name;
    std::string reason;
    std::string expected;
};

TEST(PushPromptText, QuestionsByteForByte) {
    const std::string name63(63, 'N');
    const std::string reason128(128, 'r');
    const std::string gbk = "\xC7\xEB\xBF\xB4"; // two double-byte characters
    const std::vector<PromptCase> cases = {
        {"name and reason", "Lab PC 7", "please look",
         "Lab PC 7 request push screen ,he/she say please look,agree \xA3\xBF"},
        {"nothing but the fixed words", "", "", kWords + kEnd},
        {"unknown node", "", "help", kWords + "help" + kEnd},
        {"format characters stay text", "%s%n", "100%d", "%s%n" + kWords + "100%d" + kEnd},
        {"a double-byte reason that fits", "PC", gbk, "PC" + kWords + gbk + kEnd},
        {"a 128-byte reason is shown whole", "", reason128, kWords + reason128 + kEnd},
        {"a 63-byte name and a 128-byte reason are both shown whole", name63, reason128,
         name63 + kWords + reason128 + kEnd},
        {"a reason is taken up to its first 128 bytes", name63, std::string(200, 'r'),
         name63 + kWords + reason128 + kEnd},
        {"a name over 63 bytes is cut at 63", std::string(80, 'N'), "x",
         name63 + kWords + "x" + kEnd},
        {"a double-byte reason at the very end is shown byte for byte", name63,
         std::string(124, 'r') + gbk, name63 + kWords + std::string(124, 'r') + gbk + kEnd},
        {"a lone lead byte ending a 128-byte reason stays", "", std::string(127, 'r') + "\xC7",
         kWords + std::string(127, 'r') + "\xC7" + kEnd},
    };
    for (const PromptCase& c : cases) {
        SCOPED_TRACE(c.what);
        bool guardIntact = false;
        std::string prompt = Compose(c.name, c.reason, &guardIntact);
        EXPECT_EQ(prompt, c.expected);
        EXPECT_LE(prompt.size(), static_cast<std::size_t>(kPromptBytes - 1));
        EXPECT_TRUE(guardIntact);
    }
}

TEST(PushPromptText, TheFixedWordsAre42BytesEndingInTheGbkQuestionMark) {
    bool guardIntact = false;
    std::string prompt = Compose("", "", &guardIntact);
    ASSERT_EQ(prompt.size(), 42u);
    EXPECT_EQ(static_cast<unsigned char>(prompt[40]), 0xA3);
    EXPECT_EQ(static_cast<unsigned char>(prompt[41]), 0xBF);
}

TEST(PushPromptText, TheWholePromptIsZeroFilledPastItsText) {
    char prompt[kPromptBytes];
    std::memset(prompt, 'x', sizeof prompt);
    ComposePushPrompt("a", "b", prompt);
    std::size_t length = std::strlen(prompt);
    EXPECT_EQ(std::string(prompt + length, sizeof prompt - length),
              std::string(sizeof prompt - length, '\0'));
}

} // namespace
