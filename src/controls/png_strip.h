// An image button's strip: four frames of equal width side by side (normal, mouse over,
// pressed, and one the button never shows).
#pragma once

inline constexpr int kStripFrames = 4;

enum PngButtonFrame { kFrameNormal = 0, kFrameHover = 1, kFramePressed = 2 };

// The width of one frame: the remainder of an odd strip width is dropped.
constexpr int StripFrameWidth(int imageWidth) {
    return imageWidth / kStripFrames;
}

// Pressed wins over hover.
constexpr PngButtonFrame FrameForState(bool pressed, bool hover) {
    return pressed ? kFramePressed : hover ? kFrameHover : kFrameNormal;
}
