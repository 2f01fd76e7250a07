// A stand-in for the remote viewer program (built as korvidVi.exe) and for the magnifier
// (built as magnify.exe), honouring what the console relies on:
//   - it appends its process id and parameters as one line to "<its name>-launches.txt"
//     beside itself, so tests can see every start and its exact command line;
//   - as the viewer, it learns the node's display name the way a real viewer learns the remote
//     desktop's name, here by asking the agent at the address (the probe exchange on 12357);
//   - it opens a top-level window of class "VNCMDI_Window" titled with that name and one
//     space (the magnifier: class "ClumaMagnifierStandIn", title "Magnifier");
//   - it closes on WM_CLOSE, unless CLUMA_VIEWER_IGNORES_CLOSE=1 is in its environment,
//     which plays a hung viewer;
//   - CLUMA_STANDIN_CLASS=NAME gives its window another class, which plays another program
//     whose window happens to carry a node's title or a look-alike class.
#include "discovery/subnet_probe.h"
#include "platform/net.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool ignoresClose = false;

std::string ModulePath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// The parameters: the command line without the program's own (possibly quoted) name.
std::string Parameters() {
    const char* line = ::GetCommandLineA();
    if (*line == '"') {
        line = std::strchr(line + 1, '"');
        line = line != nullptr ? line + 1 : "";
    } else {
        while (*line != '\0' && *line != ' ') {
            ++line;
        }
    }
    while (*line == ' ') {
        ++line;
    }
    return line;
}

void RecordLaunch(const std::string& modulePath, const std::string& parameters) {
    std::string record = modulePath.substr(0, modulePath.size() - 4) + "-launches.txt";
    if (FILE* file = std::fopen(record.c_str(), "ab")) {
        std::fprintf(file, "%lu\t%s\n", ::GetCurrentProcessId(), parameters.c_str());
        std::fclose(file);
    }
}

// Asks the agent at the address for its display name, as the console's probe does.
std::string AskNameOnce(const std::string& address) {
    platform::Socket socket = platform::CreateTcpSocket();
    platform::SetNonBlocking(socket, true);
    platform::StartConnect(socket, address.c_str(), kProbePort);
    if (platform::WaitWritable(socket, 2000) != platform::Wait::ready ||
        !platform::IsConnected(socket) ||
        platform::WaitReadable(socket, 2000) != platform::Wait::ready) {
        return std::string();
    }
    char name[64] = {};
    int got = platform::Receive(socket, name, sizeof name - 1);
    return got > 0 ? std::string(name, static_cast<std::size_t>(got)) : std::string();
}

// A few tries: a freshly started Wine session can be slow to make its first connection.
std::string AskName(const std::string& address) {
    platform::StartNetworking(2, 2);
    std::string name;
    for (int attempt = 0; attempt < 3 && name.empty(); ++attempt) {
        name = AskNameOnce(address);
    }
    return name;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        if (ignoresClose) {
            ::Sleep(60000); // a viewer that never answers
            return 0;
        }
        ::DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    const char* ignore = std::getenv("CLUMA_VIEWER_IGNORES_CLOSE");
    ignoresClose = ignore != nullptr && std::strcmp(ignore, "1") == 0;
    std::string module = ModulePath();
    std::string parameters = Parameters();
    RecordLaunch(module, parameters);

    bool isMagnifier =
        module.size() >= 11 && _stricmp(module.c_str() + module.size() - 11, "magnify.exe") == 0;
    const char* classOverride = std::getenv("CLUMA_STANDIN_CLASS");
    const char* className = classOverride != nullptr && *classOverride != '\0' ? classOverride
                            : isMagnifier ? "ClumaMagnifierStandIn"
                                          : "VNCMDI_Window";
    std::string title =
        isMagnifier ? "Magnifier" : AskName(parameters.substr(0, parameters.find(' '))) + " ";

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    ::RegisterClassA(&windowClass);
    HWND window = ::CreateWindowExA(0, className, title.c_str(), WS_OVERLAPPEDWINDOW, 200, 150, 640,
                                    400, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(window, show);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
