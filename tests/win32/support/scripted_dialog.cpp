#include "support/scripted_dialog.h"

namespace {
constexpr UINT kRunStepMessage = WM_APP + 0x3A0;
} // namespace

BEGIN_MESSAGE_MAP(ScriptedDialog, CDialog)
ON_MESSAGE(kRunStepMessage, &ScriptedDialog::OnRunStep)
ON_WM_TIMER()
END_MESSAGE_MAP()

ScriptedDialog::ScriptedDialog(UINT nIDTemplate, Step step, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_step(std::move(step)) {}

BOOL ScriptedDialog::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    SetTimer(kWatchdogTimer, 10000);
    PostMessage(kRunStepMessage);
    return result;
}

void ScriptedDialog::PostClick(int nID) const {
    PostMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(Item(nID)));
}

void ScriptedDialog::PostStep(Step step) {
    m_step = std::move(step);
    PostMessage(kRunStepMessage);
}

LRESULT ScriptedDialog::OnRunStep(WPARAM, LPARAM) {
    // A copy: the step may replace itself while it runs.
    const Step step = m_step;
    if (step) {
        step(*this);
    }
    return 0;
}

void ScriptedDialog::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kWatchdogTimer) {
        EndDialog(static_cast<int>(kWatchdogResult));
        return;
    }
    CDialog::OnTimer(nIDEvent);
}
