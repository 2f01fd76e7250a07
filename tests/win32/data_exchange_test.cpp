// Data exchange: DDX_Text both ways, and the lock-out of control notifications while
// UpdateData runs, with real edits that type and notify.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "support/scripted_dialog.h"
#include "support/test_resources.h"

namespace {

std::string TextOf(HWND hWnd) {
    char text[64] = {};
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

// Types one character at the end of an edit's text, as the keyboard does: the edit inserts
// it and notifies its parent.
void TypeAtEnd(HWND edit, char c) {
    const int length = ::GetWindowTextLengthA(edit);
    ::SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
    ::SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 1);
}

// Every change of the first edit stores the edits, rewrites the text (upper case, at most
// eight characters) and loads it back, as the colour dialog's handlers do with its edits.
class RewritingDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    std::string m_text = "ab";
    int m_changes = 0;
    int m_goClicks = 0;
    int m_depth = 0;
    int m_maxDepth = 0;
    HWND m_clickDuringExchange = nullptr; // a button clicked while the edits are loaded

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_FIRST_EDIT, m_text);
        if (!pDX->m_bSaveAndValidate && m_clickDuringExchange != nullptr) {
            ::SendMessageA(m_clickDuringExchange, BM_CLICK, 0, 0);
        }
    }
    afx_msg void OnFirstChanged() {
        ++m_changes;
        m_maxDepth = std::max(m_maxDepth, ++m_depth);
        UpdateData(TRUE);
        for (char& c : m_text) {
            c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
        }
        if (m_text.size() > 8) {
            m_text.resize(8);
        }
        UpdateData(FALSE);
        --m_depth;
    }
    afx_msg void OnGo() { ++m_goClicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RewritingDialog, ScriptedDialog)
ON_EN_CHANGE(IDC_FIRST_EDIT, &RewritingDialog::OnFirstChanged)
ON_BN_CLICKED(IDC_GO_BUTTON, &RewritingDialog::OnGo)
END_MESSAGE_MAP()

TEST(UpdateDataLockOut, WritingTheEditsDoesNotReenterTheChangeHandler) {
    std::string shown;
    RewritingDialog dialog(IDD_EDITS, [&](ScriptedDialog& d) {
        auto& self = static_cast<RewritingDialog&>(d);
        const int changesAfterInit = self.m_changes;
        HWND edit = d.Item(IDC_FIRST_EDIT);
        TypeAtEnd(edit, 'c');
        TypeAtEnd(edit, 'd');
        shown = TextOf(edit);
        EXPECT_EQ(self.m_changes - changesAfterInit, 2) << "one handler call per keystroke";
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_changes, 2) << "loading the edits at initialisation notified nothing";
    EXPECT_EQ(dialog.m_maxDepth, 1);
    EXPECT_EQ(shown, "ABCD");
    EXPECT_EQ(dialog.m_text, "ABCD");
}

TEST(UpdateDataLockOut, NotificationsArriveAgainOnceUpdateDataHasReturned) {
    RewritingDialog dialog(IDD_EDITS, [](ScriptedDialog& d) {
        auto& self = static_cast<RewritingDialog&>(d);
        self.m_text = "loaded";
        d.UpdateData(FALSE); // locked out: no change handler
        EXPECT_EQ(self.m_changes, 0);
        ::SetWindowTextA(d.Item(IDC_FIRST_EDIT), "typed"); // the user's change: handled
        EXPECT_EQ(self.m_changes, 1);
        ::SendMessageA(d.Item(IDC_GO_BUTTON), BM_CLICK, 0, 0);
        EXPECT_EQ(self.m_goClicks, 1);
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_text, "TYPED");
}

TEST(UpdateDataLockOut, HoldsForEveryControlNotificationOfTheDialog) {
    RewritingDialog dialog(IDD_EDITS, [](ScriptedDialog& d) {
        auto& self = static_cast<RewritingDialog&>(d);
        self.m_clickDuringExchange = d.Item(IDC_GO_BUTTON);
        d.UpdateData(FALSE);
        EXPECT_EQ(self.m_goClicks, 0) << "a click during the exchange is not the user's";
        self.m_clickDuringExchange = nullptr;
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
}

// A window of its own with an edit: its notifications are not the dialog's.
class OtherWindow : public CWnd {
public:
    int m_changes = 0;
    HWND m_edit = nullptr;

protected:
    afx_msg void OnEditChanged() { ++m_changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OtherWindow, CWnd)
ON_EN_CHANGE(77, &OtherWindow::OnEditChanged)
END_MESSAGE_MAP()

class TouchingOtherDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    OtherWindow* m_other = nullptr;

protected:
    void DoDataExchange(CDataExchange*) override {
        if (m_other != nullptr) {
            ::SetWindowTextA(m_other->m_edit, "written during the exchange");
        }
    }
};

TEST(UpdateDataLockOut, LocksOutOnlyTheWindowWhoseUpdateDataRuns) {
    OtherWindow other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_POPUP, 0, 0, 100, 40, nullptr,
                               nullptr));
    other.m_edit =
        ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 90, 20, other.m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(77)), nullptr, nullptr);
    ASSERT_NE(other.m_edit, nullptr);
    TouchingOtherDialog dialog(IDD_EDITS, [&](ScriptedDialog& d) {
        static_cast<TouchingOtherDialog&>(d).m_other = &other;
        d.UpdateData(FALSE);
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(other.m_changes, 1);
}

// DDX_Text with the second edit and a long text.
class TextExchangeDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    std::string m_first;
    std::string m_second;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_FIRST_EDIT, m_first);
        DDX_Text(pDX, IDC_SECOND_EDIT, m_second);
    }
};

