#include "console/activation_guard.h"
#include "console/viewer_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

struct Click {
    std::uint32_t tick;
    bool accepted;
};

void ExpectClicks(const std::vector<Click>& clicks) {
    ActivationGuard guard;
    int n = 0;
    for (const Click& click : clicks) {
        SCOPED_TRACE("double click " + std::to_string(++n) + " at tick " +
                     std::to_string(click.tick));
        EXPECT_EQ(guard.Accept(click.tick), click.accepted);
        EXPECT_EQ(guard.LastActivation(), static_cast<std::int64_t>(click.tick));
    }
}

TEST(ActivationGuard, CountsFromTheLatestDoubleClickAcceptedOrNot) {
    ExpectClicks({{100000, true}, {100300, false}, {100600, false}, {101200, true}});
}

TEST(ActivationGuard, ExactlyFiveHundredMillisecondsIsEnough) {
    ExpectClicks({{10000, true}, {10499, false}, {10999, true}});
}

TEST(ActivationGuard, TheFirstDoubleClickActsUnlessTheTickIsBelowFiveHundred) {
    ExpectClicks({{500, true}});
    ExpectClicks({{499, false}, {1000, true}});
}

TEST(ActivationGuard, AWrappedTickCountIgnoresOneDoubleClickThenActsAgain) {
    ExpectClicks({{0xFFFFFF00u, true}, {50, false}, {600, true}});
}

TEST(ViewerTexts, ParametersAreTheAddressThenTheFixedArguments) {
    EXPECT_EQ(ViewerParameters("192.168.1.23"),
              "192.168.1.23 /password fernway_417 /encoding ultra2");
    EXPECT_EQ(ViewerParameters(""), " /password fernway_417 /encoding ultra2");
    std::string longAddress(300, '9');
    EXPECT_EQ(ViewerParameters(longAddress.c_str()).size(), 300 + 39u);
}

TEST(ViewerTexts, TitleIsTheNameAndOneSpace) {
    EXPECT_EQ(ViewerWindowTitle("PC-07"), "PC-07 ");
    EXPECT_EQ(ViewerWindowTitle(""), " ");
    EXPECT_EQ(ViewerWindowTitle("Lab\r\n"), "Lab\r\n ");
}

TEST(ViewerTexts, ViewerClassComparedWholeAndCaseSensitively) {
    const std::pair<const char*, bool> cases[] = {
        {"VNCMDI_Window", true},   {"vncmdi_window", false}, {"VNCMDI_WINDOW", false},
        {"VNCMDI_Window ", false}, {"VNCMDI_Windo", false},  {"", false},
    };
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(IsViewerWindowClass(name), expected);
    }
}

} // namespace
