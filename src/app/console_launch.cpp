#include "app/console_launch.h"

#include "console/ClumaDeckDlg.h"

void RunConsole() {
    ClumaDeckDlg console;
    console.DoModal();
}
