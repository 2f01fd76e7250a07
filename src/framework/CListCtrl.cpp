#include "framework/CListCtrl.h"

#include "framework/CImageList.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem, int nImage) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = nItem;
    item.pszText = const_cast<LPSTR>(lpszItem != nullptr ? lpszItem : "");
    item.iImage = nImage;
    return InsertItem(&item);
}

int CListCtrl::InsertItem(const LVITEMA* pItem) {
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(pItem)));
}

BOOL CListCtrl::DeleteAllItems() {
    return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS));
}

int CListCtrl::GetItemCount() const {
    return static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const {
    return static_cast<int>(
        SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(nFlags, 0)));
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPSTR lpszText, int nLen) const {
    if (lpszText == nullptr || nLen <= 0) {
        return 0;
    }
    lpszText[0] = '\0';
    LVITEMA item{};
    item.iSubItem = nSubItem;
    item.pszText = lpszText;
    item.cchTextMax = nLen;
    SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item));
    lpszText[nLen - 1] = '\0';
    // What the buffer holds: the control's own answer is the whole text's length under Wine
    // but the copied length on Windows.
    return static_cast<int>(std::strlen(lpszText));
}

std::string CListCtrl::GetItemText(int nItem, int nSubItem) const {
    // The control copies at most the buffer's size; grow until the text fits.
    for (int size = 256; size <= 65536; size *= 4) {
        std::string buffer(static_cast<size_t>(size), '\0');
        const int length = GetItemText(nItem, nSubItem, buffer.data(), size);
        if (length < size - 1) {
            buffer.resize(static_cast<size_t>(length > 0 ? length : 0));
            return buffer;
        }
    }
    return {};
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    LVITEMA item{};
    item.state = nState;
    item.stateMask = nMask;
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

HIMAGELIST CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    // Without the shared style the control destroys its lists with itself, under the
    // CImageList that owns the list (and twice over for a list given to two controls).
    ModifyStyle(0, LVS_SHAREIMAGELISTS);
    HIMAGELIST hImageList = pImageList != nullptr ? pImageList->m_hImageList : nullptr;
    return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST,
                                                    static_cast<WPARAM>(nImageListType),
                                                    reinterpret_cast<LPARAM>(hImageList)));
}

HIMAGELIST CListCtrl::GetImageList(int nImageListType) const {
    return reinterpret_cast<HIMAGELIST>(
        SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(nImageListType)));
}

BOOL CListCtrl::SetTextColor(COLORREF cr) {
    return static_cast<BOOL>(SendMessage(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(cr)));
}

BOOL CListCtrl::SetTextBkColor(COLORREF cr) {
    return static_cast<BOOL>(SendMessage(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(cr)));
}

BOOL CListCtrl::SetBkColor(COLORREF cr) {
    return static_cast<BOOL>(SendMessage(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(cr)));
}
