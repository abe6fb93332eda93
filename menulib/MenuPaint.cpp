// Measuring and painting of owner-drawn menu items, titles and glyphs.
#include "menulib/MenuTheme.h"

#include <algorithm>

#include "menulib/NewMenu.h"

namespace {

//--- Small GDI helpers

// A GDI object selected into a context for a scope, deleted afterwards when
// owned.
class SelectedObject
{
public:
    SelectedObject(HDC hDC, HGDIOBJ hObject, bool bOwned = true)
        : m_hDC(hDC), m_hObject(hObject), m_bOwned(bOwned)
    {
        m_hOld = ::SelectObject(hDC, hObject);
    }
    ~SelectedObject()
    {
        ::SelectObject(m_hDC, m_hOld);
        if (m_bOwned)
            ::DeleteObject(m_hObject);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hObject;
    HGDIOBJ m_hOld;
    bool m_bOwned;
};

void FillSolid(HDC hDC, const RECT& rc, COLORREF cr)
{
    HBRUSH hBrush = ::CreateSolidBrush(cr);
    ::FillRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
}

// A one-pixel frame: crTopLeft on the top and left edges, crBottomRight on
// the others.
void Draw3dFrame(HDC hDC, const RECT& rc, COLORREF crTopLeft, COLORREF crBottomRight)
{
    int w = rc.right - rc.left;
    int h = rc.bottom - rc.top;
    FillSolid(hDC, { rc.left, rc.top, rc.left + w - 1, rc.top + 1 }, crTopLeft);
    FillSolid(hDC, { rc.left, rc.top, rc.left + 1, rc.top + h - 1 }, crTopLeft);
    FillSolid(hDC, { rc.right - 1, rc.top, rc.right, rc.bottom }, crBottomRight);
    FillSolid(hDC, { rc.left, rc.bottom - 1, rc.right, rc.bottom }, crBottomRight);
}

void FrameWithPen(HDC hDC, const RECT& rc, HPEN hPen)
{
    SelectedObject pen(hDC, hPen, false);
    SelectedObject brush(hDC, ::GetStockObject(HOLLOW_BRUSH), false);
    ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
}

HFONT CreateMenuFont(BOOL bBold)
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (bBold)
        ncm.lfMenuFont.lfWeight = FW_BOLD;
    return ::CreateFontIndirectA(&ncm.lfMenuFont);
}

HFONT CreateTitleFont(BOOL bVertical)
{
    LOGFONTA lf = {};
    lf.lfHeight = 0;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    if (bVertical)
    {
        lf.lfEscapement = 900;
        lf.lfOrientation = 900;
    }
    // "ＭＳ ゴシック" in cp932.
    static const char kFace[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
    lstrcpynA(lf.lfFaceName, kFace, LF_FACESIZE);
    return ::CreateFontIndirectA(&lf);
}

SIZE MeasureText(HDC hDC, HFONT hFont, const CString& text)
{
    SIZE size = { 0, 0 };
    SelectedObject font(hDC, hFont, false);
    RECT rc = { 0, 0, 0, 0 };
    ::DrawTextA(hDC, text, text.GetLength(), &rc, DT_SINGLELINE | DT_CALCRECT | DT_EXPANDTABS);
    size.cx = rc.right - rc.left;
    size.cy = rc.bottom - rc.top;
    return size;
}

CNewMenuItemData* RecordOf(CNewMenu* pMenu, ULONG_PTR nItemData)
{
    // Only records of this menu, or for a popup item of its parent, are
    // trusted as item data.
    if (pMenu == nullptr)
        return nullptr;
    const void* pData = reinterpret_cast<const void*>(nItemData);
    if (CNewMenuItemData* pRecord = pMenu->FindRecord(pData))
        return pRecord;
    CNewMenu* pParent = CNewMenu::FromHandleNew(pMenu->GetParentMenu());
    return pParent != nullptr ? pParent->FindRecord(pData) : nullptr;
}

BOOL IsSystemCommand(UINT nID)
{
    UINT nBase = nID & 0xFFF0;
    return nBase >= 0xF000 && nBase <= 0xF150;
}

// The caption (before the first tab) and accelerator (after the last tab).
void SplitText(const CString& text, CString& rCaption, CString& rAccel)
{
    int nFirst = text.Find('\t');
    if (nFirst < 0)
    {
        rCaption = text;
        rAccel.Empty();
        return;
    }
    rCaption = text.Left(nFirst);
    rAccel = text.Mid(text.ReverseFind('\t') + 1);
}

BOOL IsRadioItem(CNewMenu* pMenu, UINT nID)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_CHECKMARKS;
    if (!::GetMenuItemInfoA(pMenu->m_hMenu, nID, FALSE, &info))
        return FALSE;
    return (info.fType & MFT_RADIOCHECK) != 0 || info.hbmpChecked != nullptr;
}

//--- Measuring

enum class HeightRule { Classic, Plain };

void MeasureWith(CNewMenu* pMenu, LPMEASUREITEMSTRUCT lpMis, BOOL bMenuBar, HeightRule rule)
{
    CNewMenuItemData* pRecord = RecordOf(pMenu, lpMis->itemData);
    if (pRecord == nullptr)
    {
        lpMis->itemWidth = 0;
        lpMis->itemHeight = static_cast<UINT>(::GetSystemMetrics(SM_CYMENU));
        return;
    }
    HDC hDC = ::GetDC(nullptr);
    if (pRecord->m_nFlags & MF_SEPARATOR)
    {
        if (pRecord->m_nTitleFlags & CNewMenuItemData::kTitle)
        {
            HFONT hFont = CreateTitleFont(FALSE);
            SIZE size = MeasureText(hDC, hFont, pRecord->m_strText);
            ::DeleteObject(hFont);
            int nEtched = (pRecord->m_nTitleFlags & CNewMenuItemData::kTitleEtched) ? 8 : 0;
            if (pRecord->m_nTitleFlags & CNewMenuItemData::kTitleVertical)
            {
                lpMis->itemWidth = static_cast<UINT>(
                    std::max(0L, size.cy - ::GetSystemMetrics(SM_CXMENUCHECK) + nEtched));
                lpMis->itemHeight = 0;
            }
            else
            {
                lpMis->itemWidth = static_cast<UINT>(size.cx);
                lpMis->itemHeight = static_cast<UINT>(size.cy + nEtched);
            }
        }
        else
        {
            lpMis->itemHeight = 3;
        }
        ::ReleaseDC(nullptr, hDC);
        return;
    }

    HFONT hFont = CreateMenuFont((pRecord->m_nFlags & MF_MENUBARBREAK) != 0);
    SIZE size = MeasureText(hDC, hFont, pRecord->m_strText);
    ::DeleteObject(hFont);
    ::ReleaseDC(nullptr, hDC);
    int nWidth = bMenuBar ? size.cx - 8 : size.cx + 2 * pMenu->GetIconWidth() + 2;
    if (pRecord->m_strText.Find('\t') >= 0)
        nWidth += 15;
    int nHeight = ::GetSystemMetrics(SM_CYMENU);
    if (rule == HeightRule::Classic)
        nHeight = std::max(nHeight, pMenu->GetIconHeight() + 4);
    lpMis->itemWidth = static_cast<UINT>(std::max(0, nWidth));
    lpMis->itemHeight = static_cast<UINT>(nHeight);

    // The system commands share the width of the widest later item.
    if (IsSystemCommand(lpMis->itemID))
    {
        const auto& items = pMenu->Items();
        UINT nWidest = lpMis->itemWidth;
        bool bAfter = false;
        for (const auto& pItem : items)
        {
            if (pItem.get() == pRecord)
            {
                bAfter = true;
                continue;
            }
            if (!bAfter || pItem->m_nID == 0 || (pItem->m_nFlags & MF_SEPARATOR))
                continue;
            MEASUREITEMSTRUCT mis = *lpMis;
            mis.itemID = 0;  // measured as a plain item
            mis.itemData = reinterpret_cast<ULONG_PTR>(pItem.get());
            MeasureWith(pMenu, &mis, bMenuBar, rule);
            nWidest = std::max(nWidest, mis.itemWidth);
        }
        lpMis->itemWidth = nWidest;
        lpMis->itemHeight = static_cast<UINT>(::GetSystemMetrics(SM_CYMENU));
    }
}

} // namespace

