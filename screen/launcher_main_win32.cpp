// cluma-screen-launcher.exe: the service ClumaDeckScreen. It runs as LocalSystem in session 0,
// which has no view of any user's desktop, so it starts cluma-screen.exe (beside itself) as the
// user logged on at the console, on that user's desktop; follows log-on, log-off and switches
// of the console's session; and starts the server again when it ends.
// `cluma-screen-launcher service install|uninstall` installs or removes the service by hand.
#include "agent/service_control_win32.h"
#include "agent/state_folder_win32.h"
#include "platform/module_path.h"
#include "platform/owned_handle.h"
#include "screen/session_process_win32.h"

#include <atomic>
#include <iostream>
#include <sstream>
#include <string>

#include <windows.h>

namespace {

constexpr const char* kName = "ClumaDeckScreen";
constexpr const char* kDisplayName = "ClumaDeck screen server";
// A server that ends is started again this much later: soon enough for the console's next
// look, and no faster than a program that cannot start at all should be retried.
constexpr DWORD kRestartDelayMs = 2000;
// While nobody is logged on, the console's session is looked at again this often (a log-on
// also wakes the launcher at once).
constexpr DWORD kNobodyPollMs = 5000;
constexpr LONGLONG kLogLimitBytes = 256 * 1024;

ServiceDefinition Definition() {
    return {"cluma-screen-launcher",
            "the agent and its screen server",
            kName,
            kDisplayName,
            "Starts the ClumaDeck screen server in the session of the user logged on at this "
            "computer, so that the presenter's console can watch and operate its screen.",
            nullptr, // LocalSystem: only it may start a program as the logged-on user
            ""};
}

std::string Folder() {
    std::string program = platform::ModuleFilePath();
    return program.substr(0, program.find_last_of('\\'));
}

// The screen server's log, %ProgramData%\ClumaDeck\screen-log.txt: the launcher's lines and the
// server's standard output. Kept under its limit by moving it to the ".old" file at each start.
OwnedHandle OpenLog() {
    std::string error;
    PrepareStateFolder(StateFolderClaim::whenOthersCanChange, error);
    std::string path = DefaultStateFolder() + "\\screen-log.txt";
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
        ((static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) > kLogLimitBytes) {
        ::MoveFileExA(path.c_str(), (path + ".old").c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return OwnedHandle(::CreateFileA(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     &inherit, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void Log(HANDLE log, const std::string& line) {
    std::string text = "cluma-screen-launcher: " + line + "\r\n";
    DWORD written = 0;
    ::WriteFile(log, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

SERVICE_STATUS_HANDLE g_status = nullptr;
OwnedHandle g_stop;          // set when the service is asked to stop
OwnedHandle g_sessionChange; // set at log-on, log-off and console switches
std::atomic<DWORD> g_checkPoint{0};

void Report(DWORD state, DWORD exitCode = NO_ERROR) {
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted =
        state == SERVICE_RUNNING
            ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN | SERVICE_ACCEPT_SESSIONCHANGE
            : 0;
    status.dwWin32ExitCode = exitCode;
    bool pending = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING;
    status.dwCheckPoint = pending ? ++g_checkPoint : 0;
    status.dwWaitHint = pending ? 3000 : 0;
    ::SetServiceStatus(g_status, &status);
}

DWORD WINAPI OnControl(DWORD control, DWORD, void*, void*) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        Report(SERVICE_STOP_PENDING);
        ::SetEvent(g_stop.Get());
        return NO_ERROR;
    case SERVICE_CONTROL_SESSIONCHANGE:
        ::SetEvent(g_sessionChange.Get());
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

std::string ServerCommand(HANDLE log) {
    std::ostringstream settingsLog;
    std::uint16_t port = ReadScreenPort(settingsLog);
    if (!settingsLog.str().empty()) {
        Log(log, settingsLog.str().substr(0, settingsLog.str().find('\n')));
    }
    std::string command = "\"" + Folder() + "\\cluma-screen.exe\"";
    return port != 0 ? command + " --port " + std::to_string(port) : command;
}

// Keeps one screen server running in the console's session until the service is stopped.
void KeepServerRunning(HANDLE log) {
    OwnedHandle server;
    DWORD serverSession = kNoSession;
    std::string lastError; // said once, not at every retry
    while (true) {
        DWORD session = ActiveConsoleSession();
        if (server && session != serverSession) {
            Log(log, "the console's session changed: moving the screen server there");
            ::TerminateProcess(server.Get(), 0);
            ::WaitForSingleObject(server.Get(), 5000);
            server.Close();
        }
        if (!server) {
            std::string error;
            server = StartInSession(session, ServerCommand(log), Folder(), log, error);
            serverSession = session;
            if (server) {
                Log(log, "started the screen server in session " + std::to_string(session));
                lastError.clear();
            } else if (error != lastError) {
                Log(log, error);
                lastError = error;
            }
        }
        HANDLE waits[3] = {g_stop.Get(), g_sessionChange.Get(), server.Get()};
        DWORD woke = ::WaitForMultipleObjects(server ? 3 : 2, waits, FALSE,
                                              server ? INFINITE : kNobodyPollMs);
        if (woke == WAIT_OBJECT_0) {
            break;
        }
        if (woke == WAIT_OBJECT_0 + 2) {
            DWORD code = 0;
            ::GetExitCodeProcess(server.Get(), &code);
            server.Close();
            Log(log,
                "the screen server ended (code " + std::to_string(code) + "); starting it again");
            if (::WaitForSingleObject(g_stop.Get(), kRestartDelayMs) == WAIT_OBJECT_0) {
                break;
            }
        }
    }
    if (server) {
        ::TerminateProcess(server.Get(), 0);
    }
}

void WINAPI ServiceMain(DWORD, char**) {
    g_status = ::RegisterServiceCtrlHandlerExA(kName, OnControl, nullptr);
    if (g_status == nullptr) {
        return;
    }
    Report(SERVICE_START_PENDING);
    g_stop = OwnedHandle(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    g_sessionChange = OwnedHandle(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    OwnedHandle log = OpenLog();
    Report(SERVICE_RUNNING);
    KeepServerRunning(log.Get());
    Log(log.Get(), "stopped");
    Report(SERVICE_STOPPED);
}

int Usage(std::ostream& out, int code) {
    out << "Usage: cluma-screen-launcher service install|uninstall\n"
           "Installs or removes the service "
        << kName
        << ", which runs cluma-screen.exe in the session of the user logged on at this PC.\n";
    return code;
}

} // namespace

int main(int argc, char** argv) {
    std::string command = argc == 3 && std::string(argv[1]) == "service" ? argv[2] : "";
    if (command == "install") {
        bool updated = false;
        if (!InstallService(Definition(), updated, std::cerr)) {
            return 1;
        }
        std::cout << "cluma-screen-launcher: " << (updated ? "updated" : "installed")
                  << " the service " << kName << " (\"" << kDisplayName
                  << "\"), started with Windows as LocalSystem.\n"
                  << "Start it now with: net start " << kName << "\n";
        return 0;
    }
    if (command == "uninstall" || command == "remove") {
        return RemoveService(Definition(), std::cout, std::cerr);
    }
    if (command == "run") {
        SERVICE_TABLE_ENTRYA table[] = {{const_cast<char*>(kName), ServiceMain},
                                        {nullptr, nullptr}};
        if (!::StartServiceCtrlDispatcherA(table)) {
            std::cerr << "cluma-screen-launcher: 'service run' is for the Windows service "
                         "manager\n";
            return 64;
        }
        return 0;
    }
    return Usage(argc == 1 ? std::cout : std::cerr, argc == 1 ? 0 : 64);
}
