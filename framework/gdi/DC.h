// Device contexts. CDC wraps an HDC with one-call drawing methods; which
// kinds release or delete their DC is in the type:
//
// Classes in this file:
//   CDC         an HDC; deletes it only when CreateCompatibleDC made it
//   CPaintDC    BeginPaint .. EndPaint of a window
//   CClientDC   GetDC .. ReleaseDC of a window's client area
//   CWindowDC   GetWindowDC .. ReleaseDC of a whole window
//   CMemDC      an off-screen copy of a rectangle of another DC, copied
//               back when it goes
//
// Objects selected into a DC through these classes are put back when the
// DC object goes (the DC's state is saved at the start), so a DC is never
// released with one of our fonts or bitmaps still selected.
#ifndef VA_FRAMEWORK_GDI_DC_H
#define VA_FRAMEWORK_GDI_DC_H

#include "framework/core/CString.h"
#include "framework/gdi/GdiObject.h"

//--- CDC
class CDC
{
public:
    HDC m_hDC = nullptr;

    CDC() = default;
    // Restores the saved state and deletes a DC this object made.
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    // Binds a DC made elsewhere; the caller keeps releasing it.
    BOOL Attach(HDC hDC);
    HDC Detach();
    // A memory DC compatible with hDC (the screen when null), owned.
    BOOL CreateCompatibleDC(HDC hDC);

    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    HGDIOBJ SelectObject(const CGdiObject& obj) { return ::SelectObject(m_hDC, obj.GetSafeHandle()); }
    HGDIOBJ SelectStockObject(int nIndex) { return ::SelectObject(m_hDC, ::GetStockObject(nIndex)); }
    int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }

    COLORREF SetTextColor(COLORREF cr) { return ::SetTextColor(m_hDC, cr); }
    COLORREF SetBkColor(COLORREF cr) { return ::SetBkColor(m_hDC, cr); }
    int SetBkMode(int nMode) { return ::SetBkMode(m_hDC, nMode); }

    void FillSolidRect(LPCRECT lpRect, COLORREF cr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF cr);
    void FillRect(LPCRECT lpRect, HBRUSH hBrush) { ::FillRect(m_hDC, lpRect, hBrush); }
    void FrameRect(LPCRECT lpRect, HBRUSH hBrush) { ::FrameRect(m_hDC, lpRect, hBrush); }
    // Top and left edges in crTopLeft, bottom and right in crBottomRight.
    void Draw3dRect(LPCRECT lpRect, COLORREF crTopLeft, COLORREF crBottomRight);
    BOOL MoveTo(int x, int y) { return ::MoveToEx(m_hDC, x, y, nullptr); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL Polyline(const POINT* lpPoints, int nCount) { return ::Polyline(m_hDC, lpPoints, nCount); }
    BOOL Polygon(const POINT* lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }
    BOOL Rectangle(LPCRECT lpRect) { return ::Rectangle(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }

    int DrawText(LPCSTR lpszText, int nCount, LPRECT lpRect, UINT nFormat)
    {
        return ::DrawTextA(m_hDC, lpszText, nCount, lpRect, nFormat);
    }
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
    {
        return DrawText(str, str.GetLength(), lpRect, nFormat);
    }
    BOOL TextOut(int x, int y, LPCSTR lpszText, int nCount) { return ::TextOutA(m_hDC, x, y, lpszText, nCount); }
    CSize GetTextExtent(LPCSTR lpszText, int nCount) const;
    CSize GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }

    BOOL BitBlt(int x, int y, int nWidth, int nHeight, HDC hSrcDC, int xSrc, int ySrc, DWORD dwRop)
    {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, hSrcDC, xSrc, ySrc, dwRop);
    }
    // Draws a bitmap at (x, y) in its own size.
    BOOL DrawBitmap(HBITMAP hBitmap, int x, int y);
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIconEx(m_hDC, x, y, hIcon, 0, 0, 0, nullptr, DI_NORMAL); }

    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int nSaved) { return ::RestoreDC(m_hDC, nSaved); }

protected:
    // Saves the DC's state so that the destructor can restore it.
    void BeginUse(HDC hDC);

    int m_nSaved = 0;
    BOOL m_bOwned = FALSE;  // made by CreateCompatibleDC
};

//--- CPaintDC
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(HWND hWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};

//--- CClientDC
class CClientDC : public CDC
{
public:
    explicit CClientDC(HWND hWnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

//--- CWindowDC
class CWindowDC : public CDC
{
public:
    explicit CWindowDC(HWND hWnd);
    ~CWindowDC() override;

private:
    HWND m_hWnd;
};

//--- CMemDC
class CMemDC : public CDC
{
public:
    // Draw into this DC in the coordinates of pDC; rect is copied back to
    // it when the object goes.
    CMemDC(CDC& dc, const RECT& rect);
    ~CMemDC() override;

private:
    CDC& m_target;
    CRect m_rect;
    CBitmap m_bitmap;
};

#endif // VA_FRAMEWORK_GDI_DC_H
