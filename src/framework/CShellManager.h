// CShellManager: the framework's shell services object. Start-up creates one and deletes it
// after the splash; the application uses none of its services, so it only marks the time in
// which one exists (AfxGetShellManager).
#pragma once

#include "framework/CObject.h"

class CShellManager : public CObject {
    DECLARE_DYNAMIC(CShellManager)
public:
    CShellManager();
    ~CShellManager() override;
};

// The shell manager that exists now (the first one created), or null.
CShellManager* AfxGetShellManager();
