// The program's own start-up installs the probe's error box. With this test program's import of
// ioctlsocket pointed at one that refuses the first probe socket's switch to non-blocking mode,
// the first scan, which the splash starts, shows the failure in a box captioned with the
// application's name, and the console opens only after the box has been closed.
#include <gtest/gtest.h>

#include <windows.h> // and with it winsock.h, for ioctlsocket's declaration

#include "app/ClumaDeckApp.h"
#include "app/app_identity.h"
#include "discovery/module_directory.h"
#include "discovery/subnet_prefix.h"
#include "resource.h"
#include "support/import_patch.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

// This test program is cluma_startup_probe_box_tests.exe: its application name drops the extension.
constexpr char kAppName[] = "cluma_startup_probe_box_tests";
constexpr int kMessageTextId = 0xFFFF; // a message box's static text

// One box, not one per probe thread: Wine 8 has been seen to corrupt its heap when sixteen
// threads open message boxes at once.
std::atomic<bool> refused{false};
using IoctlSocket = int(PASCAL*)(SOCKET, long, u_long*);
IoctlSocket systemIoctlSocket = nullptr; // the program's own import now leads to RefuseOnce

int PASCAL RefuseOnce(SOCKET socket, long command, u_long* argument) {
    sockaddr_in bound{};
    int length = sizeof bound;
    // A probe's socket is not bound yet when it is switched; the push listener's is.
    const bool probeSocket =
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&bound), &length) == SOCKET_ERROR;
    if (command == static_cast<long>(FIONBIO) && probeSocket && !refused.exchange(true)) {
        ::WSASetLastError(WSAEINVAL);
        return SOCKET_ERROR;
    }
    return systemIoctlSocket(socket, command, argument);
}

// What a presenter sees: boxes to close, one at a time, then the console, which they leave by
// its exit command. The local address file is removed at the first box, so that the console's
// own rescans probe nothing and show no box of their own.
struct Presenter {
    std::string file;
    int boxes = 0;
    std::string firstText;
    bool consoleWhileABoxWasUp = false;
    bool consoleSeen = false;

    void Watch() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            HWND console = ::FindWindowA(kConsoleWindowClass, nullptr);
            if (HWND box = ::FindWindowA("#32770", kAppName)) {
                consoleWhileABoxWasUp |= console != nullptr;
                if (boxes++ == 0) {
                    char text[256] = {};
                    ::GetWindowTextA(::GetDlgItem(box, kMessageTextId), text, sizeof text);
                    firstText = text;
                    std::filesystem::remove(file);
                }
                ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                while (::IsWindow(box) && std::chrono::steady_clock::now() < deadline) {
                    ::Sleep(10);
                }
            } else if (console != nullptr) {
                consoleSeen = true;
                ::PostMessageA(console, WM_COMMAND, MAKEWPARAM(IDC_EXIT, BN_CLICKED), 0);
                return;
            } else {
                ::Sleep(20);
            }
        }
    }
};

TEST(StartUp, TheFirstScanShowsABlockModeFailureInTheProgramsBox) {
    systemIoctlSocket = reinterpret_cast<IoctlSocket>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleA("ws2_32.dll"), "ioctlsocket")));
    ASSERT_NE(systemIoctlSocket, nullptr);
    ASSERT_TRUE(ReplaceImport("ws2_32.dll", "ioctlsocket", reinterpret_cast<void*>(&RefuseOnce)));
    Presenter presenter;
    presenter.file = PathBesideModule(kLocalAddressFileName);
    std::ofstream(presenter.file, std::ios::binary) << "127.0.0.1 ";

    std::thread watcher([&presenter] { presenter.Watch(); });
    const BOOL goOn = theApp.InitInstance();
    watcher.join();
    std::filesystem::remove(presenter.file);

    EXPECT_FALSE(goOn) << "the program ends";
    EXPECT_EQ(presenter.firstText, "socket setup block mode failed\n");
    EXPECT_EQ(presenter.boxes, 1);
    EXPECT_FALSE(presenter.consoleWhileABoxWasUp)
        << "the splash hands over when the scan has ended, and the scan waits for its boxes";
    EXPECT_TRUE(presenter.consoleSeen) << "no console within 60 s";
}

} // namespace
