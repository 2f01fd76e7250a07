// CAskDlg: the student's window. A line that says what it does, a reason, Send and Cancel
// (Close once a request is on its way: closing does not call it back).
// Send runs the request on a thread of its own (BackgroundAsk), so the window answers all
// the while; the thread's end is posted back, and the window then says what happened.
#pragma once

#include "framework/Framework.h"

#include "ask/ask_dialog_state.h"
#include "ask/ask_options.h"
#include "ask/background_ask.h"

class CAskDlg : public CDialog {
public:
    explicit CAskDlg(AskOptions options);

    // Posted by the sending thread once its attempt is kept.
    static constexpr UINT WM_ASK_FINISHED = WM_APP + 1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override; // Send, and Enter
    afx_msg void OnReasonChange();
    afx_msg LRESULT OnAskFinished(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void ShowView();

    AskOptions m_options;
    AskDialogState m_state;
    CEdit m_reason;
    CStatic m_status;
    CButton m_send;
    CButton m_close;
    // Last, so that it is destroyed first: a request still on its way is waited for before
    // anything it could reach goes.
    BackgroundAsk m_sending;
};
