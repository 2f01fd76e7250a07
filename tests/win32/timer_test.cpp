// Timers of a window: each id ticks to its handler until it is killed.
#include <gtest/gtest.h>

#include <map>

#include "support/scripted_dialog.h"
#include "support/test_resources.h"

namespace {

// Runs a fast timer 1 and a slower timer 2; after three ticks of timer 2 kills timer 1, and
// after three more ticks of timer 2 ends the dialog.
class TimedDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    std::map<UINT_PTR, int> m_ticks;
    int m_fastTicksAfterKill = 0;
    BOOL m_killUnknown = TRUE;

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent) {
        if (nIDEvent == kWatchdogTimer) {
            ScriptedDialog::OnTimer(nIDEvent);
            return;
        }
        ++m_ticks[nIDEvent];
        if (nIDEvent == 1 && m_fastKilled) {
            ++m_fastTicksAfterKill;
        }
        if (nIDEvent == 2 && m_ticks[2] == 3) {
            EXPECT_TRUE(KillTimer(1));
            m_fastKilled = true;
            m_killUnknown = KillTimer(99);
        }
        if (nIDEvent == 2 && m_ticks[2] == 6) {
            KillTimer(2);
            EndDialog(IDOK);
        }
    }
    DECLARE_MESSAGE_MAP()

private:
    bool m_fastKilled = false;
};

BEGIN_MESSAGE_MAP(TimedDialog, ScriptedDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(Timers, EachTicksToTheHandlerUntilKilled) {
    TimedDialog dialog(IDD_EDITS, [](ScriptedDialog& d) {
        EXPECT_EQ(d.SetTimer(1, 5), 1u);
        EXPECT_EQ(d.SetTimer(2, 40), 2u);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_ticks.size(), 2u) << "only the two timers ticked";
    EXPECT_EQ(dialog.m_ticks[2], 6);
    EXPECT_GE(dialog.m_ticks[1], 1);
    EXPECT_EQ(dialog.m_fastTicksAfterKill, 0);
    EXPECT_FALSE(dialog.m_killUnknown) << "a timer that was never set cannot be killed";
}

TEST(Timers, EndWithTheirWindow) {
    HWND window = nullptr;
    ScriptedDialog dialog(IDD_EDITS, [&](ScriptedDialog& d) {
        window = d.m_hWnd;
        d.SetTimer(3, 1000);
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(::KillTimer(window, 3)) << "the window and its timers are gone";
}

} // namespace
