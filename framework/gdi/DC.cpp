#include "framework/gdi/DC.h"

//--- CDC

CDC::~CDC()
{
    if (m_hDC == nullptr)
        return;
    if (m_nSaved != 0)
        ::RestoreDC(m_hDC, m_nSaved);
    if (m_bOwned)
        ::DeleteDC(m_hDC);
}

void CDC::BeginUse(HDC hDC)
{
    m_hDC = hDC;
    m_nSaved = hDC != nullptr ? ::SaveDC(hDC) : 0;
}

BOOL CDC::Attach(HDC hDC)
{
    if (hDC == nullptr || m_hDC != nullptr)
        return FALSE;
    m_hDC = hDC;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hDC = m_hDC;
    if (hDC != nullptr && m_nSaved != 0)
        ::RestoreDC(hDC, m_nSaved);
    m_hDC = nullptr;
    m_nSaved = 0;
    m_bOwned = FALSE;
    return hDC;
}

BOOL CDC::CreateCompatibleDC(HDC hDC)
{
    if (m_hDC != nullptr)
        return FALSE;
    HDC hMem = ::CreateCompatibleDC(hDC);
    if (hMem == nullptr)
        return FALSE;
    BeginUse(hMem);
    m_bOwned = TRUE;
    return TRUE;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF cr)
{
    COLORREF crOld = ::SetBkColor(m_hDC, cr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, crOld);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF cr)
{
    CRect rect(x, y, x + cx, y + cy);
    FillSolidRect(&rect, cr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF crTopLeft, COLORREF crBottomRight)
{
    int x = lpRect->left, y = lpRect->top;
    int cx = lpRect->right - x, cy = lpRect->bottom - y;
    FillSolidRect(x, y, cx - 1, 1, crTopLeft);
    FillSolidRect(x, y, 1, cy - 1, crTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, crBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, crBottomRight);
}

CSize CDC::GetTextExtent(LPCSTR lpszText, int nCount) const
{
    SIZE size = {};
    ::GetTextExtentPoint32A(m_hDC, lpszText, nCount, &size);
    return CSize(size);
}

BOOL CDC::DrawBitmap(HBITMAP hBitmap, int x, int y)
{
    BITMAP bm = {};
    if (hBitmap == nullptr || ::GetObjectA(hBitmap, sizeof(bm), &bm) == 0)
        return FALSE;
    CDC mem;
    if (!mem.CreateCompatibleDC(m_hDC))
        return FALSE;
    mem.SelectObject(hBitmap);
    return BitBlt(x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
}

//--- CPaintDC, CClientDC, CWindowDC

CPaintDC::CPaintDC(HWND hWnd) : m_hWnd(hWnd)
{
    BeginUse(::BeginPaint(hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    if (m_hDC != nullptr && m_nSaved != 0)
        ::RestoreDC(m_hDC, m_nSaved);
    m_nSaved = 0;
    ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(HWND hWnd) : m_hWnd(hWnd)
{
    BeginUse(::GetDC(hWnd));
}

CClientDC::~CClientDC()
{
    HDC hDC = Detach();
    if (hDC != nullptr)
        ::ReleaseDC(m_hWnd, hDC);
}

CWindowDC::CWindowDC(HWND hWnd) : m_hWnd(hWnd)
{
    BeginUse(::GetWindowDC(hWnd));
}

CWindowDC::~CWindowDC()
{
    HDC hDC = Detach();
    if (hDC != nullptr)
        ::ReleaseDC(m_hWnd, hDC);
}

//--- CMemDC

CMemDC::CMemDC(CDC& dc, const RECT& rect) : m_target(dc), m_rect(rect)
{
    if (!CreateCompatibleDC(dc) ||
        !m_bitmap.CreateCompatibleBitmap(dc, m_rect.Width(), m_rect.Height()))
        return;
    SelectObject(m_bitmap);
    ::SetWindowOrgEx(m_hDC, m_rect.left, m_rect.top, nullptr);
    // Text and background settings of the target carry over.
    ::SelectObject(m_hDC, ::GetCurrentObject(dc, OBJ_FONT));
}

CMemDC::~CMemDC()
{
    if (m_hDC != nullptr && m_bitmap.GetSafeHandle() != nullptr)
        m_target.BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left,
                        m_rect.top, SRCCOPY);
    // The base restores the state (the bitmap is deselected) before
    // m_bitmap goes: restore it here, as members die after this body.
    HDC hDC = Detach();
    if (hDC != nullptr)
        ::DeleteDC(hDC);
}
