// Message maps on real windows: dispatch order, command and notification matching, default
// processing, subclassing, exceptions in handlers, and the life of window objects.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Framework.h"

namespace {

constexpr UINT kProbe = WM_APP + 1;
constexpr UINT kBaseOnly = WM_APP + 2;
constexpr UINT kUnmapped = WM_APP + 3;
constexpr UINT kThrow = WM_APP + 4;
constexpr int kChildId = 400;

// Every window of these tests: a hidden popup of a framework window class.
BOOL CreateHidden(CWnd& wnd) {
    return wnd.CreateEx(0, AfxRegisterWndClass(0), "probe", WS_POPUP, 0, 0, 50, 50, nullptr,
                        nullptr);
}

class BaseProbe : public CWnd {
public:
    std::vector<std::string> m_calls;

protected:
    afx_msg LRESULT OnProbeInBase(WPARAM, LPARAM) { return Record("base:probe", 10); }
    afx_msg LRESULT OnBaseOnly(WPARAM, LPARAM) { return Record("base:only", 20); }
    afx_msg void OnCommandInBase() { Record("base:command7", 0); }
    LRESULT Record(const char* call, LRESULT result) {
        m_calls.emplace_back(call);
        return result;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseProbe, CWnd)
ON_MESSAGE(kProbe, &BaseProbe::OnProbeInBase)
ON_MESSAGE(kBaseOnly, &BaseProbe::OnBaseOnly)
ON_COMMAND(7, &BaseProbe::OnCommandInBase)
ON_COMMAND(205, &BaseProbe::OnCommandInBase)
END_MESSAGE_MAP()

class DerivedProbe : public BaseProbe {
public:
    UINT m_lastCtlColor = 0;

protected:
    afx_msg LRESULT OnProbeFirst(WPARAM, LPARAM) { return Record("derived:first", 1); }
    afx_msg LRESULT OnProbeSecond(WPARAM, LPARAM) { return Record("derived:second", 2); }
    afx_msg void OnRange(UINT id) { m_calls.push_back("range:" + std::to_string(id)); }
    afx_msg void OnCommand205() { Record("command205", 0); }
    afx_msg void OnClicked300() { Record("clicked300", 0); }
    afx_msg void OnChanged300() { Record("changed300", 0); }
    afx_msg void OnChildDoubleClick(NMHDR* header, LRESULT* result) {
        Record(header->code == static_cast<UINT>(NM_DBLCLK) ? "dblclk400" : "?", 0);
        *result = 77;
    }
    afx_msg void OnChildClick(NMHDR*, LRESULT*) { Record("click400", 0); }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        m_lastCtlColor = nCtlColor;
        Record(pDC != nullptr && pDC->m_hDC != nullptr && pWnd != nullptr ? "ctlcolor" : "?", 0);
        return static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    }
    afx_msg LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedProbe, BaseProbe)
ON_MESSAGE(kProbe, &DerivedProbe::OnProbeFirst)
ON_MESSAGE(kProbe, &DerivedProbe::OnProbeSecond)
ON_COMMAND_RANGE(200, 210, &DerivedProbe::OnRange)
ON_COMMAND(205, &DerivedProbe::OnCommand205)
ON_BN_CLICKED(300, &DerivedProbe::OnClicked300)
ON_EN_CHANGE(300, &DerivedProbe::OnChanged300)
ON_NOTIFY(NM_DBLCLK, kChildId, &DerivedProbe::OnChildDoubleClick)
ON_NOTIFY(NM_CLICK, kChildId, &DerivedProbe::OnChildClick)
ON_WM_CTLCOLOR()
ON_MESSAGE(kThrow, &DerivedProbe::OnThrow)
END_MESSAGE_MAP()

// No map of its own: the derived class's map serves it.
class UnmappedProbe : public DerivedProbe {};

class MessageMapTest : public testing::Test {
public:
    LRESULT Send(UINT message) { return probe.SendMessage(message); }
    LRESULT Command(WORD id, WORD code, HWND from) {
        return probe.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(from));
    }
    LRESULT Notify(HWND from, int code) {
        NMHDR header{from, static_cast<UINT_PTR>(kChildId), static_cast<UINT>(code)};
        return probe.SendMessage(WM_NOTIFY, kChildId, reinterpret_cast<LPARAM>(&header));
    }

protected:
    void SetUp() override {
        ASSERT_TRUE(CreateHidden(probe));
        child = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, probe.m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kChildId)), nullptr,
                                  nullptr);
        ASSERT_NE(child, nullptr);
    }
    UnmappedProbe probe;
    HWND child = nullptr;
};

