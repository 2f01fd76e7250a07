// The real korvidVi.exe under Wine: its title is the PC's name and one space before anything
// has connected, a refused connection is said in its window, and WM_CLOSE ends the process at
// once, also while a server has accepted the connection and says nothing.
#include "platform/owned_handle.h"

#include "platform/net.h"
#include "viewer/viewer_resource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

namespace {

constexpr const char* kAddress = "127.0.0.5";
constexpr const char* kName = "Room-PC 7";
constexpr int kBoundMs = 30000;

// The PC's agent: every connection gets the name, then the end of the stream.
class NameAgent {
public:
    NameAgent() {
        int error = 0;
        listener_ = platform::Listen(kAddress, 12357, 8, error);
        thread_ = std::thread([this] {
            while (!stop_) {
                if (platform::WaitReadable(listener_, 50) != platform::Wait::ready) {
                    continue;
                }
                std::string peer;
                platform::Socket asker = platform::Accept(listener_, peer);
                platform::Send(asker, kName, static_cast<int>(std::strlen(kName)));
                platform::ShutdownSend(asker);
            }
        });
    }
    ~NameAgent() {
        stop_ = true;
        thread_.join();
    }
    bool Ok() const { return listener_.Valid(); }

private:
    platform::Socket listener_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

struct Found {
    DWORD process;
    HWND window;
};

HWND FindViewerWindow(DWORD process) {
    Found found{process, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* f = reinterpret_cast<Found*>(param);
            DWORD owner = 0;
            char className[260] = {};
            ::GetWindowThreadProcessId(window, &owner);
            ::GetClassNameA(window, className, sizeof className);
            if (owner == f->process && std::string(className) == "VNCMDI_Window") {
                f->window = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.window;
}

std::string TextOf(HWND window) {
    char text[1024] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// The viewer as the build leaves it, found from this test program's folder.
std::string ViewerPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + KORVIDVI_FROM_TESTS;
}

template <typename Condition> bool WaitUntil(Condition condition) {
    for (int waited = 0; waited < kBoundMs; waited += 20) {
        if (condition()) {
            return true;
        }
        ::Sleep(20);
    }
    return condition();
}

TEST(ViewerWindow, TitledByTheAgentSaysARefusalAndClosesAtOnceWhileConnecting) {
    ASSERT_TRUE(platform::StartNetworking(2, 2));
    NameAgent agent;
    ASSERT_TRUE(agent.Ok());
    std::string commandLine =
        std::string("korvidVi.exe ") + kAddress + " /password fernway_417 /encoding ultra2";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(::CreateProcessA(ViewerPath().c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                 0, nullptr, nullptr, &startup, &started));
    OwnedHandle process(started.hProcess);
    OwnedHandle thread(started.hThread);

    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = FindViewerWindow(started.dwProcessId)); }));
    EXPECT_EQ(TextOf(window), "Room-PC 7 "); // at first sight: nothing has connected
    HWND status = ::GetDlgItem(window, IDC_STATUS_TEXT);
    EXPECT_TRUE(WaitUntil([&] {
        return TextOf(status).find("127.0.0.5 refused the connection") == 0;
    })) << TextOf(status);
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(window, IDC_TRY_AGAIN)));

    // A server that accepts and never speaks: the viewer waits in the handshake.
    int error = 0;
    platform::Socket silent = platform::Listen(kAddress, 5900, 4, error);
    ASSERT_TRUE(silent.Valid());
    ::PostMessageA(window, WM_SYSCOMMAND, IDM_TRY_AGAIN, 0);
    ASSERT_EQ(platform::WaitReadable(silent, kBoundMs), platform::Wait::ready);
    std::string peer;
    platform::Socket accepted = platform::Accept(silent, peer);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(status) == "Connecting to 127.0.0.5..."; }));

    ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(process.Get(), 5000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
    if (::WaitForSingleObject(process.Get(), 0) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), 1);
    }
    platform::StopNetworking();
}

} // namespace
