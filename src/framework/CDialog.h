// CDialog: a modal dialog built from a dialog template in the application's resources.
//
// Use: derive, give the constructor the template's resource id, bind controls and members in
// DoDataExchange, and run it with DoModal, which returns the value given to EndDialog (-1 when
// the dialog cannot be created, for example when its template or window class is missing).
//
//   OnInitDialog   the framework's version loads the members into the controls
//                  (UpdateData(FALSE), which also subclasses the DDX_Control members); a failed
//                  exchange ends the dialog with -1. Return TRUE to focus the first control.
//   OnOK           IDOK: stores the controls into the members (UpdateData(TRUE)) and, if that
//                  succeeded, ends the dialog with IDOK (Enter, the OK button).
//   OnCancel       IDCANCEL: ends the dialog with IDCANCEL and stores nothing (Escape, Cancel,
//                  the close box).
//
// Without a parent window the dialog is owned by the thread's active window (its last active
// popup), so that it is modal over the window the user is working in; with none it is unowned.
// The template comes from AfxGetResourceHandle(), the executable unless changed.
#pragma once

#include <windows.h>

#include "framework/CWnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    // Public so that message maps may name them (ON_BN_CLICKED(IDCANCEL, &CDialog::OnCancel)).
    virtual void OnOK();
    virtual void OnCancel();

    // The owner DoModal uses for a parent (null: the thread's active window).
    static HWND GetSafeOwner(CWnd* pParent);

protected:
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    LPCSTR m_lpszTemplateName;
    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    void RunModalLoop(HWND dialog);

    BOOL m_bContinueModal = FALSE;
    INT_PTR m_nModalResult = -1;

    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
};
