// What the agent's service and the screen server's launcher share under the Windows service
// manager: the handles, installing (or bringing up to date) and removing a service, the
// refusal of a program that someone besides administrators may change, the restart after a
// failure, and the service's settings in the registry.
#pragma once

#include "agent/agent_serve.h"

#include <cstdint>
#include <iosfwd>
#include <string>

#include <windows.h>

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

struct ServiceDefinition {
    const char* program; // the prefix of every message: "cluma-agent"
    const char* what;    // what to install under Program Files: "the agent"
    const char* name;    // the service's name
    const char* displayName;
    const char* description;
    const char* account;     // nullptr: LocalSystem
    std::string removedNote; // said after "removed the service NAME."
};

std::string ErrorText(DWORD code);

// The sentence for a refusal that only an administrator gets past.
void ExplainNoRights(const ServiceDefinition& service, const char* action, std::ostream& err);

// Installs the service to run this program with "service run", or brings an installed one up
// to date; it is started again after a failure. False after saying why on err.
bool InstallService(const ServiceDefinition& service, bool& updated, std::ostream& err);
// Stops and removes the service; returns the process exit code.
int RemoveService(const ServiceDefinition& service, std::ostream& out, std::ostream& err);

// The agent's settings that the installer or `cluma-agent service install` left
// (HKLM\...\ClumaDeckAgent\Parameters); what is missing takes its default, the computer's
// name for the display name. Mistakes are logged.
ServeSettings ReadSettings(std::ostream& log);
// The screen server's port from the same settings (ScreenPort); 0 when it is not set.
std::uint16_t ReadScreenPort(std::ostream& log);
