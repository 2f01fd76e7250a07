// CWinApp: the application object. Exactly one exists, a global of a class derived from it:
//
//   class ClumaDeckApp : public CWinApp {
//   public:
//       ClumaDeckApp() { m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART; }
//       BOOL InitInstance() override;   // all of the program's work; returns FALSE to end
//       DECLARE_MESSAGE_MAP()
//   };
//   ClumaDeckApp theApp;
//
// The framework's WinMain (link the cluma_framework_winmain target into the executable) calls
// AfxWinMain, which records the instance handle, command line and show state, calls
// InitInstance, and then either ExitInstance (InitInstance answered FALSE) or Run, the message
// loop, which ends with WM_QUIT and ExitInstance. Its answer is the process's exit code.
//
// The base InitInstance registers the application with the system's restart manager when
// m_dwRestartManagerSupportFlags asks for restart support (restart only: no recovery callback,
// no autosave). SetRegistryKey records the key under which the application would keep its
// settings; the framework itself writes nothing there.
#pragma once

#include <windows.h>

#include <string>

#include "framework/CCmdTarget.h"

class CWnd;

// Restart manager support flags (m_dwRestartManagerSupportFlags).
constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_RESTART = 0x01;
constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_RECOVERY = 0x02;

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    // Without a name, the application's name is the executable's name without extension.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;
    LPCSTR m_pszProfileName = nullptr;
    DWORD m_dwRestartManagerSupportFlags = 0;
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance();
    // Answers the exit code: the WM_QUIT code after Run, else 0.
    virtual int ExitInstance();
    virtual int Run();

    void SetRegistryKey(LPCSTR lpszRegistryKey);
    BOOL SupportsRestartManager() const;
    // What the restart manager answered to the registration (S_FALSE: not registered).
    HRESULT GetRestartRegistrationResult() const { return m_hrRestartRegistration; }

    // The help command (ID_HELP): the application has no help file, so it does nothing.
    afx_msg void OnHelp();

    // Called by AfxWinMain before InitInstance.
    void SetCurrentHandles(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);

    DECLARE_MESSAGE_MAP()

private:
    std::string m_strAppName;
    std::string m_strRegistryKey;
    std::string m_strProfileName;
    HRESULT m_hrRestartRegistration = S_FALSE;
    WPARAM m_nQuitCode = 0;
};

// The application object (the first CWinApp constructed and not yet destroyed), or null.
CWinApp* AfxGetApp();
// The application's instance handle (the executable's module when no application runs).
HINSTANCE AfxGetInstanceHandle();
// Where dialog templates, bitmaps and icons are loaded from: the application's instance.
HINSTANCE AfxGetResourceHandle();
// The application's name; without an application, the executable's name without extension.
LPCSTR AfxGetAppName();

// The framework's entry: run the application object. Exceptions do not leave it (-1).
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
