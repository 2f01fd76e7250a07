// The desktop of the session this program runs in, read with GDI and driven with SendInput:
// the primary monitor, in physical pixels (the program declares itself DPI aware).
#pragma once

#include "screen/desktop.h"

#include <windows.h>

class GdiDesktop : public Desktop {
public:
    GdiDesktop();
    ~GdiDesktop() override;
    GdiDesktop(const GdiDesktop&) = delete;
    GdiDesktop& operator=(const GdiDesktop&) = delete;

    FrameSize Size() override;
    bool Capture(std::uint32_t* pixels, FrameSize size, const ScreenRect& area) override;
    CursorShape Cursor() override;
    PointerPosition Pointer() override;
    void MovePointer(int x, int y, int buttons) override;
    void PressKey(std::uint32_t keysym, bool down) override;

private:
    bool PrepareBitmap(FrameSize size);
    void FreeBitmap();

    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    void* bits_ = nullptr;
    FrameSize bitmapSize_;
    HCURSOR shownCursor_ = nullptr;
    CursorShape cursor_;
    int buttons_ = 0;
};
