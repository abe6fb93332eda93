#include "bars/ToolBarEx.h"

#include <algorithm>
#include <cstdlib>

#include "bars/BaseTabCtrl.h"
#include "bars/ToolBarPopup.h"
#include "framework/core/Cp932.h"
#include "menulib/NewMenu.h"
#include "shared/AppData.h"

namespace {

const int kMaxLayoutEntries = 128;
const int kEtcCustomize = 6;
const int kEtcLock = 7;
const int kEtcReset = 8;

} // namespace

CString ShortenBarText(const CString& text, int maxBytes, bool withEllipsis)
{
    return TruncateTabText(text, maxBytes, withEllipsis);
}

//--- CToolBarXP

BEGIN_MESSAGE_MAP(CToolBarXP, CToolBar)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CSize CToolBarXP::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    m_layoutMode = (dwMode & LM_VERTDOCK) ? kLayoutVertical : kLayoutHorizontal;
    CSize size = CToolBar::CalcDynamicLayout(nLength, dwMode);
    if (dwMode & LM_COMMIT)
        PlaceHostedControls(m_layoutMode == kLayoutHorizontal);
    m_layoutMode = kLayoutNone;
    return size;
}

// A separator with a command id stands for the child control of that id.
void CToolBarXP::PlaceHostedControls(bool horizontal)
{
    for (int i = 0, n = GetButtonCount(); i < n; ++i)
    {
        TBBUTTON button = {};
        if (!GetButton(i, &button) || !(button.fsStyle & TBSTYLE_SEP) || button.idCommand == 0)
            continue;
        HWND hControl = ::GetDlgItem(m_hWnd, button.idCommand);
        if (hControl == nullptr)
            continue;
        HideButton(button.idCommand, !horizontal);
        if (!horizontal)
        {
            ::ShowWindow(hControl, SW_HIDE);
            continue;
        }
        CRect rc;
        GetItemRect(i, &rc);
        ::InflateRect(&rc, -1, -1);
        ::SetWindowPos(hControl, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
}

//--- CToolBarEx

BEGIN_MESSAGE_MAP(CToolBarEx, CToolBarXP)
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_REBAR_CHEVRONPUSHED, OnChevronPushed)
    ON_MESSAGE(WM_REBAR_CONTEXTMENU, OnBandContextMenu)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
    ON_NOTIFY_REFLECT(TBN_GETINFOTIPA, OnGetInfoTip)
    ON_NOTIFY_REFLECT(TBN_BEGINADJUST, OnBeginAdjust)
    ON_NOTIFY_REFLECT(TBN_ENDADJUST, OnLayoutChanged)
    ON_NOTIFY_REFLECT(TBN_QUERYINSERT, OnQueryTrue)
    ON_NOTIFY_REFLECT(TBN_QUERYDELETE, OnQueryTrue)
    ON_NOTIFY_REFLECT(TBN_INITCUSTOMIZE, OnQueryTrue)
    ON_NOTIFY_REFLECT(TBN_GETBUTTONINFOA, OnGetButtonInfo)
    ON_NOTIFY_REFLECT(TBN_RESET, OnReset)
    ON_NOTIFY_REFLECT(TBN_TOOLBARCHANGE, OnLayoutChanged)
END_MESSAGE_MAP()

CToolBarEx::~CToolBarEx()
{
    if (m_ownsImages && m_hImages != nullptr)
        ImageList_Destroy(m_hImages);
}

BOOL CToolBarEx::Create(CWnd* pParent, DWORD dwStyle, UINT nID)
{
    const DWORD ctrlStyle = TBSTYLE_TRANSPARENT | TBSTYLE_FLAT | TBSTYLE_ALTDRAG | TBSTYLE_TOOLTIPS;
    if (!CreateEx(pParent, ctrlStyle, dwStyle & ~CBRS_TOOLTIPS, nID))
        return FALSE;
    SetExtendedStyle(TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_HIDECLIPPEDBUTTONS);
    return TRUE;
}

void CToolBarEx::GetButtonText(int, CString&)
{
}

void CToolBarEx::SetImageList(HIMAGELIST hImages)
{
    if (hImages == nullptr)
    {
        if (m_ownsImages && m_hImages != nullptr)
            ImageList_RemoveAll(m_hImages);
        else
        {
            m_hImages = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 1);
            m_ownsImages = m_hImages != nullptr;
        }
    }
    else if (m_hImages == nullptr)
    {
        m_hImages = hImages;
        m_ownsImages = false;
    }
}

