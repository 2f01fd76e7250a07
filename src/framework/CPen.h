// CPen: an owned GDI pen.
#pragma once

#include "framework/CGdiObject.h"

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor);

    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    HPEN GetSafeHandle() const { return static_cast<HPEN>(m_hObject); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};
