// The application object and the start-up services: AfxWinMain, the application's name,
// window classes, sockets, the shell manager, and files.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "framework/AppName.h"
#include "framework/Framework.h"

namespace {

TEST(ApplicationName, IsTheFileNameWithoutItsExtension) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"C:\\Program Files\\ClumaDeck\\ClumaDeck.exe", "ClumaDeck"},
        {"C:\\a.b\\prog", "prog"},
        {"C:\\dir\\prog.tar.exe", "prog.tar"},
        {"ClumaDeck.exe", "ClumaDeck"},
        {"C:\\dir\\", ""},
        {"Z:/unix/style/tool.EXE", "tool"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AppNameFromModulePath(c.path), c.name) << c.path;
    }
    EXPECT_EQ(AppNameFromModulePath(RunningModulePath()), "cluma_framework_tests");
}

enum class InitOutcome { Fail, RunUntilQuit, Throw };

class TestApp : public CWinApp {
public:
    explicit TestApp(InitOutcome outcome, DWORD restartFlags = 0) : m_outcome(outcome) {
        m_dwRestartManagerSupportFlags = restartFlags;
    }
    int m_initCalls = 0;
    int m_exitCalls = 0;
    int m_helpCalls = 0;

    BOOL InitInstance() override {
        ++m_initCalls;
        CWinApp::InitInstance();
        SetRegistryKey("Local AppWizard-Generated Applications");
        switch (m_outcome) {
        case InitOutcome::Fail:
            return FALSE;
        case InitOutcome::RunUntilQuit:
            ::PostQuitMessage(7);
            return TRUE;
        case InitOutcome::Throw:
            throw std::runtime_error("start-up failed");
        }
        return FALSE;
    }
    int ExitInstance() override {
        ++m_exitCalls;
        return CWinApp::ExitInstance();
    }

protected:
    afx_msg void OnHelpCommand() { ++m_helpCalls; }
    DECLARE_MESSAGE_MAP()

private:
    InitOutcome m_outcome;
};

BEGIN_MESSAGE_MAP(TestApp, CWinApp)
ON_COMMAND(ID_HELP, &TestApp::OnHelpCommand)
END_MESSAGE_MAP()

char kCommandLine[] = "/example";

TEST(Application, InitInstanceFalseEndsThroughExitInstance) {
    TestApp app(InitOutcome::Fail, AFX_RESTART_MANAGER_SUPPORT_RESTART);
    ASSERT_EQ(AfxGetApp(), &app);
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    EXPECT_EQ(AfxWinMain(instance, nullptr, kCommandLine, SW_SHOWNORMAL), 0);
    EXPECT_EQ(app.m_initCalls, 1);
    EXPECT_EQ(app.m_exitCalls, 1);
    EXPECT_EQ(app.m_hInstance, instance);
    EXPECT_EQ(AfxGetInstanceHandle(), instance);
    EXPECT_EQ(AfxGetResourceHandle(), instance);
    EXPECT_STREQ(app.m_lpCmdLine, "/example");
    EXPECT_STREQ(app.m_pszAppName, "cluma_framework_tests");
    EXPECT_STREQ(AfxGetAppName(), "cluma_framework_tests");
    EXPECT_STREQ(app.m_pszRegistryKey, "Local AppWizard-Generated Applications");
    EXPECT_STREQ(app.m_pszProfileName, "cluma_framework_tests");
    EXPECT_TRUE(app.SupportsRestartManager());
    EXPECT_EQ(app.GetRestartRegistrationResult(), S_OK) << "registered for restart";
}

TEST(Application, WithoutRestartSupportDoesNotRegister) {
    TestApp app(InitOutcome::Fail);
    EXPECT_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, kCommandLine, SW_SHOW), 0);
    EXPECT_FALSE(app.SupportsRestartManager());
    EXPECT_EQ(app.GetRestartRegistrationResult(), S_FALSE);
}

TEST(Application, RunsItsMessageLoopUntilQuitAndAnswersTheQuitCode) {
    TestApp app(InitOutcome::RunUntilQuit);
    EXPECT_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, kCommandLine, SW_SHOW), 7);
    EXPECT_EQ(app.m_exitCalls, 1);
}

TEST(Application, AnExceptionFromStartUpEndsWithMinusOne) {
    TestApp app(InitOutcome::Throw);
    EXPECT_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, kCommandLine, SW_SHOW), -1);
}

TEST(Application, TheFirstObjectIsTheApplicationAndRoutesItsCommands) {
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, kCommandLine, SW_SHOW), -1)
        << "nothing to run without an application object";
    TestApp first(InitOutcome::Fail);
    {
        CWinApp second("second");
        EXPECT_EQ(AfxGetApp(), &first);
    }
    EXPECT_EQ(AfxGetApp(), &first);
    EXPECT_TRUE(first.OnCmdMsg(ID_HELP, 0));
    EXPECT_EQ(first.m_helpCalls, 1);
    CWinApp named("Named");
    EXPECT_STREQ(named.m_pszAppName, "Named");
}

