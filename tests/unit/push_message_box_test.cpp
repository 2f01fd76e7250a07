// The presenter's question as Windows shows it: a message box of the listener's thread, with no
// owner window, caption "prompt", Yes and No. Runs under Wine only.
#if defined(_WIN32)

#include "push/push_message_box_prompt.h"

#include "push_test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBound = 10000;

HWND FindPromptBox() {
    HWND box = nullptr;
    WaitFor(
        [&] {
            box = ::FindWindowA("#32770", "prompt");
            return box != nullptr && ::IsWindowVisible(box);
        },
        kBound);
    return box;
}

struct BoxContents {
    std::vector<std::string> texts; // the visible static controls' texts
    int icons = 0;                  // visible static controls that show an icon
};

BOOL CALLBACK CollectChild(HWND child, LPARAM parameter) {
    auto* contents = reinterpret_cast<BoxContents*>(parameter);
    char className[32] = {};
    ::GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0 || !::IsWindowVisible(child)) {
        return TRUE;
    }
    if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        contents->icons += ::SendMessageA(child, STM_GETICON, 0, 0) != 0;
        return TRUE;
    }
    char text[512] = {};
    if (::GetWindowTextA(child, text, sizeof text) > 0) {
        contents->texts.emplace_back(text);
    }
    return TRUE;
}

bool VisibleButton(HWND box, int id) {
    HWND button = ::GetDlgItem(box, id);
    return button != nullptr && ::IsWindowVisible(button);
}

void Click(HWND box, int id) {
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
}

// Answers No to a question left open by a failed check, so that the listener can stop.
struct AnswerLeftoverQuestion {
    ~AnswerLeftoverQuestion() {
        if (HWND box = ::FindWindowA("#32770", "prompt")) {
            Click(box, IDNO);
        }
    }
};

TEST(PushMessageBox, YesStartsTheViewerOnTheNodesAddressNoStartsNothing) {
    ASSERT_TRUE(platform::StartNetworking(2, 2));
    NodeRegistry registry;
    registry.AppendIfNew(MakeRecord("127.0.0.61", "Lab PC 61"));
    MessageBoxPushPrompt prompt;
    RecordingLauncher launched;
    PushListenerSettings settings;
    settings.registry = &registry;
    settings.prompt = &prompt;
    settings.launchViewer = launched.Launcher();
    auto listener = std::make_unique<ListenerUnderTest>(settings);
    ASSERT_TRUE(listener->Ok());
    AnswerLeftoverQuestion answerLeftover;

    Peer first(listener->Port(), "127.0.0.61");
    ASSERT_TRUE(first.Send("please look"));
    HWND box = FindPromptBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(::GetWindow(box, GW_OWNER), nullptr);
    BoxContents contents;
    ::EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(&contents));
    EXPECT_EQ(contents.texts, std::vector<std::string>{Question("Lab PC 61", "please look")});
    EXPECT_EQ(contents.icons, 0);
    EXPECT_TRUE(VisibleButton(box, IDYES));
    EXPECT_TRUE(VisibleButton(box, IDNO));
    EXPECT_FALSE(VisibleButton(box, IDOK));
    EXPECT_FALSE(VisibleButton(box, IDCANCEL));
    Click(box, IDYES);
    EXPECT_TRUE(WaitFor([&] { return launched.Addresses().size() == 1; }, kBound));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }, kBound));

    Peer second(listener->Port());
    ASSERT_TRUE(second.Send("again"));
    box = FindPromptBox();
    ASSERT_NE(box, nullptr);
    Click(box, IDNO);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }, kBound));
    listener->Stop();
    EXPECT_EQ(launched.Addresses(), std::vector<std::string>{"127.0.0.61"});
    platform::StopNetworking();
}

} // namespace

#endif
