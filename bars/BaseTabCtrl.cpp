#include "bars/BaseTabCtrl.h"

#include <algorithm>

#include "framework/core/Cp932.h"
#include "framework/gdi/DC.h"

namespace {

const char kEllipsis[] = "\x81\x63";  // "…" in cp932
const int kMaxDrawnText = 128;       // item texts are drawn up to 127 bytes
const int kMinImageStep = 13;        // the text's offset past an image, at least

COLORREF ButtonFace()
{
    return ::GetSysColor(COLOR_BTNFACE);
}

} // namespace

CString TruncateTabText(const CString& text, int maxBytes, bool withEllipsis)
{
    if (text.GetLength() <= maxBytes)
        return text;
    int cut = maxBytes > 0 ? Cp932FloorBoundary(text, text.GetLength(), maxBytes) : 0;
    CString out = text.Left(cut);
    if (withEllipsis)
        out += kEllipsis;
    return out;
}

COLORREF ScaleColor(COLORREF color, double factor)
{
    auto channel = [factor](int value) {
        int scaled = static_cast<int>(value * factor);
        return std::min(scaled, 255);
    };
    return RGB(channel(GetRValue(color)), channel(GetGValue(color)), channel(GetBValue(color)));
}

//--- CBaseTabCtrl

BEGIN_MESSAGE_MAP(CBaseTabCtrl, CTabCtrl)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

CBaseTabCtrl::CBaseTabCtrl(int drawMode)
{
    if (drawMode >= kSystemDrawn && drawMode <= kDrawnHere)
        m_drawMode = drawMode;
}

void CBaseTabCtrl::SetBackColor(COLORREF color)
{
    m_backColor = color;
    if (IsWindow())
        Invalidate(TRUE);
}

BOOL CBaseTabCtrl::SetDrawMode(int mode)
{
    if (mode < kSystemDrawn || mode > kDrawnHere)
        return FALSE;
    m_drawMode = mode;
    if (IsWindow())
    {
        ApplyOwnerDrawStyle();
        Invalidate(TRUE);
    }
    return TRUE;
}

void CBaseTabCtrl::ApplyOwnerDrawStyle()
{
    if (m_drawMode == kSystemDrawn)
        ModifyStyle(TCS_OWNERDRAWFIXED, 0);
    else
        ModifyStyle(0, TCS_OWNERDRAWFIXED);
}

void CBaseTabCtrl::PreSubclassWindow()
{
    CTabCtrl::PreSubclassWindow();
    if (m_drawMode != kSystemDrawn)
        ModifyStyle(0, TCS_OWNERDRAWFIXED);
}

COLORREF CBaseTabCtrl::EffectiveBackColor() const
{
    return m_backColor == static_cast<COLORREF>(-1) ? ButtonFace() : m_backColor;
}

void CBaseTabCtrl::DrawItem(LPDRAWITEMSTRUCT) {}
void CBaseTabCtrl::DrawFrameBorder(LPDRAWITEMSTRUCT) {}
void CBaseTabCtrl::DrawTabEdges(LPDRAWITEMSTRUCT) {}

COLORREF CBaseTabCtrl::GetTabColor(bool) const
{
    return ButtonFace();
}

COLORREF CBaseTabCtrl::GetTabTextColor(bool) const
{
    return ::GetSysColor(COLOR_WINDOWTEXT);
}

// Fills what the items leave of the strip: the whole column, or the band
// above and beside the rows of a top or bottom strip.
BOOL CBaseTabCtrl::OnEraseBkgnd(HDC hdc)
{
    Default();
    CDC dc;
    dc.Attach(hdc);
    COLORREF back = EffectiveBackColor();
    CRect client;
    GetClientRect(&client);
    if (IsColumn())
    {
        dc.FillSolidRect(&client, back);
        dc.Detach();
        return TRUE;
    }
    CRect items;
    for (int i = 0, n = GetItemCount(); i < n; ++i)
    {
        CRect rc;
        if (GetItemRect(i, &rc))
            ::UnionRect(&items, &items, &rc);
    }
    int height = items.Height();
    ::InflateRect(&items, 2, 3);
    dc.FillSolidRect(CRect(client.left, client.top, client.right, items.top + 6), back);
    dc.FillSolidRect(CRect(client.left, client.top, 2, client.top + height + 6), back);
    dc.FillSolidRect(CRect(client.left + items.Width() - 2, client.top, client.right, client.top + height + 6), back);
    dc.Detach();
    return TRUE;
}

