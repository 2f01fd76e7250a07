// CDataExchange and the DDX_ functions: moving values between a dialog's members and its
// controls, in DoDataExchange.
//
// Use:
//   void CMyDlg::DoDataExchange(CDataExchange* pDX) {
//       CDialog::DoDataExchange(pDX);
//       DDX_Control(pDX, IDC_LIST, m_list);   // subclass control IDC_LIST into m_list
//       DDX_Text(pDX, IDC_NAME, m_name);      // std::string <-> the control's text
//   }
// UpdateData(FALSE) loads the controls from the members, UpdateData(TRUE) stores the controls
// into the members; control notifications are locked out while either runs. An exchange that
// cannot be done (a control id missing from the template, a control already bound elsewhere)
// marks the exchange failed: UpdateData then answers FALSE, the dialog's OnInitDialog ends the
// dialog with -1 and its OnOK does not end it. A DDX function of the application's own reads
// and writes the control through PrepareCtrl / PrepareEditCtrl and calls Fail() when it must.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate; // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
    UINT m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;

    // The control's window, remembered as the last control; null (and the exchange failed)
    // when the dialog has no such control.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Marks the exchange failed and puts the focus on the last prepared control.
    void Fail();
    BOOL Failed() const { return m_bFailed; }

private:
    BOOL m_bFailed = FALSE;
};

// Subclasses control nIDC into rControl unless rControl already has a window.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// The control's whole text. Loading leaves a control that already shows the text untouched,
// so that its caret and selection stay and it raises no change notification.
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);

// Sets a window's text only when it differs from the current one.
void AfxSetWindowText(HWND hWnd, LPCSTR lpszNew);
