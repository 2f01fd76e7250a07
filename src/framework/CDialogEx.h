// CDialogEx: the dialog base of the splash and the console. It paints its background and
// colours its controls exactly as the dialog's window class does (the system sets neither a
// background colour nor a background image), so it adds only the handler names that derived
// classes call as their base processing: CDialogEx::OnEraseBkgnd and CDialogEx::OnCtlColor.
#pragma once

#include "framework/CDialog.h"

class CDialogEx : public CDialog {
    DECLARE_DYNAMIC(CDialogEx)
public:
    explicit CDialogEx(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()
};
