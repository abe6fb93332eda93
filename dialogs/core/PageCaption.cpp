#include "dialogs/core/PageCaption.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CPageCaption, CStatic)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPageCaption::CPageCaption() : m_textColor(::GetSysColor(COLOR_BTNFACE))
{
}

CPageCaption::~CPageCaption()
{
    if (m_hTitleFont != nullptr)
        ::DeleteObject(m_hTitleFont);
    if (m_hBackground != nullptr)
        ::DeleteObject(m_hBackground);
}

void CPageCaption::SetCaption(LPCSTR text)
{
    SetWindowText(text);
    Invalidate(TRUE);
}

int CPageCaption::ShadeChannel(int v, int d, int w)
{
    if (w <= 0 || d >= w)
        return 0;
    return v - static_cast<int>(static_cast<long long>(d) * d * v / (static_cast<long long>(w) * w));
}

HFONT CPageCaption::CreateCaptionFont(int height, int weight) const
{
    if (m_fontFace.IsEmpty())
        return nullptr;
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(lf.lfFaceName, m_fontFace, LF_FACESIZE);
    return ::CreateFontIndirectA(&lf);
}

void CPageCaption::BuildBackground(HDC hdc, int cx, int cy)
{
    if (m_hBackground != nullptr)
        ::DeleteObject(m_hBackground);
    m_hBackground = ::CreateCompatibleBitmap(hdc, cx, cy);
    m_backgroundSize = SIZE{ cx, cy };
    HDC hdcMem = ::CreateCompatibleDC(hdc);
    if (m_hBackground == nullptr || hdcMem == nullptr) {
        if (hdcMem != nullptr)
            ::DeleteDC(hdcMem);
        return;
    }
    HGDIOBJ hOldBitmap = ::SelectObject(hdcMem, m_hBackground);

    // Strips from the right edge leftwards, each darker than the last.
    RECT rcAll = { 0, 0, cx, cy };
    ::FillRect(hdcMem, &rcAll, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const int strip = std::max(1, cx / 128);
    for (int d = 0; d < cx; d += strip) {
        COLORREF color = RGB(ShadeChannel(GetRValue(face), d, cx), ShadeChannel(GetGValue(face), d, cx),
                             ShadeChannel(GetBValue(face), d, cx));
        RECT rc = { std::max(0, cx - d - strip), 0, cx - d, cy };
        HBRUSH hbr = ::CreateSolidBrush(color);
        ::FillRect(hdcMem, &rc, hbr);
        ::DeleteObject(hbr);
    }

    // The product name, embossed: highlight offset by one pixel, then shadow.
    if (!m_productName.IsEmpty()) {
        HFONT hFont = CreateCaptionFont(18, 700);
        HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(hdcMem, hFont) : nullptr;
        ::SetBkMode(hdcMem, TRANSPARENT);
        RECT rc = { 0, 0, cx - 5, cy };
        RECT rcShifted = { 1, 1, cx - 4, cy + 1 };
        const UINT format = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
        ::SetTextColor(hdcMem, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        ::DrawTextA(hdcMem, m_productName, -1, &rcShifted, format);
        ::SetTextColor(hdcMem, ::GetSysColor(COLOR_BTNSHADOW));
        ::DrawTextA(hdcMem, m_productName, -1, &rc, format);
        if (hOldFont != nullptr)
            ::SelectObject(hdcMem, hOldFont);
        if (hFont != nullptr)
            ::DeleteObject(hFont);
    }
    ::SelectObject(hdcMem, hOldBitmap);
    ::DeleteDC(hdcMem);
}

BOOL CPageCaption::OnEraseBkgnd(HDC hdc)
{
    RECT rc;
    GetClientRect(&rc);
    if (m_hBackground == nullptr || m_backgroundSize.cx != rc.right || m_backgroundSize.cy != rc.bottom)
        BuildBackground(hdc, rc.right, rc.bottom);
    HDC hdcMem = ::CreateCompatibleDC(hdc);
    if (hdcMem == nullptr || m_hBackground == nullptr) {
        if (hdcMem != nullptr)
            ::DeleteDC(hdcMem);
        return FALSE;
    }
    HGDIOBJ hOld = ::SelectObject(hdcMem, m_hBackground);
    ::BitBlt(hdc, 0, 0, rc.right, rc.bottom, hdcMem, 0, 0, SRCCOPY);
    ::SelectObject(hdcMem, hOld);
    ::DeleteDC(hdcMem);
    return TRUE;
}

void CPageCaption::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    if (m_hTitleFont == nullptr)
        m_hTitleFont = CreateCaptionFont(m_fontHeight, m_fontWeight);
    HFONT hFont = m_hTitleFont != nullptr ? m_hTitleFont : GetParent()->GetFont();
    HGDIOBJ hOld = hFont != nullptr ? ::SelectObject(hdc, hFont) : nullptr;
    CString text;
    GetWindowText(text);
    RECT rc;
    GetClientRect(&rc);
    rc.left += 5;
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, m_textColor);
    ::DrawTextA(hdc, text, -1, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (hOld != nullptr)
        ::SelectObject(hdc, hOld);
    ::EndPaint(m_hWnd, &ps);
}
