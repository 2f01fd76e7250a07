#include "framework/CWinApp.h"

#include "framework/AppName.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

namespace {

CWinApp* g_pApp = nullptr;

const std::string& ModuleAppName() {
    // Kept to the very end of the process: threads that are never joined may still ask.
    static const std::string* const name =
        new std::string(AppNameFromModulePath(RunningModulePath()));
    return *name;
}

} // namespace

CWinApp::CWinApp(LPCSTR lpszAppName) {
    if (lpszAppName != nullptr) {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName.c_str();
    }
    if (g_pApp == nullptr) {
        g_pApp = this;
    }
}

CWinApp::~CWinApp() {
    if (g_pApp == this) {
        g_pApp = nullptr;
    }
}

void CWinApp::SetCurrentHandles(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow) {
    m_hInstance = hInstance;
    m_lpCmdLine = lpCmdLine;
    m_nCmdShow = nCmdShow;
    if (m_pszAppName == nullptr) {
        m_strAppName = ModuleAppName();
        m_pszAppName = m_strAppName.c_str();
    }
}

BOOL CWinApp::SupportsRestartManager() const {
    return (m_dwRestartManagerSupportFlags & AFX_RESTART_MANAGER_SUPPORT_RESTART) != 0;
}

BOOL CWinApp::InitInstance() {
    if (SupportsRestartManager()) {
        // Restarted after a crash or an update with no arguments of its own; no recovery.
        m_hrRestartRegistration = ::RegisterApplicationRestart(L"", 0);
    }
    return TRUE;
}

int CWinApp::ExitInstance() {
    return static_cast<int>(m_nQuitCode);
}

int CWinApp::Run() {
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            m_nQuitCode = msg.wParam;
            break;
        }
        if (got == -1) {
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey) {
    m_strRegistryKey = lpszRegistryKey != nullptr ? lpszRegistryKey : "";
    m_pszRegistryKey = m_strRegistryKey.c_str();
    m_strProfileName = AfxGetAppName();
    m_pszProfileName = m_strProfileName.c_str();
}

void CWinApp::OnHelp() {}

CWinApp* AfxGetApp() {
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle() {
    if (g_pApp != nullptr && g_pApp->m_hInstance != nullptr) {
        return g_pApp->m_hInstance;
    }
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return AfxGetInstanceHandle();
}

LPCSTR AfxGetAppName() {
    if (g_pApp != nullptr && g_pApp->m_pszAppName != nullptr) {
        return g_pApp->m_pszAppName;
    }
    return ModuleAppName().c_str();
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return -1;
    }
    try {
        app->SetCurrentHandles(hInstance, lpCmdLine, nCmdShow);
        if (!app->InitInstance()) {
            return app->ExitInstance();
        }
        return app->Run();
    } catch (...) {
        ::OutputDebugStringA("ClumaDeck framework: the application ended by an exception\n");
        return -1;
    }
}
