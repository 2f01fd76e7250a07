// The agent under the Windows service manager: installing and removing the service
// ClumaDeckAgent, and the service's own entry, which serves the probe until it is stopped.
#include "agent/agent_serve.h"
#include "agent/agent_service.h"
#include "agent/bounded_log.h"
#include "agent/console_state.h"
#include "agent/object_rights_win32.h"
#include "agent/state_folder_win32.h"
#include "discovery/subnet_probe.h"
#include "platform/module_path.h"
#include "platform/net.h"

#include <atomic>
#include <iterator>
#include <optional>
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
constexpr DWORD kStopWaitMs = 10000;
constexpr DWORD kRestartDelayMs = 5000;
constexpr DWORD kFailureCountResetS = 24 * 60 * 60;

std::string ErrorText(DWORD code) {
    return platform::DescribeSocketError(static_cast<int>(code)); // FormatMessage of the code
}

class ServiceHandle {
public:
    explicit ServiceHandle(SC_HANDLE handle) : handle_(handle) {}
    ~ServiceHandle() {
        if (handle_ != nullptr) {
            ::CloseServiceHandle(handle_);
        }
    }
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
    SC_HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    SC_HANDLE handle_;
};

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() {
        if (key_ != nullptr) {
            ::RegCloseKey(key_);
        }
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// The sentence for a refusal that only an administrator gets past.
void ExplainNoRights(const char* action, std::ostream& err) {
    err << "cluma-agent: " << action
        << " the service needs administrator rights: open the command prompt with \"Run as "
           "administrator\" and try again.\n";
}

// A service that fails (a Bind address not yet up at boot ends it with code 1, a port taken
// with code 2) is started again 5 s later, three times within a day; the service manager
// repeats the last action for every later failure, so the fourth does nothing. The flag makes
// a stop with an exit code count as a failure: without it only a crash does.
bool SetRestartAfterFailure(SC_HANDLE service, std::string& error) {
    SC_ACTION restart{SC_ACTION_RESTART, kRestartDelayMs};
    SC_ACTION actions[] = {restart, restart, restart, {SC_ACTION_NONE, 0}};
    SERVICE_FAILURE_ACTIONSA failureActions{};
    failureActions.dwResetPeriod = kFailureCountResetS;
    failureActions.cActions = static_cast<DWORD>(std::size(actions));
    failureActions.lpsaActions = actions;
    SERVICE_FAILURE_ACTIONS_FLAG onExitCodes{TRUE};
    if (!::ChangeServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS, &failureActions) ||
        !::ChangeServiceConfig2A(service, SERVICE_CONFIG_FAILURE_ACTIONS_FLAG, &onExitCodes)) {
        error = ErrorText(::GetLastError());
        return false;
    }
    return true;
}

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

// The refusal of a program that someone besides administrators may change, with what to do.
void ExplainChangeableProgram(const std::string& path, const std::string& folder,
                              const Outsider& outsider, std::ostream& err) {
    err << "cluma-agent: the service was not installed, because ";
    switch (outsider.why) {
    case Outsider::Why::owns:
        err << TrusteeText(outsider.trustee) << " owns " << path;
        break;
    case Outsider::Why::mayWrite:
        err << TrusteeText(outsider.trustee) << " may change " << path;
        break;
    case Outsider::Why::noDacl:
        err << path << " has no permissions set, so everyone may change it";
        break;
    }
    err << ", and so someone who is not an administrator could replace the program that Windows "
           "starts as a service: install the agent under Program Files, or give its folder to "
           "administrators with these two commands and install again:\n"
        << "icacls \"" << folder << "\" /setowner *S-1-5-32-544 /T /C\n"
        << "icacls \"" << folder << "\" /inheritance:r /grant:r \"*S-1-5-32-544:(OI)(CI)F\" "
        << "\"*S-1-5-18:(OI)(CI)F\" \"*S-1-5-32-545:(OI)(CI)RX\" /T /C\n";
}

// The service runs this program: it, and the folder it loads its libraries from, must be
// administrators' alone.
bool ProgramIsAdministratorsOnly(std::ostream& err) {
    const std::string program = platform::ModuleFilePath();
    const std::string folder = program.substr(0, program.find_last_of('\\'));
    const std::string installer = ProcessUserSid();
    for (const std::string& path : {program, folder}) {
        ObjectRights rights;
        DWORD error = ERROR_SUCCESS;
        if (!ReadObjectRights(path, rights, error)) {
            err << "cluma-agent: the service was not installed: cannot read the permissions of "
                << path << ": " << ErrorText(error) << "\n";
            return false;
        }
        if (std::optional<Outsider> outsider = FindOutsiderWhoCanChange(rights, installer)) {
            ExplainChangeableProgram(path, folder, *outsider, err);
            return false;
        }
    }
    return true;
}

