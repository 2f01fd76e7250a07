#include "discovery/probe_error_box.h"

#include "framework/Framework.h"

void ProbeErrorBox::ShowProbeError(const char* message) {
    AfxMessageBox(message, MB_OK);
}

void InstallProbeErrorBox() {
    static ProbeErrorBox box; // lives as long as the process: scans may run until its end
    SetProbeErrorReporter(&box);
}