void MeasureItemClassic(CNewMenu* pMenu, LPMEASUREITEMSTRUCT lpMis, BOOL bMenuBar)
{
    MeasureWith(pMenu, lpMis, bMenuBar, HeightRule::Classic);
}

void MeasureItemFlat(CNewMenu* pMenu, LPMEASUREITEMSTRUCT lpMis, BOOL bMenuBar)
{
    MeasureWith(pMenu, lpMis, bMenuBar, HeightRule::Plain);
}

void MeasureItemGradient(CNewMenu* pMenu, LPMEASUREITEMSTRUCT lpMis, BOOL bMenuBar)
{
    MeasureWith(pMenu, lpMis, bMenuBar, HeightRule::Plain);
}

//--- Flat and gradient painters

namespace {

struct FlatLook
{
    bool bGradient;
};

void DrawItemText(HDC hDC, const CString& text, const RECT& rcText, const RECT& rcSelect, BOOL bMenuBar,
                  UINT nState, COLORREF crText)
{
    CString caption;
    CString accel;
    SplitText(text, caption, accel);
    SelectedObject font(hDC, CreateMenuFont((nState & ODS_DEFAULT) != 0));
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, crText);
    RECT rc = bMenuBar ? rcSelect : rcText;
    if (bMenuBar)
    {
        ::DrawTextA(hDC, caption, caption.GetLength(), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    ::DrawTextA(hDC, caption, caption.GetLength(), &rc, DT_VCENTER | DT_SINGLELINE);
    if (!accel.IsEmpty())
        ::DrawTextA(hDC, accel, accel.GetLength(), &rc, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
}

struct FlatImageColumn
{
    RECT rcIcon;
    COLORREF crBox;         // behind a checked image or check glyph
    COLORREF crIconColumn;
    HPEN hPen;
};

// The image, check or system glyph of a popup item in the icon column.
void DrawFlatImageColumn(CNewMenu* pMenu, LPDRAWITEMSTRUCT lpDis, const CNewMenuItemData& record, UINT nState,
                         BOOL bSelected, const FlatImageColumn& c)
{
    HDC hDC = lpDis->hDC;
    BOOL bChecked = (nState & ODS_CHECKED) != 0;
    RECT rcBox = c.rcIcon;
    ::InflateRect(&rcBox, -1, -1);
    CImageList* pChecks = pMenu->GetCheckImages();
    BOOL bUseChecks = pChecks != nullptr && bChecked && !record.HasImage() &&
                      (pMenu->GetAlwaysCheck() > 0 || (bSelected && pMenu->GetSelectCheck() > 0));
    if (bUseChecks)
    {
        ImageList_Draw(pChecks->GetSafeHandle(), bSelected ? 1 : 0, hDC, c.rcIcon.left + 3, c.rcIcon.top - 2,
                       ILD_TRANSPARENT);
    }
    else if (record.HasImage())
    {
        if (bChecked)
        {
            FillSolid(hDC, rcBox, c.crBox);
            FrameWithPen(hDC, rcBox, c.hPen);
        }
        int x = c.rcIcon.left + 3;
        int y = c.rcIcon.top + 1;
        HICON hIcon = ImageList_GetIcon(record.GetImageList(), record.GetImageIndex(), ILD_NORMAL);
        if (hIcon != nullptr)
        {
            UINT nFlags = DST_ICON | ((nState & ODS_DISABLED) ? DSS_DISABLED : DSS_NORMAL);
            HBRUSH hBrush = ::CreateSolidBrush(c.crIconColumn);
            ::DrawStateA(hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, x, y, 0, 0, nFlags);
            ::DeleteObject(hBrush);
            ::DestroyIcon(hIcon);
        }
    }
    else if (bChecked)
    {
        FillSolid(hDC, rcBox, c.crBox);
        FrameWithPen(hDC, rcBox, c.hPen);
        ::InflateRect(&rcBox, -1, -1);
        CNewMenu::DrawCheckGlyph(hDC, rcBox, nState, IsRadioItem(pMenu, lpDis->itemID));
    }
    else if (IsSystemCommand(lpDis->itemID))
    {
        CNewMenu::DrawSystemGlyphFlat(hDC, c.rcIcon, lpDis->itemID, nState);
    }
}

void DrawItemFlatLook(CNewMenu* pMenu, LPDRAWITEMSTRUCT lpDis, BOOL bMenuBar, const FlatLook& look)
{
    CNewMenuItemData* pRecord = RecordOf(pMenu, lpDis->itemData);
    if (pRecord == nullptr)
        return;
    HDC hDC = lpDis->hDC;
    UINT nState = lpDis->itemState;
    COLORREF crWindow = ::GetSysColor(COLOR_WINDOW);
    COLORREF crBack = GetMenuBackColor();
    COLORREF crItemBack = MixColors86(crWindow, crBack);
    COLORREF crIconColumn = MixColors86(crBack, crWindow);
    COLORREF crSelect = look.bGradient ? RGB(253, 239, 195) : MixColors70(crWindow, ::GetSysColor(COLOR_HIGHLIGHT));
    if (::GetNearestColor(hDC, crItemBack) == ::GetNearestColor(hDC, crIconColumn))
    {
        crItemBack = crWindow;
        crIconColumn = crBack;
    }
    COLORREF crPen = ::GetSysColor(COLOR_HIGHLIGHT);

    if (bMenuBar)
    {
        if (pMenu->GetOpenPopups() == 0 && (nState & ODS_SELECTED))
            nState = (nState & ~ODS_SELECTED) | ODS_HOTLIGHT;
        if (!(nState & ODS_HOTLIGHT))
            crSelect = crIconColumn;
        crItemBack = crBack;
    }

    RECT rcItem = lpDis->rcItem;
    RECT rcSelect = rcItem;
    RECT rcText = rcItem;
    RECT rcIcon = rcItem;
    if (bMenuBar)
    {
        rcSelect.right -= 7;
        rcText.right -= 7;
    }
    else
    {
        rcIcon.right = rcIcon.left + pMenu->GetIconWidth() + 8;
        if (look.bGradient)
            FillGradient(hDC, rcIcon, RGB(255, 255, 255), RGB(100, 140, 200), TRUE);
        else
            FillSolid(hDC, rcIcon, crIconColumn);
        rcText.left = rcIcon.right;
    }
    FillSolid(hDC, rcText, crItemBack);
    if (!bMenuBar)
    {
        rcText.left += 4;
        rcText.right -= 15;
    }

    BOOL bSelected = (nState & (ODS_SELECTED | ODS_HOTLIGHT | ODS_INACTIVE)) != 0;
    if (bMenuBar && bSelected && !(nState & ODS_INACTIVE) && ::GetForegroundWindow() != nullptr)
    {
        pMenu->RecordMenuBarItemRect(hDC, rcItem);
        if (!(nState & ODS_HOTLIGHT))
            crPen = DarkenColor(128, crBack);
    }
    HPEN hPen = ::CreatePen(PS_SOLID, 1, crPen);

    if (pRecord->m_nFlags & MF_SEPARATOR)
    {
        if (pRecord->m_nTitleFlags & CNewMenuItemData::kTitle)
        {
            pMenu->DrawTitle(lpDis, bMenuBar);
        }
        else
        {
            int y = (rcText.top + rcText.bottom) / 2;
            FillSolid(hDC, { rcText.left, y, rcItem.right + 1, y + 1 },
                      look.bGradient ? RGB(100, 140, 200) : ::GetSysColor(COLOR_GRAYTEXT));
        }
        ::DeleteObject(hPen);
        return;
    }

    if (bSelected && !(nState & ODS_INACTIVE))
    {
        FillSolid(hDC, rcSelect, crSelect);
        FrameWithPen(hDC, rcSelect, hPen);
    }
    if (!pRecord->m_strText.IsEmpty())
    {
        COLORREF crText = ::GetSysColor(COLOR_MENUTEXT);
        if ((nState & ODS_GRAYED) || (bMenuBar && (nState & ODS_INACTIVE)))
            crText = look.bGradient ? RGB(133, 133, 133) : ::GetSysColor(COLOR_GRAYTEXT);
        DrawItemText(hDC, pRecord->m_strText, rcText, rcSelect, bMenuBar, nState, crText);
    }

    if (!bMenuBar)
    {
        COLORREF crBox = look.bGradient ? crSelect : ShadeMenuColor(bSelected ? crSelect : crItemBack);
        FlatImageColumn column = { rcIcon, crBox, crIconColumn, hPen };
        DrawFlatImageColumn(pMenu, lpDis, *pRecord, nState, bSelected, column);
    }
    ::DeleteObject(hPen);
}

} // namespace

void DrawItemFlat(CNewMenu* pMenu, LPDRAWITEMSTRUCT lpDis, BOOL bMenuBar)
{
    DrawItemFlatLook(pMenu, lpDis, bMenuBar, FlatLook{ false });
}

void DrawItemGradient(CNewMenu* pMenu, LPDRAWITEMSTRUCT lpDis, BOOL bMenuBar)
{
    DrawItemFlatLook(pMenu, lpDis, bMenuBar, FlatLook{ true });
}

//--- Classic painter

namespace {

void DrawClassicText(HDC hDC, const CString& text, RECT rc, UINT nFormat, UINT nState, BOOL bSelected,
                     COLORREF crBack, COLORREF crText)
{
    ::SetBkMode(hDC, TRANSPARENT);
    if (nState & ODS_GRAYED)
    {
        if (bSelected)
        {
            ::SetTextColor(hDC, crBack);
        }
        else
        {
            // Embossed: a highlight one pixel down and right, then the grey.
            RECT rcShadow = rc;
            ::OffsetRect(&rcShadow, 1, 1);
            ::SetTextColor(hDC, ::GetSysColor(COLOR_BTNHIGHLIGHT));
            ::DrawTextA(hDC, text, text.GetLength(), &rcShadow, nFormat);
            ::SetTextColor(hDC, ::GetSysColor(COLOR_GRAYTEXT));
        }
    }
    else
    {
        ::SetTextColor(hDC, crText);
    }
    ::DrawTextA(hDC, text, text.GetLength(), &rc, nFormat);
}

} // namespace

void DrawItemClassic(CNewMenu* pMenu, LPDRAWITEMSTRUCT lpDis, BOOL bMenuBar)
{
    CNewMenuItemData* pRecord = RecordOf(pMenu, lpDis->itemData);
    if (pRecord == nullptr)
        return;
    HDC hDC = lpDis->hDC;
    UINT nState = lpDis->itemState;
    COLORREF crBack = bMenuBar ? GetMenuBackColor() : ::GetSysColor(COLOR_MENU);
    if (bMenuBar && pMenu->GetOpenPopups() == 0 && (nState & ODS_SELECTED))
        nState = (nState & ~ODS_SELECTED) | ODS_HOTLIGHT;
    BOOL bSelected = (nState & ODS_SELECTED) != 0;
    BOOL bChecked = (nState & ODS_CHECKED) != 0;
    BOOL bActive = ::GetForegroundWindow() != nullptr;

    RECT rcItem = lpDis->rcItem;
    RECT rcText = rcItem;
    rcText.left += 1;
    int nIconX = pMenu->GetIconWidth();
    int nIconY = pMenu->GetIconHeight();
    RECT rcFrame = rcItem;
    if (bMenuBar)
    {
        rcFrame.right -= 5;
        ::OffsetRect(&rcFrame, 1, -1);
        if (nState & (ODS_SELECTED | ODS_HOTLIGHT))
            pMenu->RecordMenuBarItemRect(hDC, rcItem);
    }

    if (pRecord->m_nFlags & MF_SEPARATOR)
    {
        if (pRecord->m_nTitleFlags & CNewMenuItemData::kTitle)
        {
            pMenu->DrawTitle(lpDis, bMenuBar);
            return;
        }
        RECT rc = rcItem;
        rc.left += 1;
        FillSolid(hDC, rc, crBack);
        ::DrawEdge(hDC, &rc, EDGE_ETCHED, BF_TOP);
        return;
    }

    FillSolid(hDC, rcItem, crBack);
    BOOL bHasImage = pRecord->HasImage();
    CImageList* pChecks = pMenu->GetCheckImages();
    BOOL bUseChecks = pChecks != nullptr && bChecked && !bHasImage &&
                      (pMenu->GetAlwaysCheck() > 0 || (bSelected && pMenu->GetSelectCheck() > 0));
    if (!bMenuBar && bSelected)
    {
        RECT rc = rcItem;
        if (bHasImage || bUseChecks || bChecked)
            rc.left += nIconX + 6;
        FillSolid(hDC, rc, ::GetSysColor(COLOR_HIGHLIGHT));
    }
    else if (bMenuBar && bSelected)
    {
        Draw3dFrame(hDC, rcFrame, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    else if (bMenuBar && (nState & ODS_HOTLIGHT) && bActive)
    {
        Draw3dFrame(hDC, rcFrame, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    }

    if (!bMenuBar)
    {
        int nItemHeight = rcItem.bottom - rcItem.top;
        RECT rcBox = { rcItem.left + 3, rcItem.top + (nItemHeight - nIconY) / 4 + 1, 0, 0 };
        rcBox.right = rcBox.left + nIconX;
        rcBox.bottom = rcBox.top + nIconY;
        RECT rcOuter = rcBox;
        ::InflateRect(&rcOuter, 2, 2);
        if (bUseChecks)
        {
            ImageList_Draw(pChecks->GetSafeHandle(), bSelected ? 1 : 0, hDC, rcOuter.left, rcOuter.top,
                           ILD_TRANSPARENT);
        }
        else if (bHasImage)
        {
            if (bChecked)
                Draw3dFrame(hDC, rcOuter, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
            else if (bSelected)
                Draw3dFrame(hDC, rcOuter, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
            HIMAGELIST hList = pRecord->GetImageList();
            const int nImage = pRecord->GetImageIndex();
            if (nState & ODS_DISABLED)
            {
                HICON hIcon = ImageList_GetIcon(hList, nImage, ILD_NORMAL);
                if (hIcon != nullptr)
                {
                    ::DrawStateA(hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, rcBox.left,
                                 rcBox.top, 0, 0, DST_ICON | DSS_DISABLED);
                    ::DestroyIcon(hIcon);
                }
            }
            else
            {
                ImageList_Draw(hList, nImage, hDC, rcBox.left, rcBox.top, ILD_TRANSPARENT);
            }
        }
        else if (bChecked)
        {
            if (bSelected)
                Draw3dFrame(hDC, rcOuter, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
            CNewMenu::DrawCheckGlyphClassic(hDC, rcBox, nState, IsRadioItem(pMenu, lpDis->itemID));
        }
        else if (IsSystemCommand(lpDis->itemID))
        {
            CNewMenu::DrawSystemGlyph(hDC, rcBox, lpDis->itemID, nState);
        }
    }

    CString caption;
    CString accel;
    SplitText(pRecord->m_strText, caption, accel);
    SelectedObject font(hDC, CreateMenuFont((nState & ODS_DEFAULT) != 0));
    COLORREF crText = ::GetSysColor(COLOR_MENUTEXT);
    if (bMenuBar)
    {
        if (!bActive)
            crText = ::GetSysColor(COLOR_GRAYTEXT);
        RECT rc = rcFrame;
        if (bSelected)
            ::OffsetRect(&rc, 1, 1);
        DrawClassicText(hDC, caption, rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE, nState, bSelected, crBack,
                        crText);
        return;
    }
    if (bSelected)
        crText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    rcText.left = rcItem.left + nIconX + 12;
    rcText.top = rcItem.top - 1;
    rcText.bottom = rcItem.bottom - 1;
    DrawClassicText(hDC, caption, rcText, DT_VCENTER | DT_SINGLELINE, nState, bSelected, crBack, crText);
    if (!accel.IsEmpty())
    {
        rcText.right -= nIconX;
        DrawClassicText(hDC, accel, rcText, DT_RIGHT | DT_VCENTER | DT_SINGLELINE, nState, bSelected, crBack,
                        crText);
    }
}

//--- Titles

void DrawMenuTitle(CNewMenu* pMenu, LPDRAWITEMSTRUCT lpDis, BOOL)
{
    CNewMenuItemData* pRecord = RecordOf(pMenu, lpDis->itemData);
    if (pRecord == nullptr)
        return;
    HDC hDC = lpDis->hDC;
    UINT nFlags = pRecord->m_nTitleFlags;
    BOOL bVertical = (nFlags & CNewMenuItemData::kTitleVertical) != 0;
    RECT rc = lpDis->rcItem;
    if (bVertical)
    {
        RECT rcClip;
        ::GetClipBox(hDC, &rcClip);
        rc.top = rcClip.top;
        rc.bottom = rcClip.bottom;
        rc.right += ::GetSystemMetrics(SM_CXMENUCHECK);
    }
    COLORREF crCaption = ::GetSysColor(COLOR_ACTIVECAPTION);
    COLORREF crMix = MixColors86(::GetSysColor(COLOR_WINDOW), GetMenuBackColor());

    SelectedObject font(hDC, CreateTitleFont(bVertical));
    SIZE size = MeasureText(hDC, static_cast<HFONT>(::GetCurrentObject(hDC, OBJ_FONT)), pRecord->m_strText);
    POINT ptText = bVertical ? POINT{ rc.left + 2, rc.bottom - 4 } : POINT{ rc.left + 2, rc.top };

    if (nFlags & CNewMenuItemData::kTitleGradient)
    {
        if (bVertical)
            FillGradient(hDC, rc, crMix, crCaption, FALSE);
        else
            FillGradient(hDC, rc, crCaption, crMix, TRUE);
    }
    else if (nFlags & CNewMenuItemData::kTitleRounded)
    {
        RECT rcBox = rc;
        if (bVertical)
        {
            ptText.y -= 2;
            rcBox.right = rcBox.left + size.cy;
        }
        else
        {
            ptText.x += std::min(10L, (rc.right - rc.left - size.cx) / 2);
        }
        HBRUSH hBrush = ::CreateSolidBrush(crCaption);
        SelectedObject brush(hDC, hBrush);
        SelectedObject pen(hDC, ::GetStockObject(WHITE_PEN), false);
        ::RoundRect(hDC, rcBox.left, rcBox.top, rcBox.right, rcBox.bottom, 10, 10);
    }
    else
    {
        FillSolid(hDC, rc, crCaption);
    }
    if (nFlags & CNewMenuItemData::kTitleSunken)
        Draw3dFrame(hDC, rc, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));

    if (nFlags & CNewMenuItemData::kTitleCentred)
    {
        if (bVertical)
            ptText.y = rc.bottom - std::max(0L, ((rc.bottom - rc.top) - size.cx) / 2);
        else
            ptText.x = rc.left + std::max(0L, ((rc.right - rc.left) - size.cx) / 2);
    }
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ::GetSysColor(COLOR_CAPTIONTEXT));
    ::TextOutA(hDC, ptText.x, ptText.y, pRecord->m_strText, pRecord->m_strText.GetLength());

    if (nFlags & CNewMenuItemData::kTitleEtched)
    {
        COLORREF crLight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
        COLORREF crDark = ::GetSysColor(COLOR_BTNSHADOW);
        if (bVertical)
        {
            Draw3dFrame(hDC, { rc.left + 20, rc.top + 5, rc.left + 22, rc.bottom - 5 }, crLight, crDark);
            Draw3dFrame(hDC, { rc.left + 23, rc.top + 15, rc.left + 25, rc.bottom - 15 }, crLight, crDark);
        }
        else
        {
            Draw3dFrame(hDC, { rc.left + 2, rc.bottom - 7, rc.right - 2, rc.bottom - 5 }, crLight, crDark);
            Draw3dFrame(hDC, { rc.left + 12, rc.bottom - 4, rc.right - 12, rc.bottom - 2 }, crLight, crDark);
        }
    }
}

//--- Glyphs

void CNewMenu::DrawMarlettGlyph(HDC hDC, const RECT& rc, char ch, BOOL bBold)
{
    RECT rcGlyph = rc;
    ::InflateRect(&rcGlyph, -2, -2);
    LOGFONTA lf = {};
    lf.lfHeight = -(rcGlyph.bottom - rcGlyph.top);
    lf.lfWeight = bBold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = SYMBOL_CHARSET;
    lstrcpynA(lf.lfFaceName, "Marlett", LF_FACESIZE);
    SelectedObject font(hDC, ::CreateFontIndirectA(&lf));
    ::SetBkMode(hDC, TRANSPARENT);
    RECT rcText = rc;
    ::DrawTextA(hDC, &ch, 1, &rcText, DT_CENTER | DT_SINGLELINE);
}

void CNewMenu::DrawCheckGlyph(HDC hDC, const RECT& rc, UINT nState, BOOL bRadio)
{
    BOOL bGray = (nState & (ODS_GRAYED | ODS_INACTIVE)) != 0;
    ::SetTextColor(hDC, ::GetSysColor(bGray ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
    DrawMarlettGlyph(hDC, rc, bRadio ? 'i' : 'b', (nState & ODS_DEFAULT) != 0);
}

void CNewMenu::DrawCheckGlyphClassic(HDC hDC, const RECT& rc, UINT nState, BOOL bRadio)
{
    RECT rcEdge = rc;
    ::InflateRect(&rcEdge, -1, -1);
    ::DrawEdge(hDC, &rcEdge, BDR_SUNKENOUTER, BF_RECT);
    RECT rcGlyph = rc;
    ::InflateRect(&rcGlyph, 2, 2);
    if (!bRadio)
        ::OffsetRect(&rcGlyph, 1, 2);
    BOOL bGray = (nState & (ODS_GRAYED | ODS_INACTIVE)) != 0;
    ::SetTextColor(hDC, ::GetSysColor(bGray ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
    DrawMarlettGlyph(hDC, rcGlyph, bRadio ? 'i' : 'b', (nState & ODS_DEFAULT) != 0);
}

namespace {

char SystemGlyphFor(UINT nID)
{
    switch (nID & 0xFFF0)
    {
    case SC_CLOSE: return 'r';
    case SC_MINIMIZE: return '0';
    case SC_MAXIMIZE: return '1';
    case SC_RESTORE: return '2';
    default: return '\0';
    }
}

} // namespace

void CNewMenu::DrawSystemGlyph(HDC hDC, const RECT& rc, UINT nID, UINT nState)
{
    char ch = SystemGlyphFor(nID);
    if (ch == '\0')
        return;
    int nColor = COLOR_MENUTEXT;
    if (nState & (ODS_GRAYED | ODS_INACTIVE))
        nColor = COLOR_GRAYTEXT;
    else if (nState & ODS_SELECTED)
        nColor = COLOR_HIGHLIGHTTEXT;
    ::SetTextColor(hDC, ::GetSysColor(nColor));
    DrawMarlettGlyph(hDC, rc, ch, (nState & ODS_DEFAULT) != 0);
}

void CNewMenu::DrawSystemGlyphFlat(HDC hDC, const RECT& rc, UINT nID, UINT nState)
{
    char ch = SystemGlyphFor(nID);
    if (ch == '\0')
        return;
    BOOL bBold = (nState & ODS_DEFAULT) != 0;
    if (nState & (ODS_GRAYED | ODS_INACTIVE))
    {
        ::SetTextColor(hDC, ::GetSysColor(COLOR_GRAYTEXT));
        DrawMarlettGlyph(hDC, rc, ch, bBold);
        return;
    }
    if (nState & ODS_SELECTED)
    {
        // A raised look: the grey glyph, then the glyph 2 pixels up and left.
        ::SetTextColor(hDC, ::GetSysColor(COLOR_GRAYTEXT));
        DrawMarlettGlyph(hDC, rc, ch, bBold);
        RECT rcUp = rc;
        ::OffsetRect(&rcUp, -2, -2);
        ::SetTextColor(hDC, ::GetSysColor(COLOR_MENUTEXT));
        DrawMarlettGlyph(hDC, rcUp, ch, bBold);
        return;
    }
    ::SetTextColor(hDC, ::GetSysColor(COLOR_MENUTEXT));
    DrawMarlettGlyph(hDC, rc, ch, bBold);
}
