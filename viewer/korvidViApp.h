// korvidVi.exe's application: reads the command line, asks the PC's agent for its name (the
// window's title must be right from the first moment), then runs the viewer window.
#pragma once

#include "framework/Framework.h"

#include <memory>

class CViewerWnd;

class korvidViApp : public CWinApp {
public:
    korvidViApp();
    ~korvidViApp() override;
    BOOL InitInstance() override;
    int ExitInstance() override;

    DECLARE_MESSAGE_MAP()

private:
    std::unique_ptr<CViewerWnd> m_window;
    bool m_networking = false;
};
