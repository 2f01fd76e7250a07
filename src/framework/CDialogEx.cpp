#include "framework/CDialogEx.h"

#include "framework/CDC.h"

IMPLEMENT_DYNAMIC(CDialogEx, CDialog)

BEGIN_MESSAGE_MAP(CDialogEx, CDialog)
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CDialogEx::CDialogEx(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

BOOL CDialogEx::OnEraseBkgnd(CDC* pDC) {
    return CDialog::OnEraseBkgnd(pDC);
}

HBRUSH CDialogEx::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}