int Install(const AgentOptions& options, std::ostream& out, std::ostream& err) {
    ServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
    if (!manager) {
        DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED) {
            ExplainNoRights("installing", err);
        } else {
            err << "cluma-agent: cannot reach the service manager: " << ErrorText(error) << "\n";
        }
        return 1;
    }
    if (!ProgramIsAdministratorsOnly(err)) {
        return 1;
    }
    std::string command = "\"" + platform::ModuleFilePath() + "\" service run";
    ServiceHandle service(
        ::CreateServiceA(manager.Get(), kServiceName, kServiceDisplayName, SERVICE_ALL_ACCESS,
                         SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                         command.c_str(), nullptr, nullptr, nullptr, kServiceAccount, nullptr));
    bool updated = false;
    std::optional<ServiceHandle> existing;
    if (!service && ::GetLastError() == ERROR_SERVICE_EXISTS) {
        // Installing again brings the service up to date: this program, its settings.
        existing.emplace(::OpenServiceA(manager.Get(), kServiceName, SERVICE_ALL_ACCESS));
        if (*existing &&
            ::ChangeServiceConfigA(existing->Get(), SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START,
                                   SERVICE_ERROR_NORMAL, command.c_str(), nullptr, nullptr, nullptr,
                                   kServiceAccount, nullptr, kServiceDisplayName)) {
            updated = true;
        }
    }
    if (!service && !updated) {
        DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED) {
            ExplainNoRights("installing", err);
        } else {
            err << "cluma-agent: cannot install the service " << kServiceName << ": "
                << ErrorText(error) << "\n";
        }
        return 1;
    }
    std::string error;
    if (service) {
        SERVICE_DESCRIPTIONA description{const_cast<char*>(kServiceDescription)};
        ::ChangeServiceConfig2A(service.Get(), SERVICE_CONFIG_DESCRIPTION, &description);
    }
    if (!SetRestartAfterFailure(updated ? existing->Get() : service.Get(), error)) {
        // The service runs all the same; only a failed start is not tried again.
        err << "cluma-agent: Windows will not restart the service after it fails: " << error
            << "\n";
    }
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

bool WaitStopped(SC_HANDLE service) {
    for (DWORD waited = 0; waited < kStopWaitMs; waited += 100) {
        SERVICE_STATUS status{};
        if (!::QueryServiceStatus(service, &status) || status.dwCurrentState == SERVICE_STOPPED) {
            return true;
        }
        ::Sleep(100);
    }
    return false;
}

int Remove(std::ostream& out, std::ostream& err) {
    ServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    ServiceHandle service(manager ? ::OpenServiceA(manager.Get(), kServiceName,
                                                   SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE)
                                  : nullptr);
    if (!service) {
        DWORD error = ::GetLastError();
        if (error == ERROR_SERVICE_DOES_NOT_EXIST) {
            out << "cluma-agent: the service " << kServiceName << " is not installed.\n";
            return 0;
        }
        if (error == ERROR_ACCESS_DENIED) {
            ExplainNoRights("removing", err);
        } else {
            err << "cluma-agent: cannot reach the service " << kServiceName << ": "
                << ErrorText(error) << "\n";
        }
        return 1;
    }
    SERVICE_STATUS status{};
    if (::ControlService(service.Get(), SERVICE_CONTROL_STOP, &status) &&
        !WaitStopped(service.Get())) {
        err << "cluma-agent: the service " << kServiceName << " did not stop; it is removed "
            << "once it has.\n";
    }
    if (!::DeleteService(service.Get())) {
        DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED) {
            ExplainNoRights("removing", err);
        } else {
            err << "cluma-agent: cannot remove the service " << kServiceName << ": "
                << ErrorText(error) << "\n";
        }
        return 1;
    }
    out << "cluma-agent: removed the service " << kServiceName
        << ". The remembered console and the log stay in " << DefaultStateFolder() << ".\n";
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

std::string ReadText(HKEY key, const char* value) {
    char text[256] = {};
    DWORD type = 0;
    DWORD size = sizeof text - 1;
    if (::RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::string();
    }
    return std::string(text, ::strnlen(text, size));
}

// The settings the installer or `service install` left; what is missing takes its default.
ServeSettings ReadSettings(std::ostream& log) {
    ServeSettings settings;
    settings.port = kProbePort;
    RegistryKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServiceParametersKey, 0, KEY_QUERY_VALUE, key.Out()) ==
        ERROR_SUCCESS) {
        settings.name = ReadText(key.Get(), "Name");
        settings.pinnedConsole = ReadText(key.Get(), "Console");
        settings.bindAddress = ReadText(key.Get(), "Bind");
        DWORD port = 0;
        DWORD type = 0;
        DWORD size = sizeof port;
        if (::RegQueryValueExA(key.Get(), "Port", nullptr, &type, reinterpret_cast<BYTE*>(&port),
                               &size) == ERROR_SUCCESS) {
            if (type == REG_DWORD && port >= 1 && port <= 65535) {
                settings.port = static_cast<std::uint16_t>(port);
            } else {
                log << "cluma-agent: the Port setting is not a number from 1 to 65535; using "
                    << kProbePort << "\n";
            }
        }
        if (!settings.bindAddress.empty() && !IsDottedAddress(settings.bindAddress)) {
            log << "cluma-agent: the Bind setting '" << settings.bindAddress
                << "' is not an address such as 192.168.1.23; answering on all addresses\n";
            settings.bindAddress.clear();
        }
        if (!settings.pinnedConsole.empty() && !IsDottedAddress(settings.pinnedConsole)) {
            log << "cluma-agent: the Console setting '" << settings.pinnedConsole
                << "' is not an address such as 192.168.1.10; no console is pinned\n";
            settings.pinnedConsole.clear();
        }
    }
    if (settings.name.empty()) {
        char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
        DWORD length = sizeof name;
        if (::GetComputerNameA(name, &length)) {
            settings.name.assign(name, length);
        }
    }
    return settings;
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
        return Remove(out, err);
    default:
        return Run(err);
    }
}
