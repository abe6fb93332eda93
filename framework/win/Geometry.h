// Point, size and rectangle values over the system's POINT, SIZE and RECT,
// so that they pass wherever the API takes a pointer to those.
//
// Classes in this file:
//   CPoint   a POINT with construction from a message's packed coordinates
//   CSize    a SIZE
//   CRect    a RECT with width, height and the usual adjustments
#ifndef VA_FRAMEWORK_WIN_GEOMETRY_H
#define VA_FRAMEWORK_WIN_GEOMETRY_H

#include "framework/win/WinDefs.h"

//--- CPoint
class CPoint : public POINT
{
public:
    CPoint() { x = 0; y = 0; }
    CPoint(int initX, int initY) { x = initX; y = initY; }
    CPoint(POINT pt) { x = pt.x; y = pt.y; }
    // Coordinates packed by a mouse message are signed 16-bit values: points
    // left of or above a window (multiple monitors, captured mouse) are negative.
    explicit CPoint(LPARAM lParam) { x = GET_X_LPARAM(lParam); y = GET_Y_LPARAM(lParam); }

    bool operator==(POINT pt) const { return x == pt.x && y == pt.y; }
    bool operator!=(POINT pt) const { return !(*this == pt); }
    void Offset(int dx, int dy) { x += dx; y += dy; }
};

//--- CSize
class CSize : public SIZE
{
public:
    CSize() { cx = 0; cy = 0; }
    CSize(int initCX, int initCY) { cx = initCX; cy = initCY; }
    CSize(SIZE size) { cx = size.cx; cy = size.cy; }

    bool operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
    bool operator!=(SIZE size) const { return !(*this == size); }
};

//--- CRect
class CRect : public RECT
{
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& rc) { left = rc.left; top = rc.top; right = rc.right; bottom = rc.bottom; }
    CRect(POINT topLeft, SIZE size)
    {
        left = topLeft.x;
        top = topLeft.y;
        right = left + size.cx;
        bottom = top + size.cy;
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }
    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void SetRectEmpty() { ::SetRectEmpty(this); }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }

    bool operator==(const RECT& rc) const { return ::EqualRect(this, &rc) != FALSE; }
    bool operator!=(const RECT& rc) const { return !(*this == rc); }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};

#endif // VA_FRAMEWORK_WIN_GEOMETRY_H
