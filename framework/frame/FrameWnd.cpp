#include "framework/frame/FrameWnd.h"

#include <algorithm>

#include "framework/app/FaultGuard.h"
#include "framework/app/WinApp.h"
#include "framework/frame/ControlBar.h"
#include "framework/frame/DockBar.h"
#include "framework/frame/View.h"
#include "framework/win/CmdUI.h"
#include "framework/win/Menu.h"

IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_ACTIVATE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUIMessage)
END_MESSAGE_MAP()

CFrameWnd::~CFrameWnd() = default;

//--- Creation

LPCSTR CFrameWnd::GetIconWndClass(DWORD, UINT nIDResource)
{
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    return AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                               reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
}

// The title is the resource string of the frame's id, up to its first '\n'.
void CFrameWnd::LoadFrameTitle(UINT nIDResource)
{
    m_nIDResource = nIDResource;
    char szTitle[256] = "";
    if (::LoadStringA(AfxGetResourceHandle(), nIDResource, szTitle, sizeof(szTitle)) > 0)
    {
        CString full(szTitle);
        int nEnd = full.Find('\n');
        m_strTitle = nEnd < 0 ? full : full.Left(nEnd);
    }
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd)
{
    LoadFrameTitle(nIDResource);
    LPCSTR lpszClass = GetIconWndClass(dwDefaultStyle, nIDResource);
    CString strTitle = m_strTitle;
    if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pParentWnd,
                MAKEINTRESOURCEA(nIDResource)))
        return FALSE;  // the object is gone (PostNcDestroy)
    m_hMenuDefault = ::GetMenu(m_hWnd);
    m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle)
{
    HMENU hMenu = nullptr;
    if (lpszMenuName != nullptr)
        hMenu = ::LoadMenuA(AfxGetResourceHandle(), lpszMenuName);
    // The menu is the window's once created; on failure nobody else frees it.
    if (CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                 rect.right - rect.left, rect.bottom - rect.top,
                 pParentWnd ? pParentWnd->m_hWnd : nullptr, hMenu))
        return TRUE;
    if (hMenu != nullptr && ::IsMenu(hMenu))
        ::DestroyMenu(hMenu);
    return FALSE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = GetIconWndClass(static_cast<DWORD>(cs.style), m_nIDResource);
    return cs.lpszClass != nullptr;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (Default() == -1)
        return -1;
    if (!OnCreateClient(lpcs))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT)
{
    return TRUE;
}

CView* CFrameWnd::CreateView(const CRuntimeClass* pViewClass, UINT nID)
{
    CView* pView = dynamic_cast<CView*>(pViewClass->CreateObject());
    if (pView == nullptr)
        return nullptr;
    // A view that fails to create deletes itself (PostNcDestroy).
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID))
        return nullptr;
    return pView;
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

//--- Messages

void CFrameWnd::OnClose()
{
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    m_pViewActive = nullptr;
    Default();
}

void CFrameWnd::OnSize(UINT nType, int, int)
{
    // The default first: an MDI frame's sizes its client, which the layout
    // then corrects.
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnActivate(UINT nState, CWnd*, BOOL bMinimized)
{
    Default();
    if (GetParent() == nullptr)
    {
        VaMsgCall* pCall = GetCurrentCall();
        SendMessage(WM_ACTIVATETOPLEVEL, MAKEWPARAM(nState, bMinimized ? 1 : 0),
                    pCall != nullptr ? pCall->lParam : 0);
    }
}

void CFrameWnd::OnSetFocus(CWnd*)
{
    if (m_pViewActive != nullptr && m_pViewActive->m_hWnd != nullptr)
        m_pViewActive->SetFocus();
    else
        Default();
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || pPopupMenu == nullptr)
    {
        Default();
        return;
    }
    AfxUpdateMenuItems(this, pPopupMenu, m_bAutoMenuEnable);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUIMessage(WPARAM, LPARAM)
{
    OnIdleUpdateCmdUI();
    return 0;
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    UINT nFlags = m_nIdleFlags;
    m_nIdleFlags = 0;
    if (nFlags & kIdleLayout)
        RecalcLayout((nFlags & kIdleNotify) != 0);
}

//--- Routing and pre-translation

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, VaCmdHandlerInfo* pHandlerInfo)
{
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable != nullptr &&
        ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

//--- Views and activation

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld)
        return;
    m_pViewActive = pViewNew;
    if (!bNotify)
        return;
    if (pViewOld != nullptr)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    if (pViewNew != nullptr)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

void CFrameWnd::BringToTop(int nCmdShow)
{
    if (nCmdShow != SW_HIDE && nCmdShow != SW_MINIMIZE && nCmdShow != SW_SHOWMINNOACTIVE &&
        nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE)
        ::BringWindowToTop(::GetLastActivePopup(m_hWnd));
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
    {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    BringToTop(nCmdShow);
    if (nCmdShow != -1)
    {
        ShowWindow(nCmdShow);
        BringToTop(nCmdShow);
    }
}

//--- Layout

CControlBar* CFrameWnd::GetControlBar(UINT nID)
{
    return dynamic_cast<CControlBar*>(FromHandlePermanent(::GetDlgItem(m_hWnd, static_cast<int>(nID))));
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    if (pBar == nullptr || pBar->m_hWnd == nullptr)
        return;
    pBar->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (bDelay)
        DelayRecalcLayout();
    else
        RecalcLayout();
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify)
{
    m_nIdleFlags |= kIdleLayout | (bNotify ? kIdleNotify : 0);
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout || m_hWnd == nullptr)
        return;
    CFaultSetting<BOOL> inRecalcLayout(m_bInRecalcLayout, TRUE);
    CRect rect;
    GetClientRect(&rect);
    RepositionBars(rect, ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST));
}

