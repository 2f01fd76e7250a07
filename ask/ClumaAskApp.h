// ClumaAsk.exe: the student's window. Everything happens inside InitInstance, in the window's
// modal loop; it always answers FALSE, so the framework ends the process afterwards.
#pragma once

#include "framework/Framework.h"

class ClumaAskApp : public CWinApp {
public:
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern ClumaAskApp theApp;
