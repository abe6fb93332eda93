#include "framework/frame/StatusBar.h"

#include <algorithm>

#include "framework/app/WinApp.h"
#include "framework/frame/FrameWnd.h"
#include "framework/win/CmdUI.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

namespace {

// Room around a pane's text inside its part.
const int kPanePadding = 8;
const UINT kTextFlags = SBT_NOBORDERS | SBT_POPOUT | SBT_OWNERDRAW;

// Updates a pane: disabled panes and the check state show in the pane style.
class CStatusCmdUI : public CCmdUI
{
public:
    explicit CStatusCmdUI(CStatusBar* pBar) : m_pBar(pBar) { m_pOther = pBar; }

    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        UINT nStyle = m_pBar->GetPaneStyle(static_cast<int>(m_nIndex));
        m_pBar->SetPaneStyle(static_cast<int>(m_nIndex), bOn ? (nStyle & ~SBPS_DISABLED) : (nStyle | SBPS_DISABLED));
    }
    void SetCheck(int nCheck) override
    {
        UINT nStyle = m_pBar->GetPaneStyle(static_cast<int>(m_nIndex));
        m_pBar->SetPaneStyle(static_cast<int>(m_nIndex), nCheck ? (nStyle | SBPS_POPOUT) : (nStyle & ~SBPS_POPOUT));
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn); }
    void SetText(LPCSTR lpszText) override { m_pBar->SetPaneText(static_cast<int>(m_nIndex), lpszText); }

private:
    CStatusBar* m_pBar;
};

// The bar's window DC with the bar's font selected (the GUI font when the
// bar has none), for measuring its text; restored and released on scope end.
class BarFontDC
{
public:
    explicit BarFontDC(HWND hWnd) : m_hWnd(hWnd), m_hdc(::GetDC(hWnd))
    {
        HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(hWnd, WM_GETFONT, 0, 0));
        m_hOld = ::SelectObject(m_hdc, hFont ? hFont : ::GetStockObject(DEFAULT_GUI_FONT));
    }
    ~BarFontDC()
    {
        ::SelectObject(m_hdc, m_hOld);
        ::ReleaseDC(m_hWnd, m_hdc);
    }
    BarFontDC(const BarFontDC&) = delete;
    BarFontDC& operator=(const BarFontDC&) = delete;
    operator HDC() const { return m_hdc; }

private:
    HWND m_hWnd;
    HDC m_hdc;
    HGDIOBJ m_hOld;
};

} // namespace

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SIZE()
    ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
