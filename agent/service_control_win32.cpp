#include "agent/service_control_win32.h"

#include "agent/agent_service.h"
#include "agent/console_state.h"
#include "agent/object_rights_win32.h"
#include "discovery/subnet_probe.h"
#include "platform/module_path.h"
#include "platform/net.h"

#include <iterator>
#include <optional>
#include <ostream>

namespace {

constexpr DWORD kStopWaitMs = 10000;
constexpr DWORD kRestartDelayMs = 5000;
constexpr DWORD kFailureCountResetS = 24 * 60 * 60;

// A service that fails is started again 5 s later, three times within a day; the service
// manager repeats the last action for every later failure, so the fourth does nothing. The flag
// makes a stop with an exit code count as a failure: without it only a crash does.
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

// The refusal of a program that someone besides administrators may change, with what to do.
void ExplainChangeableProgram(const ServiceDefinition& service, const std::string& path,
                              const std::string& folder, const Outsider& outsider,
                              std::ostream& err) {
    err << service.program << ": the service was not installed, because ";
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
           "starts as a service: install "
        << service.what
        << " under Program Files, or give its folder to administrators with these two commands "
           "and install again:\n"
        << "icacls \"" << folder << "\" /setowner *S-1-5-32-544 /T /C\n"
        << "icacls \"" << folder << "\" /inheritance:r /grant:r \"*S-1-5-32-544:(OI)(CI)F\" "
        << "\"*S-1-5-18:(OI)(CI)F\" \"*S-1-5-32-545:(OI)(CI)RX\" /T /C\n";
}

// The service runs this program: it, and the folder it loads its libraries from, must be
// administrators' alone.
bool ProgramIsAdministratorsOnly(const ServiceDefinition& service, std::ostream& err) {
    const std::string program = platform::ModuleFilePath();
    const std::string folder = program.substr(0, program.find_last_of('\\'));
    const std::string installer = ProcessUserSid();
    for (const std::string& path : {program, folder}) {
        ObjectRights rights;
        DWORD error = ERROR_SUCCESS;
        if (!ReadObjectRights(path, rights, error)) {
            err << service.program
                << ": the service was not installed: cannot read the permissions of " << path
                << ": " << ErrorText(error) << "\n";
            return false;
        }
        if (std::optional<Outsider> outsider = FindOutsiderWhoCanChange(rights, installer)) {
            ExplainChangeableProgram(service, path, folder, *outsider, err);
            return false;
        }
    }
    return true;
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

// A port value of the agent's settings: 0 when it is missing, fallback (with a line in the
// log) when it is not a port.
std::uint16_t ReadPort(HKEY key, const char* value, std::uint16_t fallback, std::ostream& log) {
    DWORD port = 0;
    DWORD type = 0;
    DWORD size = sizeof port;
    if (::RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(&port), &size) !=
        ERROR_SUCCESS) {
        return 0;
    }
    if (type == REG_DWORD && port >= 1 && port <= 65535) {
        return static_cast<std::uint16_t>(port);
    }
    log << "cluma-agent: the " << value << " setting is not a number from 1 to 65535; using "
        << fallback << "\n";
    return fallback;
}

} // namespace

std::string ErrorText(DWORD code) {
    return platform::DescribeSocketError(static_cast<int>(code)); // FormatMessage of the code
}

void ExplainNoRights(const ServiceDefinition& service, const char* action, std::ostream& err) {
    err << service.program << ": " << action
        << " the service needs administrator rights: open the command prompt with \"Run as "
           "administrator\" and try again.\n";
}

