// Where the console puts its node list and its two visible buttons on a screen.
#pragma once

struct ConsoleLayout {
    int listX, listY, listWidth, listHeight; // the node list, down the left edge
    int setIpX, helpX;                       // the two 80 x 80 button cells, at y 0
    int buttonCell;
};

constexpr ConsoleLayout LayOutConsole(int screenWidth, int screenHeight) {
    constexpr int kButtonCell = 80;
    return {0,
            20,
            170,
            screenHeight - 40,
            screenWidth - 2 * kButtonCell,
            screenWidth - kButtonCell,
            kButtonCell};
}
