#include "framework/win/Wnd.h"

#include <algorithm>
#include <exception>
#include <unordered_map>
#include <vector>

#include "framework/app/FaultGuard.h"
#include "framework/app/WinApp.h"
#include "framework/frame/FrameWnd.h"
#include "framework/win/CmdUI.h"
#include "framework/win/HandleMap.h"
#include "framework/win/Menu.h"

namespace {

typedef VaHandleMap<CWnd, HWND, &CWnd::m_hWnd> WndMap;

WndMap& TheWndMap()
{
    static WndMap s_map;
    return s_map;
}

// What a message returns when its handler threw: creation fails, everything
// else reports "nothing done".
LRESULT ResultAfterException(UINT nMsg)
{
    switch (nMsg)
    {
    case WM_NCCREATE:
        return FALSE;
    case WM_CREATE:
        return -1;
    default:
        return 0;
    }
}

// The top-level windows made while the code of another window of the
// program ran, each with that window's top-level window: a window that a
// fault abandons takes those it made along. An entry goes with its window,
// and with its maker when that ends in order.
std::unordered_map<HWND, HWND>& Makers()
{
    static std::unordered_map<HWND, HWND> s_makers;
    return s_makers;
}

void LogHandlerException(UINT nMsg, const char* what)
{
    CString text;
    text.Format("framework: exception in the handler of message 0x%04X: %s\n", nMsg, what);
    ::OutputDebugStringA(text);
}

} // namespace

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

//--- The window procedure

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_NCDESTROY)
        Makers().erase(hWnd);
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    // The guard lies inside the system's call of this window procedure: a
    // fault in the handler unwinds no frame of the system's.
    const DWORD fault = AfxCallGuardedFor(hWnd, [&] {
        try
        {
            lResult = pWnd->WindowProc(nMsg, wParam, lParam);
        }
        catch (const std::exception& e)
        {
            LogHandlerException(nMsg, e.what());
            lResult = ResultAfterException(nMsg);
        }
        catch (...)
        {
            LogHandlerException(nMsg, "unknown exception");
            lResult = ResultAfterException(nMsg);
        }
    });
    if (fault != 0)
    {
        LogHandlerException(nMsg, "fault");
        lResult = ResultAfterException(nMsg);
    }
    // The object may have been released by a nested destruction; only a
    // still-attached object gets the final step.
    if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd)
        pWnd->FinalRelease();
    return lResult;
}

namespace {

BOOL CALLBACK ForgetWindowObject(HWND hWnd, LPARAM)
{
    return AfxRunEntry("ForgetWindowObject", FALSE, [&]() -> BOOL {
        TheWndMap().RemovePermanent(hWnd);
        return TRUE;
    });
}

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    return AfxRunEntry("CollectWindow", FALSE, [&]() -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
        return TRUE;
    });
}

// The window and the top-level windows of the thread that belong to it:
// owned by it or made by its code, and by theirs in turn. The window first.
std::vector<HWND> WindowsGoingWith(HWND hWnd)
{
    std::vector<HWND> topLevel;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&topLevel));
    std::vector<HWND> going(1, hWnd);
    auto isGoing = [&going](HWND h) {
        return h != nullptr && std::find(going.begin(), going.end(), h) != going.end();
    };
    for (bool grew = true; grew;)
    {
        grew = false;
        for (HWND h : topLevel)
        {
            if (isGoing(h))
                continue;
            auto maker = Makers().find(h);
            if (isGoing(::GetWindow(h, GW_OWNER)) || (maker != Makers().end() && isGoing(maker->second)))
            {
                going.push_back(h);
                grew = true;
            }
        }
    }
    return going;
}

} // namespace

void CWnd::RecordMaker(HWND hWnd)
{
    if (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)
        return;
    const HWND hCode = AfxGetGuardedWindow();
    const HWND hMaker = hCode != nullptr ? ::GetAncestor(hCode, GA_ROOT) : nullptr;
    if (hMaker == nullptr || hMaker == hWnd)
        return;
    // Entries of windows that went without the framework's last message, or
    // whose maker ended in order, are dropped here.
    auto& makers = Makers();
    for (auto it = makers.begin(); it != makers.end();)
        it = ::IsWindow(it->first) && ::IsWindow(it->second) ? std::next(it) : makers.erase(it);
    makers[hWnd] = hMaker;
}

