// One field-drag mouse movement through the real colour dialog (Windows; here under Wine): the
// field copied to the window, the cross-hair drawn, the bar rebuilt, made ready for the screen
// and drawn, the new colour swatch drawn and the seven edits loaded, as WM_MOUSEMOVE arrives
// while the field is tracked. Prints the median time of one movement, and of the edits' load
// within it, over several runs.
#include "bench_support.h"
#include "controls/CSelColorDlg.h"
#include "framework/Framework.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr UINT kRunMessage = WM_APP + 0x3D2;
constexpr int kMovesPerRun = 200;

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class TimedColourDialog : public CSelColorDlg {
public:
    explicit TimedColourDialog(int runs) : m_runs(runs) {}

    BOOL OnInitDialog() override {
        const BOOL result = CSelColorDlg::OnInitDialog();
        ShowWindow(SW_SHOW);
        UpdateWindow();
        PostMessage(kRunMessage);
        return result;
    }

    std::vector<double> m_moveUs;
    std::vector<double> m_loadUs;
    int m_finalHue = -1;

protected:
    void LoadEdits() override {
        const Clock::time_point start = Clock::now();
        CSelColorDlg::LoadEdits();
        m_loadMs += MsSince(start);
    }

    afx_msg LRESULT OnRun(WPARAM, LPARAM) {
        SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(14, 40));
        for (int run = 0; run < m_runs; ++run) {
            m_loadMs = 0;
            const Clock::time_point start = Clock::now();
            for (int i = 0; i < kMovesPerRun; ++i) {
                // Across the field and back, a row lower each time round.
                const int x = 14 + i % 191;
                const int y = 40 + (i / 191 + run) % 100;
                SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
            }
            ::GdiFlush();
            m_moveUs.push_back(MsSince(start) * 1000.0 / kMovesPerRun);
            m_loadUs.push_back(m_loadMs * 1000.0 / kMovesPerRun);
        }
        SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(14, 40));
        m_finalHue = m_byHue;
        EndDialog(IDOK);
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    int m_runs;
    double m_loadMs = 0;
};

BEGIN_MESSAGE_MAP(TimedColourDialog, CSelColorDlg)
ON_MESSAGE(kRunMessage, &TimedColourDialog::OnRun)
END_MESSAGE_MAP()

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    TimedColourDialog dialog(runs);
    if (dialog.DoModal() != IDOK || dialog.m_moveUs.empty()) {
        std::printf("the colour dialog did not run\n");
        return 1;
    }
    std::printf("%-44s %3d runs x %5d moves  median %9.2f us/move  (fastest run %9.2f us)\n",
                "field drag move, real dialog", runs, kMovesPerRun, bench::Median(dialog.m_moveUs),
                *std::min_element(dialog.m_moveUs.begin(), dialog.m_moveUs.end()));
    std::printf("%-44s %3d runs x %5d moves  median %9.2f us/move\n",
                "  of which the seven edits loaded", runs, kMovesPerRun,
                bench::Median(dialog.m_loadUs));
    std::printf("(hue at the end %d)\n", dialog.m_finalHue);
    return 0;
}
