// Modal dialogs: results of the standard buttons and keys, initialisation, creation failures,
// owners, and a modal dialog run from inside another's timer handler.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scripted_dialog.h"
#include "support/test_resources.h"

namespace {

// The edits dialog with its first edit bound to a text member.
class TextDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    std::string m_text = "initial";
    int m_okCalls = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        ScriptedDialog::DoDataExchange(pDX);
        DDX_Text(pDX, IDC_FIRST_EDIT, m_text);
    }
    void OnOK() override {
        ++m_okCalls;
        ScriptedDialog::OnOK();
    }
};

struct ModalCase {
    const char* name;
    void (*act)(ScriptedDialog& dialog);
    INT_PTR expectedResult;
    const char* expectedText;
};

void TypeChangedThen(ScriptedDialog& dialog, void (*finish)(ScriptedDialog&)) {
    ::SetWindowTextA(dialog.Item(IDC_FIRST_EDIT), "changed");
    finish(dialog);
}

const ModalCase kModalCases[] = {
    {"OkButtonStoresTheEditsAndEndsWithIdok",
     [](ScriptedDialog& d) { TypeChangedThen(d, [](ScriptedDialog& x) { x.PostClick(IDOK); }); },
     IDOK, "changed"},
    {"EnterInAnEditPressesTheDefaultButton",
     [](ScriptedDialog& d) {
         TypeChangedThen(d, [](ScriptedDialog& x) {
             ::PostMessageA(x.Item(IDC_FIRST_EDIT), WM_KEYDOWN, VK_RETURN, 0);
         });
     },
     IDOK, "changed"},
    {"CancelButtonEndsWithIdcancelAndStoresNothing",
     [](ScriptedDialog& d) {
         TypeChangedThen(d, [](ScriptedDialog& x) { x.PostClick(IDCANCEL); });
     },
     IDCANCEL, "initial"},
    {"EscapeEndsWithIdcancel",
     [](ScriptedDialog& d) {
         TypeChangedThen(d, [](ScriptedDialog& x) {
             ::PostMessageA(x.Item(IDC_FIRST_EDIT), WM_KEYDOWN, VK_ESCAPE, 0);
         });
     },
     IDCANCEL, "initial"},
    {"CloseBoxEndsWithIdcancel",
     [](ScriptedDialog& d) {
         TypeChangedThen(d, [](ScriptedDialog& x) { x.PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0); });
     },
     IDCANCEL, "initial"},
    {"EndDialogEndsWithItsValue", [](ScriptedDialog& d) { d.EndDialog(42); }, 42, "initial"},
};

class ModalResult : public testing::TestWithParam<ModalCase> {};

TEST_P(ModalResult, EndsAsTheFrameworkDefines) {
    const ModalCase& c = GetParam();
    TextDialog dialog(IDD_EDITS, c.act);
    EXPECT_EQ(dialog.DoModal(), c.expectedResult);
    EXPECT_EQ(dialog.m_text, c.expectedText);
    EXPECT_EQ(dialog.m_hWnd, nullptr) << "the object is detached when its window is gone";
}

INSTANTIATE_TEST_SUITE_P(Dialog, ModalResult, testing::ValuesIn(kModalCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Dialog, InitialisationLoadsTheMembersIntoTheControls) {
    std::string seen;
    TextDialog dialog(IDD_EDITS, [&](ScriptedDialog& d) {
        char text[32] = {};
        ::GetWindowTextA(d.Item(IDC_FIRST_EDIT), text, sizeof text);
        seen = text;
        d.EndDialog(IDOK);
    });
    dialog.m_text = "loaded";
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(seen, "loaded");
}

// A failing exchange keeps OK from ending the dialog.
class RequiredTextDialog : public TextDialog {
public:
    using TextDialog::TextDialog;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        TextDialog::DoDataExchange(pDX);
        if (pDX->m_bSaveAndValidate && m_text.empty()) {
            pDX->Fail();
        }
    }
};

TEST(Dialog, OkDoesNotEndTheDialogWhenTheExchangeFails) {
    RequiredTextDialog dialog(IDD_EDITS, [](ScriptedDialog& d) {
        ::SetWindowTextA(d.Item(IDC_FIRST_EDIT), "");
        d.PostClick(IDOK);                 // refused: the text is empty
        d.PostStep([](ScriptedDialog& x) { // runs after the refused click
            ::SetWindowTextA(x.Item(IDC_FIRST_EDIT), "now given");
            x.PostClick(IDOK);
        });
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_okCalls, 2);
    EXPECT_EQ(dialog.m_text, "now given");
}

// Records the order of creation and initialisation, and the exchange's bindings.
class LifecycleDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    std::vector<std::string> m_events;
    CEdit m_edit;

    BOOL OnInitDialog() override {
        m_events.push_back("init");
        return ScriptedDialog::OnInitDialog();
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct) {
        m_events.push_back("create");
        return ScriptedDialog::OnCreate(lpCreateStruct);
    }
    void DoDataExchange(CDataExchange* pDX) override {
        ScriptedDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_SECOND_EDIT, m_edit);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(LifecycleDialog, ScriptedDialog)
ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(Dialog, SeesWmCreateBeforeOnInitDialog) {
    LifecycleDialog dialog(IDD_EDITS, [](ScriptedDialog& d) { d.EndDialog(IDOK); });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_events, (std::vector<std::string>{"create", "init"}));
}