struct DispatchCase {
    const char* name;
    LRESULT (*send)(MessageMapTest& test, HWND child);
    LRESULT expectedResult;
    std::vector<std::string> expectedCalls;
};

const DispatchCase kDispatchCases[] = {
    {"OwnMapFirstEntryWins",
     [](MessageMapTest& t, HWND) { return t.Send(kProbe); },
     1,
     {"derived:first"}},
    {"BaseMapWhenOwnHasNone",
     [](MessageMapTest& t, HWND) { return t.Send(kBaseOnly); },
     20,
     {"base:only"}},
    {"UnmatchedGetsDefaultProcessing",
     [](MessageMapTest& t, HWND) { return t.Send(kUnmapped); },
     0,
     {}},
    {"CommandRangeBeforeLaterSingleEntry",
     [](MessageMapTest& t, HWND) { return t.Command(205, 0, nullptr); },
     1,
     {"range:205"}},
    {"AcceleratorCommandCountsAsCommand",
     [](MessageMapTest& t, HWND) { return t.Command(203, 1, nullptr); },
     1,
     {"range:203"}},
    {"CommandOnlyInBaseMap",
     [](MessageMapTest& t, HWND) { return t.Command(7, 0, nullptr); },
     1,
     {"base:command7"}},
    {"ButtonClickMatchesItsCode",
     [](MessageMapTest& t, HWND c) { return t.Command(300, BN_CLICKED, c); },
     1,
     {"clicked300"}},
    {"EditChangeMatchesItsCode",
     [](MessageMapTest& t, HWND c) { return t.Command(300, EN_CHANGE, c); },
     1,
     {"changed300"}},
    {"OtherNotificationOfTheSameControlIsNotHandled",
     [](MessageMapTest& t, HWND c) { return t.Command(300, EN_KILLFOCUS, c); },
     0,
     {}},
    {"NotifyDoubleClickWithItsResult",
     [](MessageMapTest& t, HWND c) { return t.Notify(c, NM_DBLCLK); },
     77,
     {"dblclk400"}},
    {"NotifyClickResultStartsAtZero",
     [](MessageMapTest& t, HWND c) { return t.Notify(c, NM_CLICK); },
     0,
     {"click400"}},
    {"NotifyWithoutSenderIsNotDispatched",
     [](MessageMapTest& t, HWND) { return t.Notify(nullptr, NM_CLICK); },
     0,
     {}},
    {"ThrowingHandlerAnswersZero", [](MessageMapTest& t, HWND) { return t.Send(kThrow); }, 0, {}},
};

class Dispatch : public MessageMapTest, public testing::WithParamInterface<DispatchCase> {};

TEST_P(Dispatch, GoesToTheFirstMatchingEntry) {
    const DispatchCase& c = GetParam();
    EXPECT_EQ(c.send(*this, child), c.expectedResult);
    EXPECT_EQ(probe.m_calls, c.expectedCalls);
    EXPECT_TRUE(::IsWindow(probe.m_hWnd));
}

INSTANTIATE_TEST_SUITE_P(MessageMap, Dispatch, testing::ValuesIn(kDispatchCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MessageMapTest, ControlColourMessagesShareOneEntryWithTheirKind) {
    const struct {
        UINT message;
        UINT kind;
    } kinds[] = {{WM_CTLCOLORSTATIC, CTLCOLOR_STATIC},
                 {WM_CTLCOLOREDIT, CTLCOLOR_EDIT},
                 {WM_CTLCOLORBTN, CTLCOLOR_BTN},
                 {WM_CTLCOLORDLG, CTLCOLOR_DLG}};
    HDC dc = ::GetDC(probe.m_hWnd);
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.message);
        const LRESULT brush = probe.SendMessage(k.message, reinterpret_cast<WPARAM>(dc),
                                                reinterpret_cast<LPARAM>(child));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), ::GetStockObject(BLACK_BRUSH));
        EXPECT_EQ(probe.m_lastCtlColor, k.kind);
    }
    ::ReleaseDC(probe.m_hWnd, dc);
    EXPECT_EQ(probe.m_calls.size(), 4u);
}