void AfxDestroyAbandonedWindow(const ULONG_PTR* data)
{
    const HWND hWnd = reinterpret_cast<HWND>(data[1]);
    if (!CWnd::IsStillAttached(reinterpret_cast<const CWnd*>(data[0]), hWnd))
        return;
    const std::vector<HWND> going = WindowsGoingWith(hWnd);
    for (HWND h : going)
    {
        ::EnumChildWindows(h, ForgetWindowObject, 0);
        ForgetWindowObject(h, 0);
        Makers().erase(h);
    }
    // Newest first, the window itself last.
    for (auto it = going.rbegin(); it != going.rend(); ++it)
        ::DestroyWindow(*it);
}

void CWnd::FinalRelease()
{
    HWND hWnd = m_hWnd;
    if (m_pfnSuper != nullptr)
    {
        if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == AfxWndProc)
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    TheWndMap().RemovePermanent(hWnd);
    m_hWnd = nullptr;
    m_bCreatedHere = FALSE;
    // The application ends with its main window.
    CWinThread* pThread = AfxGetApp();
    if (pThread != nullptr && pThread->m_pMainWnd == this)
    {
        pThread->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    try
    {
        PostNcDestroy();
    }
    catch (...)
    {
        LogHandlerException(WM_NCDESTROY, "exception in PostNcDestroy");
    }
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND)
    {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY)
        return OnNotify(wParam, lParam, pResult);
    if (ReflectFromParent(message, wParam, lParam, pResult))
        return TRUE;

    VaMsgCall call = {};
    call.nMsg = message;
    call.wParam = wParam;
    call.lParam = lParam;
    if (!DispatchToMap(call, 0, FALSE))
        return FALSE;
    *pResult = call.lResult;
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    VaMsgCall* pCall = GetCurrentCall();
    if (pCall == nullptr || m_hWnd == nullptr)
        return 0;
    pCall->lResult = DefWindowProc(pCall->nMsg, pCall->wParam, pCall->lParam);
    return pCall->lResult;
}

//--- Commands, notifications and reflection

