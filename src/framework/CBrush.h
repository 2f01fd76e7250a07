// CBrush: an owned GDI brush.
#pragma once

#include "framework/CGdiObject.h"

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor);

    BOOL CreateSolidBrush(COLORREF crColor);
    HBRUSH GetSafeHandle() const { return static_cast<HBRUSH>(m_hObject); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};