// Draw mode 2: every item here, the selection last so that it lies over its
// neighbours.
void CBaseTabCtrl::OnPaint()
{
    if (m_drawMode != kDrawnHere)
    {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    dc.SelectObject(reinterpret_cast<HGDIOBJ>(GetFont()));
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_TAB;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID());
    dis.hwndItem = m_hWnd;
    dis.hDC = dc;
    dis.itemAction = ODA_DRAWENTIRE;
    GetClientRect(&dis.rcItem);
    AdjustRect(FALSE, &dis.rcItem);
    int selected = GetCurSel();
    int count = GetItemCount();
    if (selected < 0 || count == 0)
        return;
    for (int i = count - 1; i >= 0; --i)
    {
        if (i == selected)
            continue;
        dis.itemID = static_cast<UINT>(i);
        dis.itemState = 0;
        GetItemRect(i, &dis.rcItem);
        DrawItem(&dis);
        DrawTabEdges(&dis);
    }
    dis.itemID = static_cast<UINT>(selected);
    dis.itemState = ODS_SELECTED;
    GetItemRect(selected, &dis.rcItem);
    DrawItem(&dis);
    DrawTabEdges(&dis);
}

//--- CDrawTabCtrl

void CDrawTabCtrl::SetDrawStyle(bool enable, DWORD style)
{
    m_drawStyle = enable ? style : 0;
    m_selColor = GetTabColor(true);
    m_selLight = ScaleColor(m_selColor, 1.5);
    m_selDark = ScaleColor(m_selColor, 0.75);
    m_tabColor = GetTabColor(false);
    m_tabLight = ScaleColor(m_tabColor, 1.5);
    m_tabDark = ScaleColor(m_tabColor, 0.75);
}

void CDrawTabCtrl::PreSubclassWindow()
{
    CBaseTabCtrl::PreSubclassWindow();
    if (m_drawStyle != 0)
        ModifyStyle(0, TCS_OWNERDRAWFIXED);
}

COLORREF CDrawTabCtrl::GetTabColor(bool selected) const
{
    COLORREF base = (m_drawStyle & TabDrawBackColor) ? EffectiveBackColor() : ButtonFace();
    if (selected)
        return (m_drawStyle & TabDrawLightSelection) ? ScaleColor(base, 1.4) : ButtonFace();
    if ((m_drawStyle & TabDrawBackTabs) || !(m_drawStyle & TabDrawFlat))
        return ScaleColor(base, 0.9);
    return EffectiveBackColor();
}

COLORREF CDrawTabCtrl::GetTabTextColor(bool selected) const
{
    if (selected)
        return ::GetSysColor(COLOR_WINDOWTEXT);
    COLORREF base = (m_drawStyle & (TabDrawBackColor | TabDrawFlat)) ? EffectiveBackColor() : ButtonFace();
    return ScaleColor(base, 0.2);
}