void CToolBarEx::LoadImages(LPCSTR path, int count)
{
    CToolBarCtrlT<CControlBar>::SetImageList(nullptr);
    SetHotImageList(nullptr);
    HBITMAP hBitmap = static_cast<HBITMAP>(::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (hBitmap == nullptr)
        return;
    BITMAP bm = {};
    ::GetObjectA(hBitmap, sizeof(bm), &bm);
    int side = bm.bmHeight;
    SetBitmapSize(CSize(side, side));
    if (m_ownsImages)
    {
        if (m_hImages != nullptr)
            ImageList_Destroy(m_hImages);
        m_hImages = ImageList_Create(side, side, ILC_COLOR24 | ILC_MASK, count, 1);
        if (m_hImages != nullptr)
            ImageList_AddMasked(m_hImages, hBitmap, RGB(255, 0, 255));
    }
    CToolBarCtrlT<CControlBar>::SetImageList(m_hImages);
    ::DeleteObject(hBitmap);
}

// The text mode goes to the records before the control gets them, and the
// control gets them in one message: each added or deleted button makes it lay
// out (and measure) every button again.
void CToolBarEx::SetButtonTable(int count, const ToolButtonRecord* records, int textMode, bool refresh,
                                const CString& layout)
{
    DeleteAllButtons();
    m_table.assign(records, records + count);
    m_index.clear();
    for (int i = 0; i < count; ++i)
        m_index[records[i].button.idCommand] = i;
    SetTextMode(textMode, false);
    if (!layout.IsEmpty())
        AddLayoutButtons(layout);
    else
        AddDefaultButtons();
    if (refresh)
    {
        Refresh();
        UpdateBandSize();
    }
}

void CToolBarEx::AddDefaultButtons()
{
    std::vector<TBBUTTON> buttons;
    for (const ToolButtonRecord& record : m_table)
        if (record.shownByDefault)
            buttons.push_back(record.button);
    if (!buttons.empty())
        AddButtons(static_cast<int>(buttons.size()), buttons.data());
}

void CToolBarEx::SetTextMode(int mode, bool refresh)
{
    m_textMode = mode;
    const DWORD listStyle = TBSTYLE_LIST;
    ModifyStyle(mode == kTextRight ? 0 : listStyle, mode == kTextRight ? listStyle : 0);
    DWORD ex = GetExtendedStyle();
    SetExtendedStyle(mode == kTextRight ? ex | TBSTYLE_EX_MIXEDBUTTONS : ex & ~TBSTYLE_EX_MIXEDBUTTONS);
    SetMaxTextRows(mode == kTextHidden ? 0 : 1);
    for (ToolButtonRecord& record : m_table)
    {
        BYTE& style = record.button.fsStyle;
        if (style & TBSTYLE_SEP)
            continue;
        CString name;
        if (GetItemName(record.button, name))
            record.button.iString = AddString(name);
        switch (mode)
        {
        case kTextNone: style &= ~(BTNS_SHOWTEXT | BTNS_AUTOSIZE); break;
        case kTextRight:
            style |= BTNS_AUTOSIZE;
            if (HasTextOnRight(record.button.idCommand))
                style |= BTNS_SHOWTEXT;
            break;
        default: style = static_cast<BYTE>((style & ~BTNS_SHOWTEXT) | BTNS_AUTOSIZE); break;
        }
    }
    if (refresh)
    {
        Refresh();
        UpdateBandSize();
    }
}

BOOL CToolBarEx::GetButtonInfo(int nID, TBBUTTON& button) const
{
    if (button.fsStyle & TBSTYLE_SEP)
        return TRUE;
    for (const ToolButtonRecord& record : m_table)
        if (record.button.idCommand == nID)
        {
            button = record.button;
            return TRUE;
        }
    return FALSE;
}

void CToolBarEx::GetLayoutString(CString& out) const
{
    int count = GetButtonCount();
    if (count == 0)
        return;
    out.Empty();
    for (int i = 0; i < count; ++i)
    {
        TBBUTTON button = {};
        GetButton(i, &button);
        CString entry;
        entry.Format(i == 0 ? "%d" : "@%d", button.idCommand);
        out += entry;
    }
}

void CToolBarEx::SetLayoutString(const CString& layout)
{
    if (layout.IsEmpty())
        return;
    DeleteAllButtons();
    AddLayoutButtons(layout);
    UpdateBandSize();
}

void CToolBarEx::AddLayoutButtons(const CString& layout)
{
    CString rest = layout + "@";
    std::vector<TBBUTTON> buttons;
    for (int start = 0; static_cast<int>(buttons.size()) < kMaxLayoutEntries;)
    {
        int end = rest.Find('@', start);
        if (end < 0)
            break;
        int id = std::atoi(rest.Mid(start, end - start));
        start = end + 1;
        TBBUTTON button = {};
        if (id == 0)
            button.fsStyle = TBSTYLE_SEP;
        else
        {
            auto it = m_index.find(id);
            if (it != m_index.end())
                button = m_table[static_cast<size_t>(it->second)].button;
        }
        buttons.push_back(button);
    }
    if (!buttons.empty())
        AddButtons(static_cast<int>(buttons.size()), buttons.data());
}

void CToolBarEx::UpdateBandSize()
{
    AutoSize();
    int width = 0, height = 0;
    for (int i = 0, n = GetButtonCount(); i < n; ++i)
    {
        CRect rc;
        if (!GetItemRect(i, &rc))
            continue;
        width += rc.Width();
        height = std::max<int>(height, rc.Height());
    }
    HWND hReBar = ::GetParent(m_hWnd);
    int band = static_cast<int>(::SendMessageA(hReBar, RB_IDTOINDEX, static_cast<WPARAM>(GetDlgCtrlID()), 0));
    if (band >= 0)
    {
        REBARBANDINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = RBBIM_CHILDSIZE | RBBIM_IDEALSIZE;
        info.cxMinChild = 0;
        info.cyMinChild = static_cast<UINT>(height);
        info.cxIdeal = static_cast<UINT>(width);
        ::SendMessageA(hReBar, RB_SETBANDINFOA, static_cast<WPARAM>(band), reinterpret_cast<LPARAM>(&info));
    }
    Invalidate(TRUE);
}

void CToolBarEx::AddContextMenuItems(CNewMenu& menu)
{
    UINT grayed = (GetStyle() & CCS_ADJUSTABLE) ? 0 : MF_GRAYED;
    if (m_customizeItem)
        menu.AppendODMenu(AppStrings().GetEtcText(kEtcCustomize), MF_OWNERDRAW | grayed, kCmdCustomize);
    UINT checked = 0;
    HWND hReBar = ::GetParent(m_hWnd);
    int band = static_cast<int>(::SendMessageA(hReBar, RB_IDTOINDEX, AFX_IDW_TOOLBAR, 0));
    if (band >= 0)
    {
        REBARBANDINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = RBBIM_STYLE;
        ::SendMessageA(hReBar, RB_GETBANDINFOA, static_cast<WPARAM>(band), reinterpret_cast<LPARAM>(&info));
        if (info.fStyle & RBBS_NOGRIPPER)
            checked = MF_CHECKED;
    }
    menu.AppendODMenu(AppStrings().GetEtcText(kEtcLock), MF_OWNERDRAW | grayed | checked, kCmdLockBars);
    menu.AppendODMenu(AppStrings().GetEtcText(kEtcReset), MF_OWNERDRAW | grayed, kCmdResetBands);
}

void CToolBarEx::ShowChevronPopup(const RECT& chevron, LPARAM)
{
    const HWND hReBar = ::GetParent(m_hWnd);
    CToolBarPopup popup(this, kTextRight);
    popup.TrackPopup(TPM_LEFTALIGN | TPM_VERTICAL, chevron.left, chevron.bottom, chevron);
    // The popup held the mouse while the rebar tracked the chevron's hover:
    // the rebar never heard the mouse leave and would draw the chevron hot
    // until the pointer came back. It hears it now, and a move where the
    // pointer is, so that a chevron still under it is hot (and tracked) again.
    if (!::IsWindow(hReBar))
        return;
    ::SendMessageA(hReBar, WM_MOUSELEAVE, 0, 0);
    POINT pt = {};
    if (::GetCursorPos(&pt) && ::WindowFromPoint(pt) == hReBar)
    {
        ::ScreenToClient(hReBar, &pt);
        ::SendMessageA(hReBar, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    }
}

//--- Messages

BOOL CToolBarEx::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == kCmdCustomize && lParam == 0)
    {
        Customize();
        return TRUE;
    }
    return CToolBarXP::OnCommand(wParam, lParam);
}

