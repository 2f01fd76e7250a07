// CLocalIp: the "set ip" dialog, where the presenter sees and changes the console's own
// address, kept in the local address file beside the program. The file is the only store:
// the control shows the file's address whenever the dialog's activation changes.
#pragma once

#include "framework/Framework.h"

class CLocalIp : public CDialog {
public:
    CLocalIp();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnBnClickedOk();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);

    DECLARE_MESSAGE_MAP()

private:
    void ShowFileAddress();
    void Report(const std::string& text);

    CIPAddressCtrl m_address;
    // A problem is told once per dialog: the report box itself takes the activation away and
    // gives it back, which would read the file again.
    bool m_bReadProblemReported = false;
    bool m_bReporting = false;
};

// The console's SetIP command: runs the dialog modally.
void ShowLocalAddressDialog();
