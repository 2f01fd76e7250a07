// The window procedure of every window joined to a CWnd. Internal to framework/.
#pragma once

#include <windows.h>

class CWnd;

// Finds the window's object and runs its WindowProc; never lets an exception out.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// Runs pWnd->WindowProc with the message recorded for CWnd::Default, detaches the object after
// WM_NCDESTROY, and turns an exception into the message's failure answer.
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
