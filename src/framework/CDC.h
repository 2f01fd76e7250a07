// CDC: drawing on a device context that the object does not own.
//
// CDC itself only borrows its handle (a handler's CDC*, CDC dc(lpDrawItem->hDC)); it never
// releases it. The owning kinds acquire their context and give it back when they end, after
// deselecting every object that was selected into it meanwhile:
//   CPaintDC       BeginPaint / EndPaint, in a WM_PAINT handler
//   CClientDC      GetDC / ReleaseDC of a window's client area (null window: the screen)
//   CCompatibleDC  CreateCompatibleDC / DeleteDC, a memory context for bitmaps
#pragma once

#include <windows.h>

#include "framework/CPoint.h"

class CBitmap;
class CPen;
class CBrush;

class CDC {
public:
    HDC m_hDC = nullptr;

    explicit CDC(HDC hDC = nullptr) : m_hDC(hDC) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    // Select an object; each answers the object selected before, to be selected back.
    HBITMAP SelectObject(CBitmap* pBitmap);
    HPEN SelectObject(CPen* pPen);
    HBRUSH SelectObject(CBrush* pBrush);
    HBITMAP SelectObject(HBITMAP hBitmap);
    HPEN SelectObject(HPEN hPen);
    HBRUSH SelectObject(HBRUSH hBrush);

    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                DWORD dwRop);
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, DWORD dwRop);
    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    // Fills the rectangle with the colour; the context's background colour is left as it was.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    // A one-pixel frame along the inside of the rectangle: clrTopLeft on the top row (without
    // its last pixel) and the left column (without its last pixel), clrBottomRight on the right
    // column and the bottom row.
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    BOOL DrawIcon(int x, int y, HICON hIcon);
    COLORREF SetPixel(int x, int y, COLORREF crColor);
    COLORREF GetPixel(int x, int y) const;
    COLORREF SetBkColor(COLORREF crColor);
    int SetBkMode(int nBkMode);
    COLORREF SetTextColor(COLORREF crColor);
    int GetDeviceCaps(int nIndex) const;

protected:
    // For the owning kinds: remember the context's state after acquiring it ...
    void SaveInitialState();
    // ... and bring it back (deselecting what was selected since) before releasing it.
    void RestoreInitialState();

private:
    int m_nSavedState = 0;
};
