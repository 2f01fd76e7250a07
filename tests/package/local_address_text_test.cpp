// What the console's installer writes into a new localIp.txt for each LOCALIP it may be given.
#include <gtest/gtest.h>

#include "packaging/windows/setup_actions/local_address_text.h"

namespace {

struct Case {
    const char* property;
    const char* text; // nullptr: refused
};

const Case kCases[] = {
    {"", ""},
    {"192.168.1.10", "192.168.1.10 "},
    {"127.0.0.1", "127.0.0.1 "},
    {"0.0.0.0", "0.0.0.0 "},
    {"255.255.255.255", "255.255.255.255 "},
    {"010.001.000.009", "10.1.0.9 "},
    {"256.1.1.1", nullptr},
    {"1.1.1.999", nullptr},
    {"1.2.3", nullptr},
    {"1.2.3.4.5", nullptr},
    {"1.2.3.4.", nullptr},
    {".1.2.3", nullptr},
    {"1..2.3", nullptr},
    {"1.2.3.0004", nullptr},
    {" 1.2.3.4", nullptr},
    {"1.2.3.4 ", nullptr},
    {"+1.2.3.4", nullptr},
    {"1.2.3.-4", nullptr},
    {"room4-pc7", nullptr},
    {"192.168.1.10\n", nullptr},
};

TEST(LocalAddressFileText, WritesFourNumbersAndOneSpaceAndRefusesAnythingElse) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("LOCALIP=\"") + c.property + "\"");
        std::optional<std::string> text = LocalAddressFileText(c.property);
        if (c.text == nullptr) {
            EXPECT_FALSE(text.has_value()) << *text;
        } else {
            ASSERT_TRUE(text.has_value());
            EXPECT_EQ(*text, c.text);
        }
    }
}

TEST(LocalAddressFileText, ReadsOnlyTheGivenBytesOfTheProperty) {
    // A property read from a longer buffer: the digits after its end are not part of it.
    std::string_view property("10.0.0.12345", 8);
    EXPECT_EQ(LocalAddressFileText(property), "10.0.0.1 ");
}

} // namespace
