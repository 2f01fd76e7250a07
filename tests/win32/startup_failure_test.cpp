// The program's own start-up when Windows Sockets cannot start: ClumaDeckApp::InitInstance says
// so in a message box that carries the application's name, and ends the program. The test
// program's import of WSAStartup is pointed at one that refuses, so the program's own path runs.
#include <gtest/gtest.h>

#include <windows.h> // and with it winsock.h, for WSAStartup's declaration

#include "app/ClumaDeckApp.h"
#include "support/import_patch.h"
#include "support/message_box_watcher.h"

namespace {

// This test program is cluma_startup_failure_tests.exe: its application name drops the extension.
constexpr char kAppName[] = "cluma_startup_failure_tests";

int PASCAL RefusingWsaStartup(WORD, LPWSADATA) {
    return WSASYSNOTREADY;
}

TEST(StartUp, WithoutSocketsTheProgramSaysSoAndEnds) {
    ASSERT_TRUE(
        ReplaceImport("ws2_32.dll", "WSAStartup", reinterpret_cast<void*>(&RefusingWsaStartup)));
    MessageBoxWatcher watcher(kAppName, IDOK);
    const BOOL goOn = theApp.InitInstance();
    watcher.Join();
    EXPECT_FALSE(goOn) << "the program ends";
    ASSERT_TRUE(watcher.Seen()) << "no box titled " << kAppName;
    EXPECT_EQ(watcher.Text(), "Sockets Could Not Be Initialized");
    EXPECT_EQ(watcher.Icon(), ::LoadIconA(nullptr, IDI_EXCLAMATION)) << "an OK box's icon";
}

} // namespace