namespace {

// The state of a command as its update handler would set it, asked before a
// menu or accelerator command runs.
class CTestCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR) override {}

    BOOL m_bEnabled = TRUE;
};

} // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (hWndCtrl != nullptr)
    {
        LRESULT lResult = 0;
        if (ReflectChildNotify(hWndCtrl, WM_COMMAND, wParam, lParam, &lResult))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    else
    {
        // Menus send code 0, accelerators 1: both are commands. A command
        // whose update handler disables it is dropped (its accelerator is
        // pressed while the menu item shows grey).
        nCode = CN_COMMAND;
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (pNMHDR == nullptr)
        return FALSE;
    if (pNMHDR->hwndFrom != nullptr &&
        ReflectChildNotify(pNMHDR->hwndFrom, WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;

    VaMsgCall call = {};
    call.nMsg = WM_NOTIFY;
    call.wParam = wParam;
    call.lParam = lParam;
    call.nID = static_cast<UINT>(pNMHDR->idFrom);
    if (!DispatchToMap(call, pNMHDR->code, TRUE))
        return FALSE;
    *pResult = call.lResult;
    return TRUE;
}

// The WM_CTLCOLOR* messages a child sends its parent (contiguous numbers).
static bool IsCtlColorMessage(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

BOOL CWnd::ReflectChildNotify(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT* pResult)
{
    CWnd* pChild = FromHandlePermanent(hWndChild);
    if (pChild == nullptr || pChild == this)
        return FALSE;
    return pChild->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    VaMsgCall call = {};
    call.wParam = wParam;
    call.lParam = lParam;
    UINT nCode = 0;
    switch (message)
    {
    case WM_COMMAND:
        nCode = HIWORD(wParam);
        break;
    case WM_NOTIFY:
        nCode = reinterpret_cast<NMHDR*>(lParam)->code;
        break;
    default:
        if (IsCtlColorMessage(message))
        {
            // One reflected message for all: lParam tells which it was.
            call.lParam = static_cast<LPARAM>(message);
            message = WM_CTLCOLOR;
        }
        break;
    }
    call.nMsg = WM_REFLECT_BASE + message;
    if (!DispatchToMap(call, nCode, FALSE))
        return FALSE;
    *pResult = call.lResult;
    return TRUE;
}

// Notifications a parent receives from a child window are offered to the
// child's own object first (reflection).
BOOL CWnd::ReflectFromParent(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    HWND hWndChild = nullptr;
    switch (message)
    {
    case WM_DRAWITEM:
    {
        const DRAWITEMSTRUCT* p = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (p != nullptr && p->CtlType != ODT_MENU)
            hWndChild = p->hwndItem;
        break;
    }
    case WM_MEASUREITEM:
    {
        const MEASUREITEMSTRUCT* p = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        if (p != nullptr && p->CtlType != ODT_MENU)
            hWndChild = ::GetDlgItem(m_hWnd, static_cast<int>(p->CtlID));
        break;
    }
    case WM_DELETEITEM:
        hWndChild = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_COMPAREITEM:
        hWndChild = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        hWndChild = reinterpret_cast<HWND>(lParam);
        break;
    default:
        if (!IsCtlColorMessage(message))
            return FALSE;
        hWndChild = reinterpret_cast<HWND>(lParam);
        break;
    }
    return hWndChild != nullptr && ReflectChildNotify(hWndChild, message, wParam, lParam, pResult);
}

//--- Handle map

CWnd* CWnd::FromHandle(HWND hWnd)
{
    return TheWndMap().FromHandle(hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return TheWndMap().LookupPermanent(hWnd);
}

void CWnd::DeleteTempMap()
{
    TheWndMap().DeleteTemporary();
}

size_t CWnd::GetTempMapCount()
{
    return TheWndMap().GetTemporaryCount();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWndNew) != nullptr)
        return FALSE;
    m_hWnd = hWndNew;
    TheWndMap().SetPermanent(hWndNew, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr)
        TheWndMap().RemovePermanent(hWnd);
    m_hWnd = nullptr;
    m_bCreatedHere = FALSE;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd) || !Attach(hWnd))
        return FALSE;
    // Before the routing: what it changes reaches the window as it was made.
    PreSubclassWindow();
    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    // A window of a framework class already runs AfxWndProc: nothing to chain.
    m_pfnSuper = pfnOld == AfxWndProc ? nullptr : pfnOld;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    return pParent != nullptr && SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper != nullptr)
    {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    return Detach();
}

CWnd::~CWnd()
{
    if (m_hWnd == nullptr || FromHandlePermanent(m_hWnd) != this)
        return;
    if (m_bCreatedHere && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);  // its WM_NCDESTROY releases this object
    if (m_hWnd != nullptr)
        UnsubclassWindow();
}

//--- Pre-translation and descendants

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd))
    {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

namespace {

void SendToDescendants(HWND hParent, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                       BOOL bOnlyPerm)
{
    for (HWND hChild = ::GetTopWindow(hParent); hChild != nullptr;
         hChild = ::GetNextWindow(hChild, GW_HWNDNEXT))
    {
        if (!bOnlyPerm)
            ::SendMessageA(hChild, message, wParam, lParam);
        else if (CWnd* pWnd = CWnd::FromHandlePermanent(hChild))
            AfxCallWndProc(pWnd, hChild, message, wParam, lParam);
        if (bDeep)
            SendToDescendants(hChild, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

} // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm)
{
    SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

//--- Relatives, style, text, menus

CFrameWnd* CWnd::GetParentFrame() const
{
    for (HWND hWnd = ::GetParent(m_hWnd); hWnd != nullptr; hWnd = ::GetParent(hWnd))
    {
        if (CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(hWnd)))
            return pFrame;
    }
    return nullptr;
}

CWnd* CWnd::GetTopLevelParent() const
{
    return FromHandle(::GetAncestor(m_hWnd, GA_ROOT));
}

// Changes the style bits at nIndex (GWL_STYLE or GWL_EXSTYLE); with nFlags the
// frame is redrawn by SetWindowPos, as style changes need.
static BOOL ModifyStyleBits(HWND hWnd, int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, nIndex));
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongPtrA(hWnd, nIndex, static_cast<LONG_PTR>(dwNewStyle));
    if (nFlags != 0)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleBits(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleBits(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr,
                          x, y, cx, cy, nFlags);
}

void CWnd::GetWindowText(CString& rString) const
{
    int nLength = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, rString.GetBuffer(nLength), nLength + 1);
    rString.ReleaseBuffer();
}

CMenu* CWnd::GetMenu() const
{
    return CMenu::FromHandle(::GetMenu(m_hWnd));
}

BOOL CWnd::SetMenu(CMenu* pMenu)
{
    return ::SetMenu(m_hWnd, pMenu ? pMenu->GetSafeHmenu() : nullptr);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

void CWnd::AttachCreated(HWND hWnd)
{
    m_hWnd = hWnd;
    m_bCreatedHere = TRUE;
    TheWndMap().SetPermanent(hWnd, this);
    WNDPROC pfnClass = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    if (pfnClass != AfxWndProc)
        m_pfnSuper = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
}
