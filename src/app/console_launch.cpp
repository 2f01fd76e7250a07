#include "app/console_launch.h"

#include "framework/Framework.h"
#include "resource.h"

void RunConsole() {
    CDialogEx console(IDD_CONSOLE, nullptr);
    console.DoModal();
}
