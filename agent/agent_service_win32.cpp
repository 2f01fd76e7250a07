// The agent under the Windows service manager: installing and removing the service
// ClumaDeckAgent, and the service's own entry, which serves the probe until it is stopped.
#include "agent/agent_serve.h"
#include "agent/agent_service.h"
#include "agent/bounded_log.h"
#include "agent/console_state.h"
#include "agent/service_control_win32.h"
#include "agent/state_folder_win32.h"
#include "platform/net.h"

#include <atomic>
#include <ostream>
#include <string>

#include <windows.h>

namespace {

// The service runs as LocalService: it needs no more than to listen on one port and to write
// one small file, and LocalService has no rights on other machines and few on this one.
constexpr const char* kServiceAccount = "NT AUTHORITY\\LocalService";
constexpr const char* kServiceDescription =
    "Lets the presenter's ClumaDeck console find this computer and lets its users ask the "
    "presenter to look at their screen.";
constexpr std::size_t kLogLimitBytes = 64 * 1024;

bool WriteParameters(const AgentOptions& options, std::string& error) {
    RegistryKey key;
    LONG result = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kServiceParametersKey, 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, key.Out(), nullptr);
    auto setText = [&](const char* value, const std::string& text) {
        return ::RegSetValueExA(key.Get(), value, 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>(text.size() + 1));
    };
    if (result == ERROR_SUCCESS && options.nameGiven) {
        result = setText("Name", options.name);
    }
    if (result == ERROR_SUCCESS && !options.console.empty()) {
        result = setText("Console", options.console);
    }
    if (result == ERROR_SUCCESS && !options.bindAddress.empty()) {
        result = setText("Bind", options.bindAddress);
    }
    if (result == ERROR_SUCCESS && options.port != 0) {
        DWORD port = options.port;
        result = ::RegSetValueExA(key.Get(), "Port", 0, REG_DWORD,
                                  reinterpret_cast<const BYTE*>(&port), sizeof port);
    }
    if (result != ERROR_SUCCESS) {
        error = ErrorText(static_cast<DWORD>(result));
        return false;
    }
    return true;
}

ServiceDefinition Definition() {
    return {"cluma-agent",
            "the agent",
            kServiceName,
            kServiceDisplayName,
            kServiceDescription,
            kServiceAccount,
            " The remembered console and the log stay in " + DefaultStateFolder() + "."};
}

int Install(const AgentOptions& options, std::ostream& out, std::ostream& err) {
    bool updated = false;
    if (!InstallService(Definition(), updated, err)) {
        return 1;
    }
    std::string error;
    if (!WriteParameters(options, error)) {
        err << "cluma-agent: cannot store the service's settings under HKLM\\"
            << kServiceParametersKey << ": " << error << "\n";
        return 1;
    }
    if (!PrepareStateFolder(StateFolderClaim::always, error)) {
        err << "cluma-agent: " << error << "\n";
        return 1;
    }
    out << "cluma-agent: " << (updated ? "updated" : "installed") << " the service " << kServiceName
        << " (\"" << kServiceDisplayName << "\"), started with Windows as LocalService.\n"
        << "Start it now with: net start " << kServiceName << "\n";
    return 0;
}

// What the service manager starts.

SERVICE_STATUS_HANDLE g_statusHandle = nullptr;
std::atomic<bool> g_stop{false};
// Stepped by the service's thread while it starts and by the control handler's thread when
// it is asked to stop.
std::atomic<DWORD> g_checkPoint{0};

void Report(DWORD state, DWORD exitCode = NO_ERROR, DWORD waitHintMs = 0) {
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted =
        state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    if (exitCode != NO_ERROR) {
        status.dwWin32ExitCode = ERROR_SERVICE_SPECIFIC_ERROR;
        status.dwServiceSpecificExitCode = exitCode;
    }
    status.dwWaitHint = waitHintMs;
    bool pending = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING;
    status.dwCheckPoint = pending ? ++g_checkPoint : 0;
    ::SetServiceStatus(g_statusHandle, &status);
}

DWORD WINAPI OnControl(DWORD control, DWORD, void*, void*) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        Report(SERVICE_STOP_PENDING, NO_ERROR, 1000);
        g_stop.store(true); // the serving loop sees it within half a second
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

DWORD g_exitCode = 0;

void WINAPI ServiceMain(DWORD, char**) {
    g_statusHandle = ::RegisterServiceCtrlHandlerExA(kServiceName, OnControl, nullptr);
    if (g_statusHandle == nullptr) {
        return;
    }
    Report(SERVICE_START_PENDING, NO_ERROR, 3000);
    std::string folderError;
    bool folderReady = PrepareStateFolder(StateFolderClaim::whenCreated, folderError);
    BoundedLog log(DefaultStateFolder() + "\\agent-log.txt", kLogLimitBytes);
    if (!folderReady) {
        log << "cluma-agent: " << folderError << "\n";
    }
    ServeSettings settings = ReadSettings(log);
    settings.statePath = DefaultConsoleStatePath();
    settings.onListening = [] { Report(SERVICE_RUNNING); };
    int code = 1;
    if (platform::StartNetworking(2, 2)) {
        code = ServeProbes(settings, g_stop, log, log);
        platform::StopNetworking();
    } else {
        log << "cluma-agent: the network could not be started on this machine\n";
    }
    g_exitCode = static_cast<DWORD>(code);
    Report(SERVICE_STOPPED, g_exitCode);
}

int Run(std::ostream& err) {
    SERVICE_TABLE_ENTRYA table[] = {{const_cast<char*>(kServiceName), ServiceMain},
                                    {nullptr, nullptr}};
    if (!::StartServiceCtrlDispatcherA(table)) {
        DWORD error = ::GetLastError();
        if (error == ERROR_FAILED_SERVICE_CONTROLLER_CONNECT) {
            err << "cluma-agent: 'service run' is for the Windows service manager; to run the "
                   "agent by hand, use 'cluma-agent serve'.\n";
            return 64;
        }
        err << "cluma-agent: cannot start as a service: " << ErrorText(error) << "\n";
        return 1;
    }
    return static_cast<int>(g_exitCode);
}

} // namespace

int RunServiceCommand(const AgentOptions& options, std::ostream& out, std::ostream& err) {
    switch (options.mode) {
    case AgentMode::serviceInstall:
        return Install(options, out, err);
    case AgentMode::serviceRemove:
        return RemoveService(Definition(), out, err);
    default:
        return Run(err);
    }
}
