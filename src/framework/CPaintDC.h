// CPaintDC: the device context of a WM_PAINT handler (BeginPaint in the constructor, EndPaint
// in the destructor).
#pragma once

#include "framework/CDC.h"

class CWnd;

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();

    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};
