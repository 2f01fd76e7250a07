#include "controls/PngButton.h"

#include "controls/png_strip.h"

#include <gdiplus.h>

namespace {

namespace gp = Gdiplus::DllExports;

constexpr Gdiplus::ARGB kOutlineColour = 0x64000000; // black, alpha 100 of 255
constexpr DWORD kHoverTimeMs = 1;
constexpr DWORD kLeaveRepaintDelayMs = 100;

Gdiplus::GpBitmap* AsBitmap(void* bitmap) {
    return static_cast<Gdiplus::GpBitmap*>(bitmap);
}

} // namespace

IMPLEMENT_DYNAMIC(PngButton, CButton)

BEGIN_MESSAGE_MAP(PngButton, CButton)
ON_WM_MOUSEMOVE()
ON_WM_MOUSEHOVER()
ON_WM_MOUSELEAVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

PngButton::~PngButton() {
    ReleaseBitmap();
}

void PngButton::ReleaseBitmap() {
    if (m_pBitmap != nullptr) {
        gp::GdipDisposeImage(AsBitmap(m_pBitmap));
        m_pBitmap = nullptr;
    }
}

void PngButton::LoadPngImage(LPCWSTR path) {
    ReleaseBitmap();
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromFile(path, &bitmap) != Gdiplus::Ok) {
        bitmap = nullptr;
    }
    m_pBitmap = bitmap;
    UINT width = 0;
    UINT height = 0;
    if (bitmap != nullptr) {
        if (gp::GdipGetImageWidth(bitmap, &width) != Gdiplus::Ok) {
            width = 0;
        }
        if (gp::GdipGetImageHeight(bitmap, &height) != Gdiplus::Ok) {
            height = 0;
        }
    }
    m_nImageWidth = static_cast<int>(width);
    m_nImageHeight = static_cast<int>(height);
    m_nFrameWidth = StripFrameWidth(m_nImageWidth);

    CRect place;
    GetWindowRect(&place);
    GetParent()->ScreenToClient(&place);
    m_rect = {place.left, place.top, place.left + m_nFrameWidth, place.top + m_nImageHeight};
    MoveWindow(m_rect.left, m_rect.top, m_nFrameWidth, m_nImageHeight, TRUE);
}

void PngButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gp::GdipCreateFromHDC(lpDrawItemStruct->hDC, &graphics) != Gdiplus::Ok) {
        return;
    }
    Gdiplus::GpPen* pen = nullptr;
    gp::GdipCreatePen1(kOutlineColour, 0.0f, Gdiplus::UnitWorld, &pen);
    if (pen != nullptr) {
        // Twice, as the outline is translucent: it shows only where the frame is transparent.
        gp::GdipDrawRectangleI(graphics, pen, 0, 0, m_nFrameWidth, m_nImageHeight);
        gp::GdipDrawRectangleI(graphics, pen, 0, 0, m_nFrameWidth, m_nImageHeight);
    }
    if (m_pBitmap != nullptr) {
        int frame = FrameForState((lpDrawItemStruct->itemState & ODS_SELECTED) != 0, m_bHover != 0);
        gp::GdipDrawImageRectRectI(graphics, AsBitmap(m_pBitmap), 0, 0, m_nFrameWidth,
                                   m_nImageHeight, frame * m_nFrameWidth, 0, m_nFrameWidth,
                                   m_nImageHeight, Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
    }
    if (pen != nullptr) {
        gp::GdipDeletePen(pen);
    }
    gp::GdipDeleteGraphics(graphics);
}

LRESULT PngButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDBLCLK) {
        message = WM_LBUTTONDOWN;
    }
    return CButton::DefWindowProc(message, wParam, lParam);
}

void PngButton::OnMouseMove(UINT nFlags, CPoint point) {
    if (m_bTracking == 0) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_hWnd;
        track.dwHoverTime = kHoverTimeMs;
        m_bTracking = ::_TrackMouseEvent(&track);
    }
    CButton::OnMouseMove(nFlags, point);
}

void PngButton::OnMouseHover(UINT, CPoint) {
    m_bHover = 1;
    Invalidate(TRUE);
}

void PngButton::OnMouseLeave() {
    m_bTracking = 0;
    m_bHover = 0;
    Invalidate(TRUE);
    ::Sleep(kLeaveRepaintDelayMs);
    UpdateWindow();
}

void PngButton::OnLButtonDown(UINT nFlags, CPoint point) {
    Invalidate(TRUE);
    CButton::OnLButtonDown(nFlags, point);
}

void PngButton::OnLButtonUp(UINT nFlags, CPoint point) {
    Invalidate(TRUE);
    CButton::OnLButtonUp(nFlags, point);
}

BOOL PngButton::OnEraseBkgnd(CDC*) {
    return TRUE;
}
