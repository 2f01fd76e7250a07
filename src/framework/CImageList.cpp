#include "framework/CImageList.h"

IMPLEMENT_DYNAMIC(CImageList, CObject)

CImageList::~CImageList() {
    DeleteImageList();
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    DeleteImageList();
    m_hImageList = ::ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
    return m_hImageList != nullptr;
}

int CImageList::Add(HICON hIcon) {
    return Replace(-1, hIcon);
}

int CImageList::Replace(int nImage, HICON hIcon) {
    if (m_hImageList == nullptr) {
        return -1;
    }
    return ::ImageList_ReplaceIcon(m_hImageList, nImage, hIcon);
}

int CImageList::GetImageCount() const {
    return m_hImageList != nullptr ? ::ImageList_GetImageCount(m_hImageList) : 0;
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
    if (hImageList == nullptr) {
        return FALSE;
    }
    DeleteImageList();
    m_hImageList = hImageList;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST hImageList = m_hImageList;
    m_hImageList = nullptr;
    return hImageList;
}

BOOL CImageList::DeleteImageList() {
    if (m_hImageList == nullptr) {
        return FALSE;
    }
    const BOOL destroyed = ::ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return destroyed;
}