TEST(MessageMap, FindsEntriesInTableOrderThroughTheBaseMaps) {
    // The table search itself, without windows: own entries first, in order, then the base's.
    struct Lookup : DerivedProbe {
        static const AFX_MSGMAP* Map() { return GetThisMessageMap(); }
        static const AFX_MSGMAP* BaseMap() { return BaseProbe::GetThisMessageMap(); }
    };
    const AFX_MSGMAP* map = Lookup::Map();
    const AFX_MSGMAP_ENTRY* probeEntry = AfxFindMessageEntry(map, kProbe, 0, 0);
    ASSERT_NE(probeEntry, nullptr);
    EXPECT_EQ(probeEntry, &map->lpEntries[0]);
    const AFX_MSGMAP_ENTRY* baseOnly = AfxFindMessageEntry(map, kBaseOnly, 0, 0);
    ASSERT_NE(baseOnly, nullptr);
    EXPECT_EQ(baseOnly, &Lookup::BaseMap()->lpEntries[1]);
    EXPECT_EQ(AfxFindMessageEntry(map, WM_COMMAND, 0, 211), nullptr) << "outside the range";
    EXPECT_EQ(AfxFindMessageEntry(map, WM_COMMAND, EN_CHANGE, 301), nullptr);
    EXPECT_EQ(AfxFindMessageEntry(map, kUnmapped, 0, 0), nullptr);
}

// Records how the ON_WM_* entries unpack their messages' parameters.
class UnpackingWnd : public CWnd {
public:
    std::string m_last;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) {
        m_last = "down " + std::to_string(nFlags) + " " + Point(point);
    }
    afx_msg void OnMouseMove(UINT nFlags, CPoint point) {
        m_last = "move " + std::to_string(nFlags) + " " + Point(point);
    }
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
        m_last = "char " + std::to_string(nChar) + " " + std::to_string(nRepCnt) + " " +
                 std::to_string(nFlags);
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { m_last = "timer " + std::to_string(nIDEvent); }
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
        m_last = "activate " + std::to_string(nState) + " " + Other(pWndOther) + " " +
                 std::to_string(bMinimized);
    }
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
        m_last = "cursor " + Other(pWnd) + " " + std::to_string(nHitTest) + " " +
                 std::to_string(message);
        return TRUE;
    }
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct) {
        m_last = "copydata " + Other(pWnd) + " " + std::to_string(pCopyDataStruct->cbData);
        return TRUE;
    }
    afx_msg HCURSOR OnQueryDragIcon() {
        m_last = "dragicon";
        return ::LoadCursorA(nullptr, IDC_ARROW);
    }
    DECLARE_MESSAGE_MAP()

private:
    static std::string Point(CPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    std::string Other(CWnd* pWnd) const {
        if (pWnd == nullptr) {
            return "none";
        }
        return pWnd->m_hWnd == ::GetDesktopWindow() ? "desktop" : "other";
    }
};

BEGIN_MESSAGE_MAP(UnpackingWnd, CWnd)
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_CHAR()
ON_WM_TIMER()
ON_WM_ACTIVATE()
ON_WM_SETCURSOR()
ON_WM_COPYDATA()
ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

