#include "ask/CAskDlg.h"

#include "ask/ask_attempt.h"
#include "ask_resource.h"
#include "push/push_protocol.h"

#include <string>
#include <utility>

BEGIN_MESSAGE_MAP(CAskDlg, CDialog)
ON_EN_CHANGE(IDC_ASK_REASON, &CAskDlg::OnReasonChange)
ON_MESSAGE(CAskDlg::WM_ASK_FINISHED, &CAskDlg::OnAskFinished)
END_MESSAGE_MAP()

CAskDlg::CAskDlg(AskOptions options) : CDialog(IDD_ASK, nullptr), m_options(std::move(options)) {}

void CAskDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ASK_REASON, m_reason);
    DDX_Control(pDX, IDC_ASK_STATUS, m_status);
    DDX_Control(pDX, IDOK, m_send);
    DDX_Control(pDX, IDCANCEL, m_close);
}

BOOL CAskDlg::OnInitDialog() {
    if (!CDialog::OnInitDialog()) {
        return FALSE;
    }
    HINSTANCE instance = AfxGetResourceHandle();
    auto icon = [instance](int size) {
        // Shared icons belong to the system's cache: nothing to destroy.
        return static_cast<HICON>(
            ::LoadImageA(instance, MAKEINTRESOURCEA(IDI_ASK), IMAGE_ICON, size, size, LR_SHARED));
    };
    SetIcon(icon(::GetSystemMetrics(SM_CXICON)), TRUE);
    SetIcon(icon(::GetSystemMetrics(SM_CXSMICON)), FALSE);
    // Characters first; FitReason then holds the bytes to the same limit.
    m_reason.LimitText(kMaxReasonBytes);
    ShowView();
    return TRUE; // the reason edit, the first control that takes the keyboard, has it
}

void CAskDlg::ShowView() {
    AskDialogView view = m_state.View();
    m_reason.SendMessage(EM_SETREADONLY, view.reasonEditable ? FALSE : TRUE);
    m_send.EnableWindow(view.sendEnabled);
    m_close.SetWindowText(view.closeLabel);
    m_status.SetWindowText(view.status.c_str());
    // A disabled button cannot keep the keyboard: Enter and Escape then go to Close.
    if (!view.sendEnabled) {
        SendMessage(DM_SETDEFID, IDCANCEL);
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_close.GetSafeHwnd()), TRUE);
    } else if (m_state.Phase() == AskPhase::editing) {
        SendMessage(DM_SETDEFID, IDOK);
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_reason.GetSafeHwnd()), TRUE);
    }
}

void CAskDlg::OnReasonChange() {
    std::string text;
    m_reason.GetWindowText(text);
    if (auto fitted = FitReason(text)) {
        m_reason.SetWindowText(fitted->c_str());
        int end = static_cast<int>(fitted->size());
        m_reason.SetSel(end, end);
        ::MessageBeep(MB_OK);
    }
}

void CAskDlg::OnOK() {
    if (m_state.EnterCloses()) {
        EndDialog(IDOK);
        return;
    }
    if (!m_state.StartSending()) {
        return; // a request is on its way already
    }
    std::string reason;
    m_reason.GetWindowText(reason);
    ShowView();
    HWND window = m_hWnd;
    bool started =
        m_sending.Start([options = m_options,
                         reason = std::move(reason)] { return RunAskAttempt(options, reason); },
                        [window] { ::PostMessageA(window, WM_ASK_FINISHED, 0, 0); });
    if (!started) {
        AskRequest request;
        AskResult result; // networkDown: no thread could be started
        m_state.Finish(result.outcome, DescribeAskResult(request, result));
        ShowView();
    }
}

LRESULT CAskDlg::OnAskFinished(WPARAM, LPARAM) {
    if (std::optional<AskAttempt> attempt = m_sending.Take()) {
        m_state.Finish(attempt->result.outcome, attempt->description);
        ShowView();
    }
    return 0;
}
