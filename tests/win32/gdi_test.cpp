// GDI objects and device contexts: what the owning kinds release, and what the drawing
// helpers put into which pixels.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "framework/Framework.h"
#include "support/test_resources.h"

namespace {

// GDI objects of the process, where the system counts them (Wine does not: it answers 0).
DWORD GdiObjectCount() {
    return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
}

struct OwnedKind {
    const char* name;
    // Creates an object of the kind in a scope of its own and answers its handle.
    std::function<HGDIOBJ(CDC& screen)> createAndEnd;
    DWORD objectType;
};

const OwnedKind kOwnedKinds[] = {
    {"Pen",
     [](CDC&) {
         CPen pen(PS_SOLID, 5, RGB(0, 0, 255));
         EXPECT_EQ(::GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
         return static_cast<HGDIOBJ>(pen.m_hObject);
     },
     OBJ_PEN},
    {"Brush",
     [](CDC&) {
         CBrush brush(RGB(1, 2, 3));
         EXPECT_EQ(::GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
         return static_cast<HGDIOBJ>(brush.m_hObject);
     },
     OBJ_BRUSH},
    {"CompatibleBitmap",
     [](CDC& screen) {
         CBitmap bitmap;
         EXPECT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 8, 8));
         EXPECT_EQ(::GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
         return static_cast<HGDIOBJ>(bitmap.m_hObject);
     },
     OBJ_BITMAP},
    {"ResourceBitmap",
     [](CDC&) {
         CBitmap bitmap;
         EXPECT_TRUE(bitmap.LoadBitmap(IDB_TEST_PICTURE));
         BITMAP info{};
         EXPECT_EQ(bitmap.GetBitmap(&info), static_cast<int>(sizeof info));
         EXPECT_EQ(info.bmWidth, 4);
         EXPECT_EQ(info.bmHeight, 3);
         return static_cast<HGDIOBJ>(bitmap.m_hObject);
     },
     OBJ_BITMAP},
    {"MemoryContextWithSelections",
     [](CDC& screen) {
         CBitmap bitmap; // declared before the context, so deleted after it
         bitmap.CreateCompatibleBitmap(&screen, 4, 4);
         CPen pen(PS_SOLID, 1, 0);
         CCompatibleDC memory(&screen);
         memory.SelectObject(&bitmap); // left selected: the context deselects them as it ends
         memory.SelectObject(&pen);
         EXPECT_EQ(::GetObjectType(memory), static_cast<DWORD>(OBJ_MEMDC));
         return static_cast<HGDIOBJ>(memory.m_hDC);
     },
     OBJ_MEMDC},
};

class OwnedObject : public testing::TestWithParam<OwnedKind> {};

TEST_P(OwnedObject, IsDeletedWhenItsObjectEnds) {
    CClientDC screen(nullptr);
    const DWORD before = GdiObjectCount();
    HGDIOBJ handle = GetParam().createAndEnd(screen);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(::GetObjectType(handle), 0u) << "the handle is no longer valid";
    if (before != 0) {
        EXPECT_EQ(GdiObjectCount(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Gdi, OwnedObject, testing::ValuesIn(kOwnedKinds),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Gdi, AnObjectLeftSelectedIsReleasedWhenTheContextEnds) {
    // A window with its own device context keeps whatever is selected into it across
    // GetDC and ReleaseDC, so only the client context's own restore deselects the objects.
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(CS_OWNDC), "own dc", WS_POPUP, 0, 0, 20, 20,
                                nullptr, nullptr));
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    {
        CClientDC dc(&window);
        {
            CPen ownedPen(PS_SOLID, 3, RGB(9, 9, 9));
            CBrush ownedBrush(RGB(7, 7, 7));
            pen = ownedPen.m_hObject;
            brush = ownedBrush.m_hObject;
            dc.SelectObject(&ownedPen);
            dc.SelectObject(&ownedBrush);
        } // deleted while selected: the system can only release them once deselected
    }
    EXPECT_EQ(::GetObjectType(pen), 0u);
    EXPECT_EQ(::GetObjectType(brush), 0u);
}

TEST(Gdi, OwnershipMovesAndCanBeGivenUp) {
    CPen first(PS_SOLID, 1, 0);
    HGDIOBJ handle = first.m_hObject;
    CPen second(std::move(first));
    EXPECT_EQ(first.m_hObject, nullptr);
    EXPECT_EQ(second.m_hObject, handle);

    CPen third;
    third = std::move(second);
    EXPECT_EQ(third.m_hObject, handle);
    EXPECT_NE(::GetObjectType(handle), 0u);

    third.CreatePen(PS_SOLID, 2, 0); // replaces, deleting the first pen
    EXPECT_EQ(::GetObjectType(handle), 0u);

    HGDIOBJ given = nullptr;
    {
        CBrush brush(RGB(5, 5, 5));
        given = brush.Detach();
    }
    EXPECT_EQ(::GetObjectType(given), static_cast<DWORD>(OBJ_BRUSH)) << "detached: not deleted";
    EXPECT_TRUE(::DeleteObject(given));
}

// A memory picture of a given size, filled white, for pixel checks.
class Canvas {
public:
    Canvas(int width, int height) : m_screen(nullptr), m_memory(&m_screen) {
        m_bitmap.CreateCompatibleBitmap(&m_screen, width, height);
        m_previous = m_memory.SelectObject(&m_bitmap);
        m_memory.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
    }
    ~Canvas() { m_memory.SelectObject(m_previous); }
    CDC& dc() { return m_memory; }
    COLORREF At(int x, int y) const { return m_memory.GetPixel(x, y); }

private:
    CClientDC m_screen;
    CCompatibleDC m_memory;
    CBitmap m_bitmap;
    HBITMAP m_previous = nullptr;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kTopLeft = RGB(160, 160, 160);
constexpr COLORREF kBottomRight = RGB(255, 0, 0);

TEST(Gdi, Draw3dRectFramesTheInsideOfItsRectangle) {
    Canvas canvas(12, 10);
    const CRect frame(2, 1, 9, 7); // columns 2..8, rows 1..6
    canvas.dc().Draw3dRect(frame, kTopLeft, kBottomRight);
    const struct {
        int x, y;
        COLORREF expected;
    } pixels[] = {
        {2, 1, kTopLeft},     {7, 1, kTopLeft},     {8, 1, kBottomRight}, // top row
        {2, 5, kTopLeft},     {2, 6, kBottomRight},                       // left column
        {8, 6, kBottomRight}, {5, 6, kBottomRight}, {8, 3, kBottomRight}, // bottom and right
        {5, 3, kWhite},       {1, 1, kWhite},       {9, 1, kWhite},       // inside, outside
        {2, 0, kWhite},       {2, 7, kWhite},
    };
    for (const auto& p : pixels) {
        EXPECT_EQ(canvas.At(p.x, p.y), p.expected) << "pixel " << p.x << "," << p.y;
    }
}

TEST(Gdi, FillSolidRectLeavesTheBackgroundColourAsItWas) {
    Canvas canvas(6, 6);
    canvas.dc().SetBkColor(RGB(1, 2, 3));
    canvas.dc().FillSolidRect(1, 1, 3, 2, RGB(0, 128, 0));
    EXPECT_EQ(::GetBkColor(canvas.dc()), RGB(1, 2, 3));
    EXPECT_EQ(canvas.At(1, 1), RGB(0, 128, 0));
    EXPECT_EQ(canvas.At(3, 2), RGB(0, 128, 0));
    EXPECT_EQ(canvas.At(4, 2), kWhite);
    EXPECT_EQ(canvas.At(3, 3), kWhite);
}

TEST(Gdi, CopiesAResourcePictureThroughAMemoryContext) {
    CBitmap picture;
    ASSERT_TRUE(picture.LoadBitmap(IDB_TEST_PICTURE));
    Canvas canvas(8, 6);
    {
        CCompatibleDC source(&canvas.dc());
        HBITMAP previous = source.SelectObject(&picture);
        EXPECT_TRUE(canvas.dc().BitBlt(1, 1, 4, 3, &source, 0, 0, SRCCOPY));
        EXPECT_TRUE(canvas.dc().StretchBlt(5, 0, 3, 6, &source, 3, 0, 1, 3, SRCCOPY));
        source.SelectObject(previous);
    }
    // The picture's rows from the top: red, green, blue, white / ... / ..., (200, 100, 50).
    EXPECT_EQ(canvas.At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(2, 1), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(3, 1), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(2, 2), RGB(40, 50, 60));
    EXPECT_EQ(canvas.At(4, 3), RGB(200, 100, 50));
    EXPECT_EQ(canvas.At(0, 0), kWhite);
    // The last column stretched three times wider and twice as high.
    EXPECT_EQ(canvas.At(7, 0), kWhite);
    EXPECT_EQ(canvas.At(5, 3), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(7, 5), RGB(200, 100, 50));
}

// Paints its whole client area in one colour.
class PaintedWnd : public CWnd {
public:
    int m_paints = 0;

protected:
    afx_msg void OnPaint() {
        ++m_paints;
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(client, RGB(0, 102, 255));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PaintedWnd, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(Gdi, PaintContextPaintsAndValidatesTheWindow) {
    PaintedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "painted",
                             WS_POPUP | WS_VISIBLE, 20, 20, 40, 30, nullptr, nullptr));
    wnd.Invalidate(FALSE);
    wnd.UpdateWindow();
    EXPECT_GE(wnd.m_paints, 1);
    RECT update{};
    EXPECT_FALSE(::GetUpdateRect(wnd, &update, FALSE)) << "nothing is left to paint";
    CClientDC dc(&wnd);
    EXPECT_EQ(dc.GetPixel(5, 5), RGB(0, 102, 255));
    EXPECT_EQ(dc.GetPixel(39, 29), RGB(0, 102, 255));
}

} // namespace
