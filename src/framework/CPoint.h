// CPoint: a POINT with constructors, as message handlers receive mouse positions.
#pragma once

#include <windows.h>

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int initX, int initY) : POINT{initX, initY} {}
    explicit CPoint(const POINT& pt) : POINT(pt) {}
    // The signed client coordinates packed in a mouse message's long parameter.
    explicit CPoint(LPARAM dwPoint)
        : POINT{static_cast<short>(LOWORD(dwPoint)), static_cast<short>(HIWORD(dwPoint))} {}

    bool operator==(const CPoint& other) const { return x == other.x && y == other.y; }
};
