#include "framework/CDialog.h"

#include <commctrl.h>

#include <mutex>

#include "framework/CWinApp.h"
#include "framework/WindowCreationHook.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_nIDHelp(nIDTemplate),
      m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_nIDHelp(0), m_pParentWnd(pParentWnd) {}

namespace {

// Templates may name any common control; the system registers only the classes asked for
// (the list view's among the basic ones, the address control's not), so every dialog asks.
void RegisterCommonControlClasses() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                     ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES};
        ::InitCommonControlsEx(&classes);
    });
}

} // namespace

HWND CDialog::GetSafeOwner(CWnd* pParent) {
    HWND hWnd = pParent != nullptr ? pParent->m_hWnd : ::GetActiveWindow();
    // A popup cannot be owned by a child window.
    while (hWnd != nullptr && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) != 0) {
        hWnd = ::GetParent(hWnd);
    }
    if (pParent == nullptr && hWnd != nullptr) {
        hWnd = ::GetLastActivePopup(hWnd);
    }
    return hWnd;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd != nullptr) {
        return -1;
    }
    RegisterCommonControlClasses();
    HWND owner = GetSafeOwner(m_pParentWnd);
    WindowCreationHook hook(this);
    return ::DialogBoxParamA(AfxGetResourceHandle(), m_lpszTemplateName, owner, &DialogProc, 0);
}

void CDialog::EndDialog(int nResult) {
    ::EndDialog(m_hWnd, nResult);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    // The dialog manager's own processing calls DialogProc, which calls OnInitDialog.
    return Default();
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM) noexcept {
    if (message != WM_INITDIALOG) {
        return FALSE;
    }
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr || !pWnd->IsKindOf(RUNTIME_CLASS(CDialog))) {
        return TRUE;
    }
    try {
        return static_cast<CDialog*>(pWnd)->OnInitDialog();
    } catch (...) {
        ::OutputDebugStringA("ClumaDeck framework: OnInitDialog threw; the dialog ends\n");
        ::EndDialog(hWnd, -1);
        return FALSE;
    }
}

BOOL CDialog::OnInitDialog() {
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}
