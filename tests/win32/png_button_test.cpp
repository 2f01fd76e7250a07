// PngButton with real windows and real messages: the frame shown for each state, the size it
// takes from its strip, and a double click counted as two presses.
#include "controls/PngButton.h"

#include <gtest/gtest.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

namespace gp = Gdiplus::DllExports;

constexpr int kButtonId = 4242;
// One colour per frame: normal, hover, pressed, and the fourth that is never shown.
const Gdiplus::ARGB kFrameColours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};

class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~GdiplusSession() { Gdiplus::GdiplusShutdown(token_); }

private:
    ULONG_PTR token_ = 0;
};

// Writes a strip of four solid frames of frameWidth x height, plus `extra` columns of the
// fourth colour that do not make a whole frame.
std::wstring WriteStrip(const std::wstring& name, int frameWidth, int height, int extra) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    gp::GdipCreateBitmapFromScan0(frameWidth * 4 + extra, height, 0, PixelFormat32bppARGB, nullptr,
                                  &bitmap);
    for (int x = 0; x < frameWidth * 4 + extra; ++x) {
        for (int y = 0; y < height; ++y) {
            gp::GdipBitmapSetPixel(bitmap, x, y, kFrameColours[std::min(x / frameWidth, 3)]);
        }
    }
    CLSID png{};
    CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png);
    wchar_t directory[MAX_PATH];
    ::GetTempPathW(MAX_PATH, directory);
    std::wstring path = std::wstring(directory) + name;
    gp::GdipSaveImageToFile(bitmap, path.c_str(), &png, nullptr);
    gp::GdipDisposeImage(bitmap);
    return path;
}

// A parent window that counts its button's clicks.
class ButtonParent : public CWnd {
public:
    int clicks = 0;

protected:
    afx_msg void OnClicked() { ++clicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ButtonParent, CWnd)
ON_BN_CLICKED(kButtonId, &ButtonParent::OnClicked)
END_MESSAGE_MAP()

class PngButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        LPCSTR windowClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW),
                                                 reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        ASSERT_TRUE(parent_.CreateEx(0, windowClass, "PngButton test", WS_POPUP | WS_VISIBLE, 0, 0,
                                     300, 200, nullptr, nullptr));
        HWND button =
            ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 30, 40, 80, 80,
                              parent_.m_hWnd, reinterpret_cast<HMENU>(kButtonId), nullptr, nullptr);
        ASSERT_TRUE(button_.SubclassWindow(button));
    }
    void TearDown() override {
        button_.DestroyWindow();
        parent_.DestroyWindow();
    }

    CRect ButtonRect() {
        CRect rect;
        button_.GetWindowRect(&rect);
        parent_.ScreenToClient(&rect);
        return rect;
    }

    // Paints the button into a memory bitmap of kBackground with the given item state and
    // reads one pixel.
    static constexpr COLORREF kBackground = RGB(12, 34, 56);
    COLORREF PaintedPixel(UINT itemState, int x, int y) {
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        HBITMAP canvas = ::CreateCompatibleBitmap(screen, 100, 100);
        HGDIOBJ previous = ::SelectObject(memory, canvas);
        const RECT all{0, 0, 100, 100};
        HBRUSH background = ::CreateSolidBrush(kBackground);
        ::FillRect(memory, &all, background);
        ::DeleteObject(background);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = kButtonId;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = itemState;
        item.hwndItem = button_.m_hWnd;
        item.hDC = memory;
        button_.DrawItem(&item);
        COLORREF colour = ::GetPixel(memory, x, y);
        ::SelectObject(memory, previous);
        ::DeleteObject(canvas);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
        return colour;
    }

    GdiplusSession gdiplus_;
    ButtonParent parent_;
    PngButton button_;
};

TEST_F(PngButtonTest, TakesTheSizeOfOneFrameKeepingItsCorner) {
    struct SizeCase {
        const wchar_t* name;
        int frameWidth, height, extra;
    };
    const SizeCase cases[] = {{L"strip-even.png", 20, 30, 0}, {L"strip-odd.png", 20, 30, 3}};
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.extra);
        button_.LoadPngImage(WriteStrip(c.name, c.frameWidth, c.height, c.extra).c_str());
        EXPECT_EQ(ButtonRect(), CRect(30, 40, 30 + c.frameWidth, 40 + c.height));
        EXPECT_EQ(button_.FrameWidth(), c.frameWidth);
    }
}

TEST_F(PngButtonTest, ShowsTheFrameOfItsStatePressedWinningOverHover) {
    button_.LoadPngImage(WriteStrip(L"strip-states.png", 20, 30, 3).c_str());
    EXPECT_EQ(PaintedPixel(0, 10, 15), RGB(255, 0, 0)) << "normal: frame 0";
    button_.SendMessage(WM_MOUSEHOVER, 0, 0);
    ASSERT_TRUE(button_.Hovered());
    EXPECT_EQ(PaintedPixel(0, 10, 15), RGB(0, 255, 0)) << "hover: frame 1";
    EXPECT_EQ(PaintedPixel(ODS_SELECTED, 10, 15), RGB(0, 0, 255)) << "pressed: frame 2";
    button_.SendMessage(WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(button_.Hovered());
    EXPECT_EQ(PaintedPixel(0, 10, 15), RGB(255, 0, 0)) << "after leaving: frame 0";
    // The frames of an odd strip start at 0, 20 and 40: the last frame's extra columns
    // never show.
    EXPECT_EQ(PaintedPixel(ODS_SELECTED, 19, 15), RGB(0, 0, 255));
}

TEST_F(PngButtonTest, AMissingFileGivesAButtonOfNoSizeThatPaintsNothing) {
    button_.LoadPngImage(WriteStrip(L"strip-before-missing.png", 20, 30, 0).c_str());
    ASSERT_EQ(PaintedPixel(0, 10, 15), RGB(255, 0, 0));
    button_.LoadPngImage(L"C:\\no\\such\\strip.png");
    CRect rect = ButtonRect();
    EXPECT_EQ(rect.Width(), 0);
    EXPECT_EQ(rect.Height(), 0);
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 40);
    EXPECT_EQ(PaintedPixel(0, 10, 15), kBackground) << "the earlier strip is gone";
    EXPECT_EQ(PaintedPixel(ODS_SELECTED, 10, 15), kBackground);
}

TEST_F(PngButtonTest, ASecondLoadReplacesTheStrip) {
    button_.LoadPngImage(WriteStrip(L"strip-first.png", 20, 30, 0).c_str());
    button_.LoadPngImage(WriteStrip(L"strip-second.png", 10, 12, 0).c_str());
    EXPECT_EQ(ButtonRect(), CRect(30, 40, 40, 52));
}

TEST_F(PngButtonTest, ADoubleClickSendsTwoClicks) {
    button_.LoadPngImage(WriteStrip(L"strip-clicks.png", 20, 30, 0).c_str());
    LPARAM point = MAKELPARAM(5, 5);
    button_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
    button_.SendMessage(WM_LBUTTONUP, 0, point);
    button_.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    button_.SendMessage(WM_LBUTTONUP, 0, point);
    EXPECT_EQ(parent_.clicks, 2);
}

} // namespace
