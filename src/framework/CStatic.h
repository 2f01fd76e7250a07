// CStatic: a static text or picture control.
#pragma once

#include "framework/CWnd.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    // Shows the bitmap (SS_BITMAP controls); answers the previous one. The control does not
    // take ownership: the caller keeps the bitmap alive while it is shown.
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
};