TEST(DataExchange, TextRoundTripsWholeAndEmpty) {
    const std::string longText(5000, 'x');
    TextExchangeDialog dialog(IDD_EDITS, [&](ScriptedDialog& d) {
        auto& self = static_cast<TextExchangeDialog&>(d);
        ::SendMessageA(d.Item(IDC_FIRST_EDIT), EM_LIMITTEXT, 0, 0);
        self.m_first = longText;
        self.m_second.clear();
        d.UpdateData(FALSE);
        EXPECT_EQ(::GetWindowTextLengthA(d.Item(IDC_FIRST_EDIT)), 5000);
        self.m_first = "overwritten";
        self.m_second = "not empty";
        d.UpdateData(TRUE);
        EXPECT_EQ(self.m_first, longText);
        EXPECT_EQ(self.m_second, "");
        d.EndDialog(IDOK);
    });
    dialog.m_second = "second";
    ASSERT_EQ(dialog.DoModal(), IDOK);
}

TEST(DataExchange, LoadingTheTextAControlShowsLeavesItsSelection) {
    TextExchangeDialog dialog(IDD_EDITS, [](ScriptedDialog& d) {
        auto& self = static_cast<TextExchangeDialog&>(d);
        HWND edit = d.Item(IDC_FIRST_EDIT);
        ::SendMessageA(edit, EM_SETSEL, 2, 4);
        d.UpdateData(FALSE); // the same text
        DWORD start = 0;
        DWORD end = 0;
        ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 2u);
        EXPECT_EQ(end, 4u);
        self.m_first = "other text";
        d.UpdateData(FALSE);
        EXPECT_EQ(TextOf(edit), "other text");
        d.EndDialog(IDOK);
    });
    dialog.m_first = "abcdef";
    ASSERT_EQ(dialog.DoModal(), IDOK);
}

} // namespace

namespace {

class EditDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    CEdit m_edit;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_SECOND_EDIT, m_edit); }
};

TEST(EditControl, SelectsReplacesAndLimits) {
    EditDialog dialog(IDD_EDITS, [](ScriptedDialog& d) {
        CEdit& edit = static_cast<EditDialog&>(d).m_edit;
        edit.SetWindowText("abcdef");
        edit.SetSel(1, 3);
        int start = -1;
        int end = -1;
        edit.GetSel(start, end);
        EXPECT_EQ(start, 1);
        EXPECT_EQ(end, 3);
        edit.ReplaceSel("XY");
        EXPECT_EQ(TextOf(edit), "aXYdef");
        edit.GetSel(start, end);
        EXPECT_EQ(start, 3) << "the caret follows the replacement";
        EXPECT_EQ(end, 3);
        edit.LimitText(6);
        TypeAtEnd(edit, 'z');
        EXPECT_EQ(TextOf(edit), "aXYdef") << "no room left";
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
}

} // namespace