// Tooltips of the control's own tooltip window: none for buttons whose
// subclass says so.
BOOL CToolBarEx::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
    if (pHdr != nullptr && (pHdr->code == TTN_NEEDTEXTA || pHdr->code == TTN_NEEDTEXTW) &&
        !ShowToolTip(static_cast<int>(pHdr->idFrom)))
    {
        *pResult = 0;
        return TRUE;
    }
    return CToolBarXP::OnNotify(wParam, lParam, pResult);
}

void CToolBarEx::OnLButtonDblClk(UINT, CPoint)
{
    OnButtonDoubleClick();
    Default();
}

LRESULT CToolBarEx::OnChevronPushed(WPARAM wParam, LPARAM lParam)
{
    if (wParam != 0)
        ShowChevronPopup(*reinterpret_cast<const RECT*>(wParam), lParam);
    return 0;
}

LRESULT CToolBarEx::OnBandContextMenu(WPARAM wParam, LPARAM)
{
    if (wParam != 0)
        AddContextMenuItems(*reinterpret_cast<CNewMenu*>(wParam));
    return 0;
}

LRESULT CToolBarEx::OnCustomDrawItem(NMTBCUSTOMDRAW* pDraw)
{
    if (pDraw->nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (pDraw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
    {
        // A checked button under the mouse without the dither pattern.
        UINT state = pDraw->nmcd.uItemState;
        if ((state & CDIS_CHECKED) && !(state & CDIS_DISABLED) && (state & CDIS_HOT))
            pDraw->hbrMonoDither = nullptr;
    }
    return CDRF_DODEFAULT;
}

void CToolBarEx::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = OnCustomDrawItem(reinterpret_cast<NMTBCUSTOMDRAW*>(pNMHDR));
}

// The tip buffer takes at most its size less the terminator, cut cp932-safe.
void CToolBarEx::OnGetInfoTip(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pTip = reinterpret_cast<NMTBGETINFOTIPA*>(pNMHDR);
    *pResult = 0;
    if (pTip->pszText == nullptr || pTip->cchTextMax <= 0)
        return;
    CString text;
    GetTipText(pTip->iItem, text);
    CString cut = ShortenBarText(text, pTip->cchTextMax - 1, false);
    ::lstrcpynA(pTip->pszText, cut, pTip->cchTextMax);
}

void CToolBarEx::OnGetButtonInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pInfo = reinterpret_cast<NMTOOLBARA*>(pNMHDR);
    *pResult = FALSE;
    if (pInfo->iItem < 0 || pInfo->iItem >= static_cast<int>(m_table.size()))
        return;
    const ToolButtonRecord& record = m_table[static_cast<size_t>(pInfo->iItem)];
    pInfo->tbButton = record.button;
    if (!(record.button.fsStyle & TBSTYLE_SEP) && pInfo->pszText != nullptr && pInfo->cchText > 0)
    {
        CString text;
        if (!GetItemName(record.button, text))
            GetButtonText(record.button.idCommand, text);
        CString cut = ShortenBarText(text, pInfo->cchText - 1, false);
        ::lstrcpynA(pInfo->pszText, cut, pInfo->cchText);
    }
    *pResult = TRUE;
}

void CToolBarEx::OnQueryTrue(NMHDR*, LRESULT* pResult)
{
    *pResult = TRUE;
}

void CToolBarEx::OnReset(NMHDR*, LRESULT* pResult)
{
    DeleteAllButtons();
    AddDefaultButtons();
    SetTextMode(kTextHidden, false);
    Refresh();
    UpdateBandSize();
    *pResult = 0;
}

void CToolBarEx::OnLayoutChanged(NMHDR*, LRESULT* pResult)
{
    UpdateBandSize();
    *pResult = 0;
}

void CToolBarEx::OnBeginAdjust(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
}