bool InstallService(const ServiceDefinition& definition, bool& updated, std::ostream& err) {
    updated = false;
    ServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
    if (!manager) {
        DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED) {
            ExplainNoRights(definition, "installing", err);
        } else {
            err << definition.program << ": cannot reach the service manager: " << ErrorText(error)
                << "\n";
        }
        return false;
    }
    if (!ProgramIsAdministratorsOnly(definition, err)) {
        return false;
    }
    std::string command = "\"" + platform::ModuleFilePath() + "\" service run";
    ServiceHandle service(
        ::CreateServiceA(manager.Get(), definition.name, definition.displayName, SERVICE_ALL_ACCESS,
                         SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                         command.c_str(), nullptr, nullptr, nullptr, definition.account, nullptr));
    std::optional<ServiceHandle> existing;
    if (!service && ::GetLastError() == ERROR_SERVICE_EXISTS) {
        // Installing again brings the service up to date: this program, its settings.
        existing.emplace(::OpenServiceA(manager.Get(), definition.name, SERVICE_ALL_ACCESS));
        if (*existing &&
            ::ChangeServiceConfigA(existing->Get(), SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START,
                                   SERVICE_ERROR_NORMAL, command.c_str(), nullptr, nullptr, nullptr,
                                   definition.account, nullptr, definition.displayName)) {
            updated = true;
        }
    }
    if (!service && !updated) {
        DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED) {
            ExplainNoRights(definition, "installing", err);
        } else {
            err << definition.program << ": cannot install the service " << definition.name << ": "
                << ErrorText(error) << "\n";
        }
        return false;
    }
    if (service) {
        SERVICE_DESCRIPTIONA description{const_cast<char*>(definition.description)};
        ::ChangeServiceConfig2A(service.Get(), SERVICE_CONFIG_DESCRIPTION, &description);
    }
    std::string error;
    if (!SetRestartAfterFailure(updated ? existing->Get() : service.Get(), error)) {
        // The service runs all the same; only a failed start is not tried again.
        err << definition.program
            << ": Windows will not restart the service after it fails: " << error << "\n";
    }
    return true;
}

int RemoveService(const ServiceDefinition& definition, std::ostream& out, std::ostream& err) {
    ServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    ServiceHandle service(manager ? ::OpenServiceA(manager.Get(), definition.name,
                                                   SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE)
                                  : nullptr);
    if (!service) {
        DWORD error = ::GetLastError();
        if (error == ERROR_SERVICE_DOES_NOT_EXIST) {
            out << definition.program << ": the service " << definition.name
                << " is not installed.\n";
            return 0;
        }
        if (error == ERROR_ACCESS_DENIED) {
            ExplainNoRights(definition, "removing", err);
        } else {
            err << definition.program << ": cannot reach the service " << definition.name << ": "
                << ErrorText(error) << "\n";
        }
        return 1;
    }
    SERVICE_STATUS status{};
    if (::ControlService(service.Get(), SERVICE_CONTROL_STOP, &status) &&
        !WaitStopped(service.Get())) {
        err << definition.program << ": the service " << definition.name
            << " did not stop; it is removed once it has.\n";
    }
    if (!::DeleteService(service.Get())) {
        DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED) {
            ExplainNoRights(definition, "removing", err);
        } else {
            err << definition.program << ": cannot remove the service " << definition.name << ": "
                << ErrorText(error) << "\n";
        }
        return 1;
    }
    out << definition.program << ": removed the service " << definition.name << "."
        << definition.removedNote << "\n";
    return 0;
}

ServeSettings ReadSettings(std::ostream& log) {
    ServeSettings settings;
    settings.port = kProbePort;
    RegistryKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServiceParametersKey, 0, KEY_QUERY_VALUE, key.Out()) ==
        ERROR_SUCCESS) {
        settings.name = ReadText(key.Get(), "Name");
        settings.pinnedConsole = ReadText(key.Get(), "Console");
        settings.bindAddress = ReadText(key.Get(), "Bind");
        if (std::uint16_t port = ReadPort(key.Get(), "Port", kProbePort, log)) {
            settings.port = port;
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

std::uint16_t ReadScreenPort(std::ostream& log) {
    RegistryKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServiceParametersKey, 0, KEY_QUERY_VALUE, key.Out()) !=
        ERROR_SUCCESS) {
        return 0;
    }
    return ReadPort(key.Get(), "ScreenPort", 5900, log);
}