TEST(WindowClasses, RegisterACopyOfTheDialogClassOnce) {
    WNDCLASSA wc{};
    ASSERT_TRUE(::GetClassInfoA(AfxGetInstanceHandle(), "#32770", &wc));
    wc.lpszClassName = "ClumaCopiedDialogClass";
    EXPECT_TRUE(AfxRegisterClass(&wc));
    EXPECT_TRUE(AfxRegisterClass(&wc)) << "an existing class counts as registered";
    WNDCLASSA copy{};
    ASSERT_TRUE(::GetClassInfoA(AfxGetInstanceHandle(), "ClumaCopiedDialogClass", &copy));
    EXPECT_EQ(copy.lpfnWndProc, wc.lpfnWndProc);
    EXPECT_EQ(copy.cbWndExtra, wc.cbWndExtra);
    EXPECT_FALSE(AfxRegisterClass(nullptr));
}

TEST(WindowClasses, SameArgumentsGiveTheSameClass) {
    HCURSOR cursor = ::LoadCursorA(nullptr, IDC_CROSS);
    LPCSTR plain = AfxRegisterWndClass(0, cursor);
    ASSERT_NE(plain, nullptr);
    EXPECT_STREQ(AfxRegisterWndClass(0, cursor), plain);
    LPCSTR doubleClicks = AfxRegisterWndClass(CS_DBLCLKS, cursor);
    ASSERT_NE(doubleClicks, nullptr);
    EXPECT_STRNE(doubleClicks, plain);

    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(WS_EX_TOPMOST | WS_EX_TRANSPARENT, plain, "board", WS_POPUP,
                             CRect(0, 100, 50, 150), nullptr, 0));
    EXPECT_EQ(::GetClassLongPtrA(wnd, GCL_STYLE), 0);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(::GetClassLongPtrA(wnd, GCLP_HCURSOR)), cursor);
    EXPECT_EQ(::GetClassLongPtrA(wnd, GCLP_HBRBACKGROUND), 0) << "no background brush";
    EXPECT_EQ(wnd.GetExStyle() & (WS_EX_TOPMOST | WS_EX_TRANSPARENT),
              static_cast<DWORD>(WS_EX_TOPMOST | WS_EX_TRANSPARENT));
    CRect rect;
    wnd.GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(0, 100, 50, 150));
}

TEST(Services, SocketsStartAtVersionOneOne) {
    WSADATA data{};
    ASSERT_TRUE(AfxSocketInit(&data));
    EXPECT_EQ(data.wVersion, MAKEWORD(1, 1));
    EXPECT_TRUE(AfxSocketInit()) << "a second call answers the first result";
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    EXPECT_NE(s, INVALID_SOCKET);
    ::closesocket(s);
}

TEST(Services, ShellManagerAndControlContainerAreRecorded) {
    EXPECT_EQ(AfxGetShellManager(), nullptr);
    {
        CShellManager manager;
        EXPECT_EQ(AfxGetShellManager(), &manager);
    }
    EXPECT_EQ(AfxGetShellManager(), nullptr);
    AfxEnableControlContainer();
    EXPECT_TRUE(AfxControlContainerEnabled());
}

class FileTest : public testing::Test {
protected:
    void SetUp() override {
        char dir[MAX_PATH] = {};
        ::GetTempPathA(sizeof dir, dir);
        path = std::string(dir) + "cluma_framework_file_test.txt";
        ::DeleteFileA(path.c_str());
    }
    void TearDown() override { ::DeleteFileA(path.c_str()); }
    std::string ReadAll() {
        CFile file;
        if (!file.Open(path.c_str(), CFile::modeRead)) {
            return "<missing>";
        }
        char buffer[64] = {};
        const UINT read = file.Read(buffer, sizeof buffer);
        return std::string(buffer, read);
    }
    std::string path;
};

TEST_F(FileTest, OpensOnlyAnExistingFileUnlessAskedToCreate) {
    CFile file;
    EXPECT_FALSE(file.Open(path.c_str(), CFile::modeRead));
    EXPECT_FALSE(file.Open(path.c_str(), CFile::modeWrite));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadAll(), "<missing>");
    EXPECT_FALSE(file.Open(nullptr, CFile::modeRead));
}

TEST_F(FileTest, WritesOverTheStartAndCutsToALength) {
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        EXPECT_TRUE(file.Write("192.168.100.200 ", 16));
    }
    EXPECT_EQ(ReadAll(), "192.168.100.200 ");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeWrite));
        EXPECT_TRUE(file.Write("10.0.0.5 ", 9));
        EXPECT_EQ(file.GetLength(), 16u) << "writing alone keeps the rest";
        EXPECT_TRUE(file.SetLength(9));
    }
    EXPECT_EQ(ReadAll(), "10.0.0.5 ");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    }
    EXPECT_EQ(ReadAll(), "") << "create empties an existing file";
}

TEST_F(FileTest, OpensExclusivelyUnlessSharingIsAsked) {
    CFile first;
    ASSERT_TRUE(first.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    CFile second;
    EXPECT_FALSE(second.Open(path.c_str(), CFile::modeRead));
    first.Close();
    ASSERT_TRUE(first.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone));
    EXPECT_TRUE(second.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone));
    char byte = 0;
    EXPECT_EQ(second.Read(&byte, 1), 0u) << "nothing to read in an empty file";
    EXPECT_FALSE(second.Write("x", 1)) << "opened for reading only";
}

} // namespace