void CFrameWnd::RepositionBars(const RECT& rect, HWND hWndPane)
{
    AFX_SIZEPARENTPARAMS layout = {};
    layout.rect = rect;
    layout.bStretch = TRUE;
    layout.hDWP = ::BeginDeferWindowPos(8);
    // A child may change the Z-order while it is placed (a tab bar puts
    // itself above the pane): take the list first.
    std::vector<HWND> children;
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        if (hChild != hWndPane)
            children.push_back(hChild);
    for (HWND hChild : children)
        if (::IsWindow(hChild) && ::GetParent(hChild) == m_hWnd)
            ::SendMessageA(hChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    if (hWndPane != nullptr)
    {
        CRect rest(layout.rect);
        if (rest.right < rest.left)
            rest.right = rest.left;
        if (rest.bottom < rest.top)
            rest.bottom = rest.top;
        AfxRepositionWindow(&layout, hWndPane, &rest);
    }
    if (layout.hDWP != nullptr)
        ::EndDeferWindowPos(layout.hDWP);
}

//--- Docking

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
    static const struct { DWORD align; UINT id; } kSides[] = {
        {CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP},
        {CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM},
        {CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_LEFT},
        {CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT},
    };
    for (const auto& side : kSides) {
        if (!(m_dwDockStyle & side.align) || GetControlBar(side.id) != nullptr)
            continue;
        // The dock bar goes with its window; a failed creation took it already.
        auto* pDockBar = new CDockBar;
        pDockBar->m_deleteWithWindow = true;
        pDockBar->Create(this, side.id);
    }
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, int row)
{
    if (pBar == nullptr || !pBar->IsWindow())
        return;
    if (nDockBarID == 0) {
        static const struct { DWORD align; UINT id; } kOrder[] = {
            {CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP},
            {CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM},
            {CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_LEFT},
            {CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT},
        };
        for (const auto& side : kOrder)
            if (pBar->GetDockingStyle() & m_dwDockStyle & side.align) {
                nDockBarID = side.id;
                break;
            }
    }
    auto* pDockBar = dynamic_cast<CDockBar*>(GetControlBar(nDockBarID));
    if (pDockBar == nullptr)
        return;
    CDockBar* pOld = dynamic_cast<CDockBar*>(FromHandlePermanent(::GetParent(pBar->m_hWnd)));
    if (pOld != nullptr && pOld != pDockBar)
        pOld->RemoveBar(pBar);
    pDockBar->DockBar(pBar, row);
    pBar->m_nLastDockID = nDockBarID;
    if (pOld != nullptr && pOld->IsFloating()) {
        // An emptied floating frame goes: each float would leave another.
        auto* pMini = dynamic_cast<CMiniDockFrameWnd*>(pOld->GetParent());
        if (pMini != nullptr && pOld->GetRowCount() == 0)
            pMini->DestroyWindow();
        else if (pMini != nullptr)
            pMini->FitToBars();
    }
    DelayRecalcLayout();
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point)
{
    if (pBar == nullptr || !pBar->IsWindow())
        return;
    CDockBar* pOld = dynamic_cast<CDockBar*>(FromHandlePermanent(::GetParent(pBar->m_hWnd)));
    if (pOld != nullptr && pOld->IsFloating())
        return;  // floating already
    if (pOld != nullptr) {
        pBar->m_nLastDockID = static_cast<UINT>(pOld->GetDlgCtrlID());
        pOld->RemoveBar(pBar);
    }
    CMiniDockFrameWnd* pMini = nullptr;
    if (m_pFloatingFrameClass == nullptr)
        pMini = new CMiniDockFrameWnd;
    else if (m_pFloatingFrameClass->IsDerivedFrom(RUNTIME_CLASS(CMiniDockFrameWnd)))
        pMini = static_cast<CMiniDockFrameWnd*>(m_pFloatingFrameClass->CreateObject());
    if (pMini == nullptr || !pMini->Create(this, point))
        return;  // the frame deleted itself
    pMini->GetDockBar().DockBar(pBar);
    pMini->FitToBars();
    RecalcLayout();
}

void CFrameWnd::ToggleDocking(CControlBar* pBar)
{
    if (pBar == nullptr || !pBar->IsWindow())
        return;
    if (pBar->GetBarStyle() & CBRS_FLOATING) {
        DockControlBar(pBar, pBar->m_nLastDockID);
        return;
    }
    CRect rc;
    pBar->GetWindowRect(&rc);
    FloatControlBar(pBar, rc.TopLeft());
}
