#include "framework/CBitmap.h"

#include "framework/CDC.h"
#include "framework/CWinApp.h"

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource)));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    if (pDC == nullptr) {
        return FALSE;
    }
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const {
    return GetObject(static_cast<int>(sizeof(BITMAP)), pBitMap);
}
