#include "screen/session_process_win32.h"

#include "agent/service_control_win32.h"

#include <userenv.h>
#include <wtsapi32.h>

#include <vector>

DWORD ActiveConsoleSession() {
    return ::WTSGetActiveConsoleSessionId();
}

OwnedHandle StartInSession(DWORD session, const std::string& commandLine, const std::string& folder,
                           HANDLE output, std::string& error) {
    HANDLE rawToken = nullptr;
    // Needs the right to act as part of the system, which LocalSystem has.
    if (session == kNoSession || !::WTSQueryUserToken(session, &rawToken)) {
        DWORD code = session == kNoSession ? ERROR_NO_TOKEN : ::GetLastError();
        error = code == ERROR_NO_TOKEN ? "nobody is logged on at the console"
                                       : "cannot take the user's token: " + ErrorText(code);
        return OwnedHandle();
    }
    OwnedHandle token(rawToken);
    // The user's own environment (their %TEMP%, %APPDATA%), not the service's.
    void* environment = nullptr;
    if (!::CreateEnvironmentBlock(&environment, token.Get(), FALSE)) {
        environment = nullptr; // the system's environment serves as well
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    char desktop[] = "winsta0\\default";
    startup.lpDesktop = desktop;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');
    PROCESS_INFORMATION process{};
    BOOL started = ::CreateProcessAsUserA(
        token.Get(), nullptr, command.data(), nullptr, nullptr, output != nullptr,
        CREATE_NO_WINDOW | (environment != nullptr ? CREATE_UNICODE_ENVIRONMENT : 0), environment,
        folder.c_str(), &startup, &process);
    DWORD code = ::GetLastError();
    if (environment != nullptr) {
        ::DestroyEnvironmentBlock(environment);
    }
    if (!started) {
        error = "cannot start " + commandLine + ": " + ErrorText(code);
        return OwnedHandle();
    }
    OwnedHandle thread(process.hThread);
    return OwnedHandle(process.hProcess);
}
