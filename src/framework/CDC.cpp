#include "framework/CDC.h"

#include "framework/CBitmap.h"
#include "framework/CBrush.h"
#include "framework/CPen.h"

HBITMAP CDC::SelectObject(CBitmap* pBitmap) {
    return SelectObject(pBitmap != nullptr ? static_cast<HBITMAP>(*pBitmap) : nullptr);
}

HPEN CDC::SelectObject(CPen* pPen) {
    return SelectObject(pPen != nullptr ? static_cast<HPEN>(*pPen) : nullptr);
}

HBRUSH CDC::SelectObject(CBrush* pBrush) {
    return SelectObject(pBrush != nullptr ? static_cast<HBRUSH>(*pBrush) : nullptr);
}

HBITMAP CDC::SelectObject(HBITMAP hBitmap) {
    return hBitmap != nullptr ? static_cast<HBITMAP>(::SelectObject(m_hDC, hBitmap)) : nullptr;
}

HPEN CDC::SelectObject(HPEN hPen) {
    return hPen != nullptr ? static_cast<HPEN>(::SelectObject(m_hDC, hPen)) : nullptr;
}

HBRUSH CDC::SelectObject(HBRUSH hBrush) {
    return hBrush != nullptr ? static_cast<HBRUSH>(::SelectObject(m_hDC, hBrush)) : nullptr;
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) {
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC != nullptr ? pSrcDC->m_hDC : nullptr, xSrc,
                    ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, DWORD dwRop) {
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC != nullptr ? pSrcDC->m_hDC : nullptr,
                        xSrc, ySrc, nSrcWidth, nSrcHeight, dwRop);
}

CPoint CDC::MoveTo(int x, int y) {
    POINT previous{0, 0};
    ::MoveToEx(m_hDC, x, y, &previous);
    return CPoint(previous);
}

BOOL CDC::LineTo(int x, int y) {
    return ::LineTo(m_hDC, x, y);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    if (lpRect == nullptr) {
        return;
    }
    const COLORREF previous = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    const RECT rect{x, y, x + cx, y + cy};
    FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    if (lpRect == nullptr) {
        return;
    }
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
               lpRect->bottom - lpRect->top, clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
    if (lpRect != nullptr && pBrush != nullptr) {
        ::FillRect(m_hDC, lpRect, *pBrush);
    }
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    return ::DrawIcon(m_hDC, x, y, hIcon);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) {
    return ::SetPixel(m_hDC, x, y, crColor);
}

COLORREF CDC::GetPixel(int x, int y) const {
    return ::GetPixel(m_hDC, x, y);
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
    return ::SetBkColor(m_hDC, crColor);
}

int CDC::SetBkMode(int nBkMode) {
    return ::SetBkMode(m_hDC, nBkMode);
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
    return ::SetTextColor(m_hDC, crColor);
}

int CDC::GetDeviceCaps(int nIndex) const {
    return ::GetDeviceCaps(m_hDC, nIndex);
}

void CDC::SaveInitialState() {
    m_nSavedState = m_hDC != nullptr ? ::SaveDC(m_hDC) : 0;
}

void CDC::RestoreInitialState() {
    if (m_hDC != nullptr && m_nSavedState != 0) {
        ::RestoreDC(m_hDC, m_nSavedState);
    }
    m_nSavedState = 0;
}
