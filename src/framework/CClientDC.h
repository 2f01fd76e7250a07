// CClientDC: a device context of a window's client area (GetDC / ReleaseDC); with no window,
// of the whole screen.
#pragma once

#include "framework/CDC.h"

class CWnd;

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC();

private:
    HWND m_hWnd;
};
