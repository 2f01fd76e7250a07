// The program's entry for an executable built on the framework: link the
// cluma_framework_winmain object library into it and define one global CWinApp.
#include <windows.h>

#include "framework/CWinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
