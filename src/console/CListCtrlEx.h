// CListCtrlEx: the console's list view. It never paints a background of its own, so with the
// background colour CLR_NONE the console's picture shows between and behind the items.
#pragma once

#include "framework/Framework.h"

class CListCtrlEx : public CListCtrl {
    DECLARE_DYNAMIC(CListCtrlEx)
public:
    CListCtrlEx() = default;
    ~CListCtrlEx() override = default;

protected:
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    DECLARE_MESSAGE_MAP()
};
