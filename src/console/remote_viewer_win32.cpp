#include "console/remote_viewer.h"

#include "console/viewer_texts.h"
#include "discovery/module_directory.h"

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

// Starts a program beside the executable; the process handle is closed at once, since the
// console neither waits for the program nor keeps track of it.
void StartBesideModule(const char* fileName, const char* parameters) {
    std::string file = PathBesideModule(fileName);
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpFile = file.c_str();
    info.lpParameters = parameters;
    info.nShow = SW_SHOW;
    if (::ShellExecuteExA(&info) && info.hProcess != nullptr) {
        ::CloseHandle(info.hProcess);
    }
}

BOOL CALLBACK CollectViewer(HWND window, LPARAM collected) {
    char className[260] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (IsViewerWindowClass(className)) {
        reinterpret_cast<std::vector<HWND>*>(collected)->push_back(window);
    }
    return TRUE;
}

} // namespace

void LaunchRemoteViewer(const char* address) {
    std::string parameters = ViewerParameters(address);
    StartBesideModule(kViewerFileName, parameters.c_str());
}

void StartMagnifier() {
    StartBesideModule(kMagnifierFileName, nullptr);
}

void OpenHelpPage() {
    ::ShellExecuteA(nullptr, "open", kHelpPageAddress, nullptr, nullptr, SW_SHOW);
}

void CloseAllViewers() {
    std::vector<HWND> viewers;
    ::EnumWindows(CollectViewer, reinterpret_cast<LPARAM>(&viewers));
    for (HWND viewer : viewers) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutA(viewer, WM_CLOSE, 0, 0, SMTO_NORMAL, kViewerCloseWaitMs, &ignored);
    }
}