TEST(Dialog, RunsTwiceWithTheSameObjectAndBindsItsControlsAgain) {
    std::vector<HWND> boundEdits;
    LifecycleDialog dialog(IDD_EDITS);
    dialog.SetStep([&](ScriptedDialog& d) {
        auto& self = static_cast<LifecycleDialog&>(d);
        EXPECT_EQ(CWnd::FromHandlePermanent(d.Item(IDC_SECOND_EDIT)), &self.m_edit);
        boundEdits.push_back(self.m_edit.m_hWnd);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_edit.m_hWnd, nullptr) << "the control is let go with its window";
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(boundEdits.size(), 2u);
    EXPECT_NE(boundEdits[0], nullptr);
    EXPECT_NE(boundEdits[1], nullptr);
    EXPECT_EQ(dialog.m_events, (std::vector<std::string>{"create", "init", "create", "init"}));
}

// Binds a control id that the template does not have.
class MissingControlDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    CWnd m_missing;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, 4242, m_missing); }
};

class ThrowingInitDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    BOOL OnInitDialog() override { throw std::runtime_error("initialisation failed"); }
};

TEST(Dialog, FailsWithMinusOneWhenItCannotBeCreatedOrInitialised) {
    int steps = 0;
    auto step = [&](ScriptedDialog& d) {
        ++steps;
        d.EndDialog(IDOK);
    };
    ScriptedDialog missingTemplate(IDD_MISSING, step);
    EXPECT_EQ(missingTemplate.DoModal(), -1);
    ScriptedDialog missingClass(IDD_UNREGISTERED_CLASS, step);
    EXPECT_EQ(missingClass.DoModal(), -1);
    MissingControlDialog missingControl(IDD_EDITS, step);
    EXPECT_EQ(missingControl.DoModal(), -1);
    ThrowingInitDialog throwing(IDD_EDITS, step);
    EXPECT_EQ(throwing.DoModal(), -1);
    EXPECT_EQ(steps, 0) << "none of them reached its modal loop";
}

TEST(Dialog, UsesTheWindowClassItsTemplateNames) {
    WNDCLASSA wc{};
    ASSERT_TRUE(::GetClassInfoA(AfxGetInstanceHandle(), "#32770", &wc));
    wc.lpszClassName = TEST_DIALOG_CLASS;
    ASSERT_TRUE(AfxRegisterClass(&wc));
    std::string className;
    ScriptedDialog dialog(IDD_OWN_CLASS, [&](ScriptedDialog& d) {
        char name[64] = {};
        ::GetClassNameA(d.m_hWnd, name, sizeof name);
        className = name;
        d.PostClick(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(className, TEST_DIALOG_CLASS);
}

TEST(Dialog, WithoutParentIsOwnedByTheActiveDialog) {
    HWND innerOwner = reinterpret_cast<HWND>(-1);
    HWND outerWindow = nullptr;
    INT_PTR innerResult = 0;
    ScriptedDialog outer(IDD_EDITS, [&](ScriptedDialog& d) {
        outerWindow = d.m_hWnd;
        ::SetActiveWindow(d.m_hWnd);
        ScriptedDialog inner(IDD_OWN_CLASS, [&](ScriptedDialog& i) {
            innerOwner = ::GetWindow(i.m_hWnd, GW_OWNER);
            EXPECT_FALSE(::IsWindowEnabled(outerWindow)) << "the owner is disabled while modal";
            i.EndDialog(5);
        });
        innerResult = inner.DoModal();
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(innerResult, 5);
    EXPECT_EQ(innerOwner, outerWindow);
}

// Ends itself at its timer's first tick and runs another dialog from inside the handler,
// as the splash hands over to the console.
class HandOverDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    INT_PTR m_innerResult = 0;
    BOOL m_visibleDuringInner = TRUE;
    int m_ticks = 0;

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent) {
        if (nIDEvent != 2) {
            ScriptedDialog::OnTimer(nIDEvent);
            return;
        }
        ++m_ticks;
        EndDialog(1);
        KillTimer(2);
        ScriptedDialog inner(IDD_OWN_CLASS, [this](ScriptedDialog& i) {
            m_visibleDuringInner = IsWindowVisible();
            i.EndDialog(7);
        });
        m_innerResult = inner.DoModal();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HandOverDialog, ScriptedDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(Dialog, EndsAndRunsAnotherModalDialogFromItsTimerHandler) {
    HandOverDialog dialog(IDD_EDITS, [](ScriptedDialog& d) { d.SetTimer(2, 20); });
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_EQ(dialog.m_innerResult, 7);
    EXPECT_EQ(dialog.m_ticks, 1);
    EXPECT_FALSE(dialog.m_visibleDuringInner) << "EndDialog hides the dialog at once";
}

} // namespace
