// GDI objects, owned: each object deletes its handle with itself, cannot be
// copied, and hands the handle over with Detach. Stock objects may be held
// too (deleting a stock object does nothing).
//
// Classes in this file:
//   CGdiObject   an owned HGDIOBJ
//   CPen         a pen
//   CBrush       a brush, solid or the stock hollow brush
//   CFont        a font
//   CBitmap      a bitmap, from resources, files or made compatible
//   CRgn         a region
#ifndef VA_FRAMEWORK_GDI_GDIOBJECT_H
#define VA_FRAMEWORK_GDI_GDIOBJECT_H

#include "framework/win/Geometry.h"

//--- CGdiObject
class CGdiObject
{
public:
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // FALSE when the handle is null or one is held already.
    BOOL Attach(HGDIOBJ hObject)
    {
        if (hObject == nullptr || m_hObject != nullptr)
            return FALSE;
        m_hObject = hObject;
        return TRUE;
    }
    HGDIOBJ Detach()
    {
        HGDIOBJ h = m_hObject;
        m_hObject = nullptr;
        return h;
    }
    BOOL DeleteObject() { return m_hObject != nullptr && ::DeleteObject(Detach()); }
    BOOL CreateStockObject(int nIndex) { return Attach(::GetStockObject(nIndex)); }
    int GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectA(m_hObject, nCount, lpObject); }

protected:
    HGDIOBJ m_hObject = nullptr;
};

//--- CPen
class CPen : public CGdiObject
{
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
    {
        return Attach(::CreatePen(nPenStyle, nWidth, crColor));
    }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

//--- CBrush
class CBrush : public CGdiObject
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
    BOOL CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
    BOOL CreatePatternBrush(HBITMAP hBitmap) { return Attach(::CreatePatternBrush(hBitmap)); }
    // The stock brush that paints nothing: a transparent control background.
    BOOL CreateHollowBrush() { return CreateStockObject(HOLLOW_BRUSH); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

//--- CFont
class CFont : public CGdiObject
{
public:
    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont) { return Attach(::CreateFontIndirectA(lpLogFont)); }
    // A font of nPointSize tenths of a point at the screen's vertical
    // resolution, other parameters default.
    BOOL CreatePointFont(int nPointSize, LPCSTR lpszFaceName);
    BOOL GetLogFont(LOGFONTA* pLogFont) const { return GetObject(sizeof(LOGFONTA), pLogFont) != 0; }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

//--- CBitmap
class CBitmap : public CGdiObject
{
public:
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadBitmap(HINSTANCE hInstance, UINT nIDResource);
    // A bitmap file, as a device-independent section; FALSE when missing.
    BOOL LoadFromFile(LPCSTR lpszPath);
    BOOL CreateCompatibleBitmap(HDC hdc, int nWidth, int nHeight)
    {
        return Attach(::CreateCompatibleBitmap(hdc, nWidth, nHeight));
    }
    // Its width and height; 0 x 0 without a bitmap.
    CSize GetSize() const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

//--- CRgn
class CRgn : public CGdiObject
{
public:
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
    BOOL CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }
    BOOL CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode)
    {
        return Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
    }
    // The region is the window's afterwards (the system deletes it).
    BOOL SetWindowRgn(HWND hWnd, BOOL bRedraw) { return ::SetWindowRgn(hWnd, static_cast<HRGN>(Detach()), bRedraw) != 0; }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion(static_cast<HRGN>(m_hObject), x, y); }
    int CombineRgn(HRGN hSrc1, HRGN hSrc2, int nMode)
    {
        return ::CombineRgn(static_cast<HRGN>(m_hObject), hSrc1, hSrc2, nMode);
    }
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
};

#endif // VA_FRAMEWORK_GDI_GDIOBJECT_H
