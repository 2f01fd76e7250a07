// PngButton: an owner-drawn push button whose face is one frame of a PNG strip read from a
// file (see png_strip.h). It sizes itself to one frame, follows the mouse with hover and
// leave notifications and never paints a background, so transparent parts of the image show
// what is beneath.
//
// The button window must have BS_OWNERDRAW; bind it with DDX_Control, then LoadPngImage.
#pragma once

#include "framework/Framework.h"

namespace Gdiplus {
class GpBitmap;
}

class PngButton : public CButton {
    DECLARE_DYNAMIC(PngButton)
public:
    PngButton() = default;
    ~PngButton() override;

    // Loads the strip and resizes the button to one frame, keeping its top-left corner. A
    // second call replaces the strip. A file that cannot be read leaves the button 0 x 0.
    void LoadPngImage(LPCWSTR path);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // A double click counts as a second press.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int FrameWidth() const { return m_nFrameWidth; }
    int ImageHeight() const { return m_nImageHeight; }
    bool Hovered() const { return m_bHover != 0; }

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseHover(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    DECLARE_MESSAGE_MAP()

private:
    void ReleaseBitmap();

    int m_bTracking = 0;
    int m_bHover = 0;
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
    int m_nFrameWidth = 0;
    void* m_pBitmap = nullptr; // the GDI+ bitmap of the strip, kept while the button lives
    RECT m_rect{};
};