TEST(MessageMap, WindowMessageEntriesUnpackTheirParameters) {
    UnpackingWnd wnd;
    ASSERT_TRUE(CreateHidden(wnd));
    const LPARAM desktop = reinterpret_cast<LPARAM>(::GetDesktopWindow());
    COPYDATASTRUCT data{1, 5, const_cast<char*>("hello")};
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        const char* seen;
    } cases[] = {
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 7), 0, "down 1 -3,7"},
        {WM_MOUSEMOVE, 0, MAKELPARAM(640, -20), 0, "move 0 640,-20"},
        {WM_CHAR, 'A', MAKELPARAM(2, 0x1E), 0, "char 65 2 30"},
        {WM_TIMER, 2, 0, 0, "timer 2"},
        {WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 1), desktop, 0, "activate 2 desktop 1"},
        {WM_ACTIVATE, WA_INACTIVE, 0, 0, "activate 0 none 0"},
        {WM_SETCURSOR, static_cast<WPARAM>(desktop), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), TRUE,
         "cursor desktop 1 512"},
        {WM_COPYDATA, static_cast<WPARAM>(desktop), reinterpret_cast<LPARAM>(&data), TRUE,
         "copydata desktop 5"},
    };
    for (const auto& c : cases) {
        wnd.m_last.clear();
        EXPECT_EQ(wnd.SendMessage(c.message, c.wParam, c.lParam), c.result) << c.seen;
        EXPECT_EQ(wnd.m_last, c.seen);
    }
    EXPECT_EQ(reinterpret_cast<HCURSOR>(wnd.SendMessage(WM_QUERYDRAGICON)),
              ::LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(wnd.m_last, "dragicon");
}

// A window procedure that records what reaches it, standing for a control's own procedure.
std::vector<MSG>& Reached() {
    static std::vector<MSG> reached;
    return reached;
}

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER || message == WM_CHAR || message == WM_LBUTTONDOWN ||
        message == WM_LBUTTONDBLCLK || message == WM_WINDOWPOSCHANGED) {
        MSG msg{hWnd, message, wParam, lParam, 0, {0, 0}};
        if (message == WM_WINDOWPOSCHANGED) {
            msg.wParam = reinterpret_cast<WINDOWPOS*>(lParam)->flags;
        }
        Reached().push_back(msg);
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND CreateRecordingWindow() {
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "ClumaRecordingWindow";
        return ::RegisterClassA(&wc);
    }();
    EXPECT_NE(atom, 0);
    return ::CreateWindowExA(0, "ClumaRecordingWindow", "", WS_POPUP, 0, 0, 40, 40, nullptr,
                             nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

// Changes what it passes on: flags added before default processing, double clicks passed on
// as presses (as an image button does), characters passed on unchanged.
class PassingOnWnd : public CWnd {
public:
    int m_chars = 0;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_LBUTTONDBLCLK) {
            message = WM_LBUTTONDOWN;
        }
        return CWnd::DefWindowProc(message, wParam, lParam);
    }

protected:
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos) {
        lpwndpos->flags |= SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER;
        CWnd::OnWindowPosChanged(lpwndpos);
    }
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
        ++m_chars;
        CWnd::OnChar(nChar, nRepCnt, nFlags);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PassingOnWnd, CWnd)
ON_WM_WINDOWPOSCHANGED()
ON_WM_CHAR()
END_MESSAGE_MAP()

TEST(MessageMap, DefaultProcessingGetsTheMessageAsTheHandlerLeftIt) {
    HWND hWnd = CreateRecordingWindow();
    ASSERT_NE(hWnd, nullptr);
    const LONG_PTR original = ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    {
        PassingOnWnd wnd;
        ASSERT_TRUE(wnd.SubclassWindow(hWnd));
        EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
        Reached().clear();
        ::SendMessageA(hWnd, WM_CHAR, 'k', 0x00010001);
        ::SetWindowPos(hWnd, nullptr, 5, 5, 60, 60, SWP_NOACTIVATE);
        ::SendMessageA(hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 4));
        ASSERT_EQ(Reached().size(), 3u);
        EXPECT_EQ(Reached()[0].message, static_cast<UINT>(WM_CHAR));
        EXPECT_EQ(Reached()[0].wParam, static_cast<WPARAM>('k'));
        EXPECT_EQ(Reached()[0].lParam, 0x00010001);
        EXPECT_EQ(Reached()[1].message, static_cast<UINT>(WM_WINDOWPOSCHANGED));
        EXPECT_EQ(Reached()[1].wParam & 0x0206, 0x0206u);
        EXPECT_EQ(Reached()[2].message, static_cast<UINT>(WM_LBUTTONDOWN));
        EXPECT_EQ(Reached()[2].lParam, MAKELPARAM(3, 4));
        EXPECT_EQ(wnd.m_chars, 1);
    }
    // The object ended first: the window lives on with its own procedure again.
    EXPECT_TRUE(::IsWindow(hWnd));
    EXPECT_EQ(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC), original);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    Reached().clear();
    ::SendMessageA(hWnd, WM_LBUTTONDBLCLK, 0, 0);
    ASSERT_EQ(Reached().size(), 1u);
    EXPECT_EQ(Reached()[0].message, static_cast<UINT>(WM_LBUTTONDBLCLK));
    ::DestroyWindow(hWnd);
}

