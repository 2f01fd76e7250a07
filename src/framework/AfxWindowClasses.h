// Window classes for the application's windows.
//
// AfxRegisterClass registers a class described by the caller (for example a copy of the dialog
// class "#32770" under a new name, for a dialog template that names its own class); a class of
// that name and instance that already exists counts as registered.
//
// AfxRegisterWndClass gives a class for plain CWnd windows (CWnd::CreateEx) with the style,
// cursor, background brush and icon asked for, registering it on first use; the same arguments
// give the same class. Its window procedure is the system's default; CreateEx routes the
// messages through the object's message map. The name stays valid for the process's life.
#pragma once

#include <windows.h>

BOOL AfxRegisterClass(WNDCLASSA* lpWndClass);

// Null when the class cannot be registered.
LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                           HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);