END_MESSAGE_MAP()

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    // The frame's layout places and sizes the bar, not the control itself.
    dwCtrlStyle |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (pParentWnd != nullptr && (pParentWnd->GetStyle() & WS_THICKFRAME))
        dwCtrlStyle |= SBARS_SIZEGRIP;
    return CreateBar(0, GetWndClassName(), pParentWnd, dwStyle, nID, dwCtrlStyle, CRect(0, 0, 0, 0));
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0 || (nIDCount > 0 && lpIDArray == nullptr) || m_hWnd == nullptr)
        return FALSE;
    m_panes.assign(static_cast<size_t>(nIDCount), Pane{ 0, SBPS_NORMAL, 0 });
    std::vector<int> edges(std::max(nIDCount, 1), -1);
    SendMessage(SB_SETPARTS, static_cast<WPARAM>(edges.size()), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < nIDCount; ++i)
    {
        Pane& pane = m_panes[static_cast<size_t>(i)];
        pane.nID = lpIDArray[i];
        char szText[256] = "";
        if (pane.nID != ID_SEPARATOR)
            ::LoadStringA(AfxGetResourceHandle(), pane.nID, szText, sizeof(szText));
        pane.cxWidth = TextWidth(szText);
        SetPaneText(i, szText, FALSE);
    }
    if (!m_panes.empty() && m_panes[0].nID == ID_SEPARATOR)
        m_panes[0].nStyle = SBPS_STRETCH | SBPS_NOBORDERS;
    UpdateParts();
    return TRUE;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].nID : 0;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (m_panes[static_cast<size_t>(i)].nID == nIDFind)
            return i;
    return -1;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    ASSERT(nIndex >= 0 && nIndex < GetCount());
    const Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxWidth;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    pane.nID = nID;
    pane.cxWidth = cxWidth;
    SetPaneStyle(nIndex, nStyle);
    UpdateParts();
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    if (pane.nStyle == nStyle)
        return;
    BOOL bStretchChanged = ((pane.nStyle ^ nStyle) & SBPS_STRETCH) != 0;
    pane.nStyle = nStyle;
    // The border flags travel with the text: set it again.
    SetPaneText(nIndex, GetPaneText(nIndex));
    if (bStretchChanged)
        UpdateParts();
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    UINT nFlags = m_panes[static_cast<size_t>(nIndex)].nStyle & kTextFlags;
    BOOL bDone = static_cast<BOOL>(SendMessage(SB_SETTEXTA, static_cast<WPARAM>(nIndex) | nFlags,
                                               reinterpret_cast<LPARAM>(lpszNewText ? lpszNewText : "")));
    if (bUpdate)
        UpdateWindow();
    return bDone;
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    CString text;
    if (nIndex < 0 || nIndex >= GetCount())
        return text;
    int nLength = LOWORD(::SendMessageA(m_hWnd, SB_GETTEXTLENGTHA, static_cast<WPARAM>(nIndex), 0));
    ::SendMessageA(m_hWnd, SB_GETTEXTA, static_cast<WPARAM>(nIndex),
                   reinterpret_cast<LPARAM>(text.GetBuffer(nLength)));
    text.ReleaseBuffer();
    return text;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    ::SetRectEmpty(lpRect);
    ::SendMessageA(m_hWnd, SB_GETRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect));
}

int CStatusBar::TextWidth(LPCSTR lpszText) const
{
    if (lpszText == nullptr || *lpszText == '\0')
        return 0;
    BarFontDC dc(m_hWnd);
    SIZE size = {};
    ::GetTextExtentPoint32A(dc, lpszText, lstrlenA(lpszText), &size);
    return size.cx;
}

void CStatusBar::UpdateParts()
{
    if (m_hWnd == nullptr || m_panes.empty())
        return;
    CRect client;
    GetClientRect(&client);
    int nGrip = (GetStyle() & SBARS_SIZEGRIP) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0;
    int nFixed = 0;
    for (const Pane& pane : m_panes)
        if (!(pane.nStyle & SBPS_STRETCH))
            nFixed += pane.cxWidth + kPanePadding;
    int nStretch = std::max(0, client.Width() - nGrip - nFixed);

    std::vector<int> edges;
    int x = 0;
    for (const Pane& pane : m_panes)
    {
        x += (pane.nStyle & SBPS_STRETCH) ? nStretch : pane.cxWidth + kPanePadding;
        edges.push_back(x);
    }
    if (nGrip == 0)
        edges.back() = -1;  // the last pane reaches the right edge
    SendMessage(SB_SETPARTS, static_cast<WPARAM>(edges.size()), reinterpret_cast<LPARAM>(edges.data()));
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL)
{
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(BarFontDC(m_hWnd), &tm);
    int borders[3] = {};
    ::SendMessageA(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    int cy = tm.tmHeight + 2 * borders[1] + 2 * ::GetSystemMetrics(SM_CYEDGE);
    CRect client;
    if (CWnd* pParent = GetParent())
        pParent->GetClientRect(&client);
    return CSize(client.Width(), std::max(cy, m_nMinHeight));
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL)
{
    CStatusCmdUI state(this);
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex)
    {
        state.m_nID = GetItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID != ID_SEPARATOR)
            state.DoUpdate(pTarget, FALSE);
    }
}

void CStatusBar::OnSize(UINT, int, int)
{
    Default();
    UpdateParts();
}

LRESULT CStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM)
{
    m_nMinHeight = static_cast<int>(wParam);
    return Default();
}
