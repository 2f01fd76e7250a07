// CImageList: owns an image list of the common controls and destroys it with the object.
//
// A list control given the image list through CListCtrl::SetImageList shares it and does not
// destroy it, so one CImageList may serve several lists and outlive them.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/CObject.h"

class CImageList : public CObject {
    DECLARE_DYNAMIC(CImageList)
public:
    HIMAGELIST m_hImageList = nullptr;

    CImageList() = default;
    ~CImageList() override;

    // Creates the list (ImageList_Create), replacing one the object held before.
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // Appends the icon (ImageList_ReplaceIcon at -1); answers its index or -1.
    int Add(HICON hIcon);
    int Replace(int nImage, HICON hIcon);
    int GetImageCount() const;
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();
};
