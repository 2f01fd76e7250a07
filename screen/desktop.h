// What the screen server needs of the desktop it serves: the Windows side implements it with
// GDI and SendInput, the tests with a frame in memory.
#pragma once

#include <cstdint>
#include <vector>

struct FrameSize {
    int width = 0;
    int height = 0;

    bool operator==(const FrameSize&) const = default;
};

// A rectangle of the screen, in pixels.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ScreenRect&) const = default;
};

// A cursor's picture: pixels as 0x00RRGGBB, row after row, and which of them are drawn.
struct CursorShape {
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint8_t> opaque; // one per pixel: 1 drawn, 0 transparent

    bool operator==(const CursorShape&) const = default;
};

struct PointerPosition {
    int x = 0;
    int y = 0;

    bool operator==(const PointerPosition&) const = default;
};

class Desktop {
public:
    virtual ~Desktop() = default;

    virtual FrameSize Size() = 0;
    // Copies one area of the screen into the same place of pixels (a whole frame of
    // size.width * size.height of 0x00RRGGBB, row after row; the rest is left as it is); false
    // when it cannot be read now (then the last frame stays). The area lies inside the frame.
    virtual bool Capture(std::uint32_t* pixels, FrameSize size, const ScreenRect& area) = 0;
    // The cursor's shape now; the server compares it with the one it sent.
    virtual CursorShape Cursor() = 0;
    virtual PointerPosition Pointer() = 0;

    // The viewer's input. buttons: bit 0 left, 1 middle, 2 right, 3 wheel up, 4 wheel down.
    virtual void MovePointer(int x, int y, int buttons) = 0;
    virtual void PressKey(std::uint32_t keysym, bool down) = 0;
};
