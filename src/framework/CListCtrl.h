// CListCtrl: a list-view control.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "framework/CWnd.h"

class CImageList;

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    // Inserts an item with a text (null: no text) and an image; answers its index or -1.
    int InsertItem(int nItem, LPCSTR lpszItem, int nImage);
    int InsertItem(const LVITEMA* pItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    // The next item after nItem (-1: from the start) with the LVNI_* flags, or -1.
    int GetNextItem(int nItem, int nFlags) const;
    // Copies the item's text into the buffer, cut to fit and always terminated; answers the
    // length of what the buffer holds.
    int GetItemText(int nItem, int nSubItem, LPSTR lpszText, int nLen) const;
    std::string GetItemText(int nItem, int nSubItem) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);

    // Gives the control the image list for nImageListType (LVSIL_NORMAL, ...). The control
    // shares the list (LVS_SHAREIMAGELISTS is set): the CImageList keeps owning it. Answers
    // the list the control had before.
    HIMAGELIST SetImageList(CImageList* pImageList, int nImageListType);
    HIMAGELIST GetImageList(int nImageListType) const;

    BOOL SetTextColor(COLORREF cr);
    BOOL SetTextBkColor(COLORREF cr);
    BOOL SetBkColor(COLORREF cr);
};
