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
    m_nModalResult = -1;
    m_bContinueModal = TRUE;
    HWND dialog = nullptr;
    {
        WindowCreationHook hook(this);
        dialog =
            ::CreateDialogParamA(AfxGetResourceHandle(), m_lpszTemplateName, owner, &DialogProc, 0);
    }
    if (dialog == nullptr) {
        m_bContinueModal = FALSE;
        return -1;
    }
    // Modal over the owner, as the system's dialog box is.
    bool ownerDisabled =
        owner != nullptr && ::IsWindowEnabled(owner) && !::EnableWindow(owner, FALSE);
    RunModalLoop(dialog);
    if (ownerDisabled) {
        ::EnableWindow(owner, TRUE);
    }
    if (owner != nullptr && ::GetActiveWindow() == dialog) {
        ::SetActiveWindow(owner);
    }
    if (::IsWindow(dialog)) {
        ::DestroyWindow(dialog);
    }
    return m_nModalResult;
}

// The framework's own modal loop rather than the system's dialog box: the system's loop shows
// the dialog normally when its queue first goes empty (under Wine even when it is already
// shown), which undoes a dialog that maximised itself in OnInitDialog. Here a dialog that is
// not yet visible by then is shown normally (whatever its template says, as a modal dialog
// box is), and one that showed itself is left as it is.
void CDialog::RunModalLoop(HWND dialog) {
    bool shown = ::IsWindowVisible(dialog) != FALSE;
    MSG message;
    while (m_bContinueModal) {
        if (!shown && !::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            shown = true;
            if (m_bContinueModal && !::IsWindowVisible(dialog)) {
                ::ShowWindow(dialog, SW_SHOWNORMAL);
                // A dialog without controls takes the keyboard itself, so that Escape and
                // Enter reach it.
                HWND focus = ::GetFocus();
                if (focus != dialog && !::IsChild(dialog, focus)) {
                    ::SetFocus(dialog);
                }
            }
        }
        BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(message.wParam)); // for the outer loop
            break;
        }
        if (got == -1) {
            break;
        }
        if (!::IsWindow(dialog) || !::IsDialogMessageA(dialog, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        if (!::IsWindow(dialog)) {
            break;
        }
    }
    m_bContinueModal = FALSE;
}

void CDialog::EndDialog(int nResult) {
    if (m_bContinueModal) {
        // Ends the framework's modal loop; the window disappears now, as with the system's.
        m_nModalResult = nResult;
        m_bContinueModal = FALSE;
        ::ShowWindow(m_hWnd, SW_HIDE);
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0); // wakes the loop
        return;
    }
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
        static_cast<CDialog*>(pWnd)->EndDialog(-1);
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