class FailingCreateWnd : public CWnd {
public:
    int m_postNcDestroy = 0;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA) { throw std::bad_alloc(); }
    void PostNcDestroy() override { ++m_postNcDestroy; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FailingCreateWnd, CWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(MessageMap, AnExceptionInOnCreateFailsTheCreation) {
    FailingCreateWnd wnd;
    EXPECT_FALSE(CreateHidden(wnd));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(wnd.m_postNcDestroy, 1);
}

// An object that lives on the heap and ends with its window.
class SelfDeletingWnd : public CWnd {
public:
    explicit SelfDeletingWnd(bool& deleted) : m_deleted(deleted) {}
    ~SelfDeletingWnd() override { m_deleted = true; }

protected:
    void PostNcDestroy() override { delete this; }

private:
    bool& m_deleted;
};

TEST(WindowObject, EndsWithItsWindowOrDestroysTheWindowItCreated) {
    bool deleted = false;
    auto* selfDeleting = new SelfDeletingWnd(deleted);
    ASSERT_TRUE(CreateHidden(*selfDeleting));
    HWND first = selfDeleting->m_hWnd;
    ::DestroyWindow(first);
    EXPECT_TRUE(deleted);

    HWND second = nullptr;
    {
        CWnd scoped;
        ASSERT_TRUE(CreateHidden(scoped));
        second = scoped.m_hWnd;
        EXPECT_TRUE(::IsWindow(second));
    }
    EXPECT_FALSE(::IsWindow(second));
}

TEST(WindowObject, ViewsOfOtherWindowsAreKeptAndNeverOwnThem) {
    HWND desktop = ::GetDesktopWindow();
    EXPECT_EQ(CWnd::FromHandlePermanent(desktop), nullptr);
    CWnd* view = CWnd::FromHandle(desktop);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->m_hWnd, desktop);
    EXPECT_EQ(CWnd::FromHandle(desktop), view) << "the same view on every call";
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);

    HWND hWnd = CreateRecordingWindow();
    {
        CWnd attached;
        EXPECT_TRUE(attached.Attach(hWnd));
        EXPECT_FALSE(attached.Attach(desktop)) << "one window per object";
        EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr) << "a view does not take messages";
    }
    EXPECT_TRUE(::IsWindow(hWnd));
    CWnd first;
    CWnd second;
    EXPECT_TRUE(first.SubclassWindow(hWnd));
    EXPECT_FALSE(second.SubclassWindow(hWnd)) << "a window joins one object only";
    EXPECT_EQ(first.UnsubclassWindow(), hWnd);
    ::DestroyWindow(hWnd);
}

// Commands routed to an object without a window, as the application's help command.
class CommandTarget : public CCmdTarget {
public:
    int m_help = 0;

protected:
    afx_msg void OnHelp() { ++m_help; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandTarget, CCmdTarget)
ON_COMMAND(ID_HELP, &CommandTarget::OnHelp)
END_MESSAGE_MAP()

TEST(MessageMap, RoutesCommandsToObjectsWithoutWindows) {
    CommandTarget target;
    EXPECT_TRUE(target.OnCmdMsg(ID_HELP, 0));
    EXPECT_FALSE(target.OnCmdMsg(ID_HELP + 1, 0));
    EXPECT_FALSE(target.OnCmdMsg(ID_HELP, EN_CHANGE));
    EXPECT_EQ(target.m_help, 1);
}

} // namespace
