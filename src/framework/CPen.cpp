#include "framework/CPen.h"

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
    CreatePen(nPenStyle, nWidth, crColor);
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}
