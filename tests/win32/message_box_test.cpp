// Message boxes as the user sees them: the application's name as caption, the owner, the
// default icons, and the answer. The program's own start-up box: startup_failure_test.cpp.
#include <gtest/gtest.h>

#include "support/message_box_watcher.h"
#include "support/scripted_dialog.h"
#include "support/test_resources.h"

namespace {

// This test program is cluma_framework_tests.exe: its application name drops the extension.
constexpr char kAppName[] = "cluma_framework_tests";

HICON SystemIcon(LPCSTR id) {
    return ::LoadIconA(nullptr, id);
}

struct BoxCase {
    const char* name;
    UINT type;
    int answer;
    LPCSTR expectedIcon;
};

const BoxCase kBoxCases[] = {
    {"OkGetsTheExclamationIcon", MB_OK, IDOK, IDI_EXCLAMATION},
    {"OkCancelGetsTheExclamationIcon", MB_OKCANCEL, IDCANCEL, IDI_EXCLAMATION},
    {"YesNoGetsTheQuestionIcon", MB_YESNO, IDNO, IDI_QUESTION},
    {"YesNoCancelGetsTheQuestionIcon", MB_YESNOCANCEL, IDYES, IDI_QUESTION},
    {"AGivenIconIsKept", MB_OK | MB_ICONINFORMATION, IDOK, IDI_INFORMATION},
    {"RetryCancelGetsNoIcon", MB_RETRYCANCEL, IDRETRY, nullptr},
};

class AfxMessageBoxCase : public testing::TestWithParam<BoxCase> {};

TEST_P(AfxMessageBoxCase, CarriesTheApplicationNameAndAnswersTheButton) {
    const BoxCase& c = GetParam();
    MessageBoxWatcher watcher(kAppName, c.answer);
    const int answer = AfxMessageBox("a framework message", c.type);
    watcher.Join();
    ASSERT_TRUE(watcher.Seen()) << "no box titled " << kAppName;
    EXPECT_EQ(answer, c.answer);
    EXPECT_EQ(watcher.Title(), kAppName);
    EXPECT_EQ(watcher.Text(), "a framework message");
    EXPECT_EQ(watcher.Icon(), c.expectedIcon != nullptr ? SystemIcon(c.expectedIcon) : nullptr);
}

INSTANTIATE_TEST_SUITE_P(MessageBoxes, AfxMessageBoxCase, testing::ValuesIn(kBoxCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MessageBoxes, ApplicationNameIsTheExecutablesNameWithoutExtension) {
    EXPECT_STREQ(AfxGetAppName(), kAppName);
}

TEST(MessageBoxes, AfxMessageBoxIsOwnedByTheActiveDialog) {
    HWND dialogWindow = nullptr;
    HWND owner = nullptr;
    bool seen = false;
    ScriptedDialog dialog(IDD_EDITS, [&](ScriptedDialog& d) {
        dialogWindow = d.m_hWnd;
        ::SetActiveWindow(d.m_hWnd);
        MessageBoxWatcher watcher(kAppName, IDOK);
        AfxMessageBox("owned");
        watcher.Join();
        seen = watcher.Seen();
        owner = watcher.Owner();
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    ASSERT_TRUE(seen);
    EXPECT_EQ(owner, dialogWindow);
}

TEST(MessageBoxes, WindowMessageBoxIsOwnedByItsWindowWithTheApplicationName) {
    HWND dialogWindow = nullptr;
    MessageBoxWatcher* result = nullptr;
    int answer = 0;
    MessageBoxWatcher watcher(kAppName, IDOK);
    ScriptedDialog dialog(IDD_EDITS, [&](ScriptedDialog& d) {
        dialogWindow = d.m_hWnd;
        answer = d.MessageBox("setting successfully,you should restart to make it effective");
        watcher.Join();
        result = &watcher;
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    ASSERT_NE(result, nullptr);
    ASSERT_TRUE(watcher.Seen());
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(watcher.Owner(), dialogWindow);
    EXPECT_EQ(watcher.Text(), "setting successfully,you should restart to make it effective");
    EXPECT_EQ(watcher.Icon(), nullptr) << "the window's message box adds no icon";
}

TEST(MessageBoxes, AnExplicitCaptionIsUsed) {
    MessageBoxWatcher watcher("prompt", IDYES);
    CWnd none;
    const int answer = none.MessageBox("pc7 ask for help: slides", "prompt", MB_YESNO);
    watcher.Join();
    ASSERT_TRUE(watcher.Seen());
    EXPECT_EQ(answer, IDYES);
    EXPECT_EQ(watcher.Owner(), nullptr);
}

} // namespace
