// CCompatibleDC: a memory device context compatible with another one (null: the screen),
// deleted when the object ends, after the objects selected into it have been deselected.
//
//   CPaintDC dc(this);
//   CCompatibleDC memory(&dc);
//   HBITMAP previous = memory.SelectObject(m_picture);
//   dc.BitBlt(0, 0, width, height, &memory, 0, 0, SRCCOPY);
//   memory.SelectObject(previous);
#pragma once

#include "framework/CDC.h"

class CCompatibleDC : public CDC {
public:
    explicit CCompatibleDC(CDC* pDC);
    ~CCompatibleDC();
};
