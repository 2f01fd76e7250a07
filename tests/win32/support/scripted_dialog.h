// A modal dialog that runs a test's steps inside its own modal loop.
//
// The step runs from a message posted at the end of OnInitDialog, so the dialog is up and its
// modal loop is running; the step may end the dialog or post messages that end it later. A
// watchdog timer ends a dialog that is still open after 10 s with kWatchdogResult, so a test
// that goes wrong fails instead of hanging.
#pragma once

#include <functional>

#include "framework/Framework.h"

class ScriptedDialog : public CDialog {
public:
    using Step = std::function<void(ScriptedDialog&)>;
    static constexpr INT_PTR kWatchdogResult = -2;
    static constexpr UINT_PTR kWatchdogTimer = 0xB0B;

    explicit ScriptedDialog(UINT nIDTemplate, Step step = {}, CWnd* pParent = nullptr);

    void SetStep(Step step) { m_step = std::move(step); }
    // Replaces the step and runs it after the messages already posted to the dialog.
    void PostStep(Step step);
    BOOL OnInitDialog() override;

    // The window of a control of this dialog.
    HWND Item(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    // Posts a click of the button (OK, Cancel, ...) to the dialog, as the button sends it.
    void PostClick(int nID) const;

protected:
    afx_msg LRESULT OnRunStep(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()

private:
    Step m_step;
};
