#include "app/ClumaDeckApp.h"

#include "app/CDiagLogo.h"
#include "app/app_identity.h"
#include "console/remote_viewer.h"
#include "discovery/probe_error_box.h"
#include "push/log_directory.h"
#include "push/push_listener_thread.h"

#include <gdiplus.h>
#include <io.h>
#include <process.h>

#include <cstring>
#include <memory>

ClumaDeckApp theApp;

BEGIN_MESSAGE_MAP(ClumaDeckApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

ClumaDeckApp::ClumaDeckApp() {
    m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
}

namespace {

ULONG_PTR gdiplusToken = 0; // GDI+ stays up to the end of the process

void PrepareLogDirectory() {
    std::memset(LogDirectory, 0, sizeof LogDirectory);
    if (::_access(kProductLogDirectory, 0) == -1) {
        ::CreateDirectoryA(kProductLogDirectory, nullptr);
    }
    std::strcpy(LogDirectory, kProductLogDirectory);
}

// The handle stays open for the life of the process: it is what marks the instance.
bool AnotherInstanceRuns() {
    ::CreateMutexA(nullptr, FALSE, kSingleInstanceMutexName);
    return ::GetLastError() == ERROR_ALREADY_EXISTS;
}

void StartGdiplus() {
    Gdiplus::GdiplusStartupInput input; // version 1, no debug callback, nothing suppressed
    Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr);
}

void StartCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
}

// The console's template names its own class: a copy of the dialog class under that name.
void RegisterConsoleWindowClass() {
    WNDCLASSA windowClass{};
    ::GetClassInfoA(AfxGetInstanceHandle(), "#32770", &windowClass);
    windowClass.lpszClassName = kConsoleWindowClass;
    AfxRegisterClass(&windowClass);
}

} // namespace

BOOL ClumaDeckApp::InitInstance() {
    PrepareLogDirectory();
    if (AnotherInstanceRuns()) {
        return FALSE;
    }
    ::OleInitialize(nullptr);
    StartGdiplus();
    StartCommonControls();
    CWinApp::InitInstance();
    AfxEnableControlContainer();
    auto shellManager = std::make_unique<CShellManager>();
    SetRegistryKey(kRegistryKey);
    if (!AfxSocketInit()) {
        AfxMessageBox(kSocketsFailedMessage, MB_OK);
        return FALSE;
    }
    RegisterConsoleWindowClass();
    InstallProbeErrorBox();
    SetPushViewerLauncher(LaunchRemoteViewer);
    _beginthread(PushListenerThread, 0, nullptr);
    {
        CDiagLogo splash;
        splash.DoModal();
    }
    shellManager.reset();
    return FALSE;
}
