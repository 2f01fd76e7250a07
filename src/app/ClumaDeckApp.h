// The application: everything happens inside InitInstance, in the modal loops of the splash
// and the console; it always answers FALSE, so the framework ends the process afterwards.
#pragma once

#include "framework/Framework.h"

class ClumaDeckApp : public CWinApp {
public:
    ClumaDeckApp();
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern ClumaDeckApp theApp;
