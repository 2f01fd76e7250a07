// The probe's error report as the presenter sees it: a message box with the application's
// name as caption and an OK button. The probe thread that reports waits until it is closed,
// and the scan waits for that thread.
#pragma once

#include "discovery/subnet_probe.h"

class ProbeErrorBox : public ProbeErrorReporter {
public:
    void ShowProbeError(const char* message) override;
};

// Makes every later scan of the process report its errors in the box; start-up calls it
// before the first scan.
void InstallProbeErrorBox();
