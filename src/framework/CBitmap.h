// CBitmap: an owned GDI bitmap.
#pragma once

#include "framework/CGdiObject.h"

class CDC;

class CBitmap : public CGdiObject {
public:
    CBitmap() = default;

    // A bitmap resource of AfxGetResourceHandle().
    BOOL LoadBitmap(UINT nIDResource);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    int GetBitmap(BITMAP* pBitMap) const;
    HBITMAP GetSafeHandle() const { return static_cast<HBITMAP>(m_hObject); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};