void CDrawTabCtrl::DrawFace(HDC hdc, const RECT& rc, bool selected) const
{
    CDC dc;
    dc.Attach(hdc);
    bool gradient = (m_drawStyle & TabDrawGradient) && dc.GetDeviceCaps(BITSPIXEL) >= 16;
    if (!gradient || !selected)
    {
        dc.FillSolidRect(&rc, selected ? m_selColor : m_tabColor);
        dc.Detach();
        return;
    }
    // Bands 2 pixels high from the selection colour down to the button face.
    COLORREF face = ButtonFace();
    int height = rc.bottom - rc.top;
    auto mix = [height](int from, int to, int y) { return from + (to - from) * y / height; };
    for (int y = 0; y < height; y += 2)
    {
        COLORREF band = RGB(mix(GetRValue(m_selColor), GetRValue(face), y),
                            mix(GetGValue(m_selColor), GetGValue(face), y),
                            mix(GetBValue(m_selColor), GetBValue(face), y));
        dc.FillSolidRect(CRect(rc.left, rc.top + y, rc.right, std::min<LONG>(rc.top + y + 2, rc.bottom)), band);
    }
    dc.Detach();
}

void CDrawTabCtrl::DrawItem(LPDRAWITEMSTRUCT lpDis)
{
    bool selected = static_cast<int>(lpDis->itemID) == GetCurSel();
    CRect rc(lpDis->rcItem);
    if (m_position == kBottom)
        rc.top += 2;
    else
        rc.bottom += 2;
    DrawFace(lpDis->hDC, rc, selected);
    rc.left += 3;
    rc.top += 2;
    ::SetBkMode(lpDis->hDC, TRANSPARENT);

    char text[kMaxDrawnText] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = kMaxDrawnText;
    if (!GetItem(static_cast<int>(lpDis->itemID), &item))
        return;
    LPCSTR drawn = item.pszText != nullptr ? item.pszText : text;
    HIMAGELIST hImages = GetImageList();
    if (hImages != nullptr)
    {
        ImageList_Draw(hImages, item.iImage, lpDis->hDC, rc.left, rc.top - 2, ILD_TRANSPARENT);
        // The text begins right of the whole image: the images of the
        // strips fill their cells nearly to the right edge.
        int cx = 0, cy = 0;
        ImageList_GetIconSize(hImages, &cx, &cy);
        rc.left += std::max(cx, kMinImageStep);
    }
    rc.right -= 3;
    ::SetTextColor(lpDis->hDC, GetTabTextColor(selected));
    int length = static_cast<int>(::strnlen(drawn, kMaxDrawnText - 1));
    DrawCaption(lpDis->hDC, drawn, length, rc);
}

// Centred when it fits; a caption wider than its room (a fixed item width)
// starts at the room's left edge, so that its beginning reads, and is cut
// at the right edge as the system cuts its own tabs.
void CDrawTabCtrl::DrawCaption(HDC hdc, LPCSTR text, int length, const RECT& room)
{
    SIZE extent = {};
    ::GetTextExtentPoint32A(hdc, text, length, &extent);
    UINT format = DT_NOPREFIX | DT_SINGLELINE;
    format |= extent.cx <= room.right - room.left ? DT_CENTER : DT_LEFT;
    RECT rc = room;
    ::DrawTextA(hdc, text, length, &rc, format);
}

void CDrawTabCtrl::DrawFrameBorder(LPDRAWITEMSTRUCT lpDis)
{
    CDC dc;
    dc.Attach(lpDis->hDC);
    dc.Draw3dRect(&lpDis->rcItem, m_tabLight, m_tabDark);
    dc.Detach();
}

void CDrawTabCtrl::DrawTabEdges(LPDRAWITEMSTRUCT lpDis)
{
    if (m_drawStyle == 0)
        return;
    CDC dc;
    dc.Attach(lpDis->hDC);
    const RECT& rc = lpDis->rcItem;
    bool selected = (lpDis->itemState & ODS_SELECTED) != 0;
    if (selected || (m_drawStyle & TabDrawBackTabs))
        dc.FillSolidRect(CRect(rc.right - 1, rc.top, rc.right, rc.bottom + 3), m_selLight);
    else
    {
        dc.FillSolidRect(CRect(rc.left - 1, rc.top, rc.left, rc.bottom), m_tabDark);
        dc.FillSolidRect(CRect(rc.right - 1, rc.top, rc.right, rc.bottom), m_tabDark);
    }
    dc.Detach();
}
