#include "console/console_layout.h"

#include <gtest/gtest.h>

namespace {

struct ScreenCase {
    int width, height;
    int listBottom; // last row of the list, inclusive
    int setIpX, helpX;
};

TEST(ConsoleLayout, ListDownTheLeftEdgeAndButtonsInTheTopRightCorner) {
    const ScreenCase cases[] = {
        {1920, 1080, 1059, 1760, 1840},
        {1280, 800, 779, 1120, 1200},
        {1024, 768, 747, 864, 944},
    };
    for (const ScreenCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        ConsoleLayout layout = LayOutConsole(c.width, c.height);
        EXPECT_EQ(layout.listX, 0);
        EXPECT_EQ(layout.listY, 20);
        EXPECT_EQ(layout.listX + layout.listWidth - 1, 169);
        EXPECT_EQ(layout.listY + layout.listHeight - 1, c.listBottom);
        EXPECT_EQ(layout.setIpX, c.setIpX);
        EXPECT_EQ(layout.helpX, c.helpX);
        EXPECT_EQ(layout.buttonCell, 80);
    }
}

} // namespace
