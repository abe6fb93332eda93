// The popup-menu window hook and the draw modes' popup-window operations.
#include "menulib/MenuHook.h"

#include <map>
#include <memory>

#include "framework/app/FaultGuard.h"
#include "menulib/MenuTheme.h"
#include "menulib/NewMenu.h"

namespace {

const char kOldProcProperty[] = "OldMenuProc";

HHOOK g_hMenuHook = nullptr;
// A pause: its depth, and the creation watch that ends it early.
int g_pauseDepth = 0;
HHOOK g_hPauseWatch = nullptr;
std::map<HWND, std::unique_ptr<MenuPopupRecord>>* g_pRecords = nullptr;

std::map<HWND, std::unique_ptr<MenuPopupRecord>>& Records()
{
    if (g_pRecords == nullptr)
        g_pRecords = new std::map<HWND, std::unique_ptr<MenuPopupRecord>>;
    return *g_pRecords;
}

// The class name must be exactly "#32768", not merely begin with it.
bool IsMenuWindow(HWND hWnd)
{
    char szClass[8] = "";
    return ::GetClassNameA(hWnd, szClass, sizeof(szClass)) == 6 && lstrcmpA(szClass, "#32768") == 0;
}

WNDPROC OldProcOf(HWND hWnd)
{
    return reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kOldProcProperty));
}

CMenuTheme* CurrentMode()
{
    return GetCurrentMenuDrawMode();
}

void FillSolid(HDC hDC, const RECT& rc, COLORREF cr)
{
    HBRUSH hBrush = ::CreateSolidBrush(cr);
    ::FillRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
}

void FrameSolid(HDC hDC, const RECT& rc, COLORREF cr)
{
    HBRUSH hBrush = ::CreateSolidBrush(cr);
    ::FrameRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
}

LRESULT HandleMenuMessage(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, WNDPROC pfnOld);

} // namespace

//--- The hook

// A popup that could not be recorded keeps the system's look.
LRESULT NewMenuHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION)
    {
        const CWPSTRUCT* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (pMsg != nullptr && (pMsg->message == WM_CREATE || pMsg->message == kMsgMenuShown))
            SubclassMenuWindow(pMsg->hwnd, pMsg->message == kMsgMenuShown);
    }
    return ::CallNextHookEx(g_hMenuHook, nCode, wParam, lParam);
}

BOOL InstallMenuHook()
{
    if (g_hMenuHook != nullptr)
        return TRUE;
    g_hMenuHook = AfxSetGuardedHook<NewMenuHookProc>(WH_CALLWNDPROC);
    return g_hMenuHook != nullptr;
}

namespace {

void EndPauseWatch()
{
    if (g_hPauseWatch != nullptr)
        ::UnhookWindowsHookEx(g_hPauseWatch);
    g_hPauseWatch = nullptr;
}

// During a pause: a popup-menu window being created brings the hook back
// before the window gets its first message.
LRESULT PauseWatchProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND && g_hMenuHook == nullptr && IsMenuWindow(reinterpret_cast<HWND>(wParam)))
    {
        InstallMenuHook();
        EndPauseWatch();
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

} // namespace

CMenuHookPause::CMenuHookPause()
{
    if (g_pauseDepth == 0 && g_hMenuHook == nullptr)
        return;  // no hook to pause
    m_hold.Hold(&End);
    if (g_pauseDepth++ > 0)
        return;
    g_hPauseWatch = AfxSetGuardedHook<PauseWatchProc>(WH_CBT);
    if (g_hPauseWatch == nullptr)
        return;  // no watch, no pause: the hook stays
    ::UnhookWindowsHookEx(g_hMenuHook);
    g_hMenuHook = nullptr;
}

void CMenuHookPause::End(const ULONG_PTR*)
{
    // A removal of the hook (the library's unload) ends every pause.
    if (g_pauseDepth == 0 || --g_pauseDepth > 0)
        return;
    EndPauseWatch();
    InstallMenuHook();
}

void RemoveMenuHook()
{
    // No window may keep a procedure of a module that is about to go.
    if (g_pRecords != nullptr)
    {
        while (!g_pRecords->empty())
        {
            HWND hWnd = g_pRecords->begin()->first;
            UnsubclassMenuWindow(hWnd);
            g_pRecords->erase(hWnd);  // in case the window was already gone
        }
        delete g_pRecords;
        g_pRecords = nullptr;
    }
    if (g_hMenuHook != nullptr)
        ::UnhookWindowsHookEx(g_hMenuHook);
    g_hMenuHook = nullptr;
    EndPauseWatch();
    g_pauseDepth = 0;
}

BOOL IsMenuHookInstalled()
{
    return g_hMenuHook != nullptr || g_pauseDepth > 0;
}

MenuPopupRecord* FindMenuPopupRecord(HWND hWnd)
{
    if (g_pRecords == nullptr)
        return nullptr;
    auto it = g_pRecords->find(hWnd);
    return it != g_pRecords->end() ? it->second.get() : nullptr;
}

size_t GetMenuPopupRecordCount()
{
    return g_pRecords != nullptr ? g_pRecords->size() : 0;
}

//--- Subclassing

BOOL SubclassMenuWindow(HWND hWnd, BOOL bShown)
{
    if (!IsMenuWindow(hWnd))
        return FALSE;
    BOOL bResult = FALSE;
    WNDPROC pfnProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    if (FindMenuPopupRecord(hWnd) == nullptr && pfnProc != nullptr && OldProcOf(hWnd) == nullptr)
    {
        if (::SetPropA(hWnd, kOldProcProperty, reinterpret_cast<HANDLE>(pfnProc)) && OldProcOf(hWnd) == pfnProc)
        {
            ::GlobalAddAtomA(kOldProcProperty);
            auto pRecord = std::make_unique<MenuPopupRecord>();
            pRecord->flags = bShown ? DWORD(kPopupSubclassedWhenShown) : DWORD(0);
            pRecord->paintOwnFrame = 1;
            pRecord->hOwnerMenu = CNewMenu::TakePendingOwnerMenu();
            pRecord->style = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE));
            pRecord->exStyle = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_EXSTYLE));
            Records()[hWnd] = std::move(pRecord);
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MenuWindowProc));
            if (CMenuTheme* pMode = CurrentMode())
                pMode->OnSubclass(hWnd);
            bResult = TRUE;
        }
    }
    if (CNewMenu::PeekPendingOwnerMenu() != nullptr)
        if (MenuPopupRecord* pRecord = FindMenuPopupRecord(hWnd))
            pRecord->hOwnerMenu = CNewMenu::TakePendingOwnerMenu();
    return bResult;
}

void UnsubclassMenuWindow(HWND hWnd)
{
    WNDPROC pfnOld = OldProcOf(hWnd);
    if (pfnOld != nullptr)
    {
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnOld));
        ::RemovePropA(hWnd, kOldProcProperty);
        if (ATOM atom = ::GlobalFindAtomA(kOldProcProperty))
            ::GlobalDeleteAtom(atom);
    }
    if (FindMenuPopupRecord(hWnd) == nullptr)
        return;
    if (CMenuTheme* pMode = CurrentMode())
        pMode->OnUnsubclass(hWnd);
    else if (CNewMenu* pOwner = CNewMenu::FromHandleNew(FindMenuPopupRecord(hWnd)->hOwnerMenu))
        pOwner->OnPopupClosed(::GetWindow(hWnd, GW_OWNER));
    g_pRecords->erase(hWnd);
}

LRESULT CALLBACK MenuWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC pfnOld = OldProcOf(hWnd);
    if (pfnOld == nullptr)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    LRESULT lResult = 0;
    if (AfxRunEntry("a menu window", [&] { lResult = HandleMenuMessage(hWnd, nMsg, wParam, lParam, pfnOld); }))
        return lResult;
    // The previous procedure still has the message; the look may suffer.
    return ::CallWindowProcA(pfnOld, hWnd, nMsg, wParam, lParam);
}

namespace {

void OnWindowPosChanged(HWND hWnd, const WINDOWPOS* pPos)
{
    MenuPopupRecord* pRecord = FindMenuPopupRecord(hWnd);
    if (pRecord == nullptr || pPos == nullptr || (pPos->flags & SWP_NOMOVE))
        return;
    if (pRecord->x == 0 && pRecord->y == 0)
    {
        pRecord->x = pPos->x;
        pRecord->y = pPos->y;
    }
    if (pPos->x == pRecord->x && pPos->y == pRecord->y)
        return;
    if (pPos->flags & SWP_NOSIZE)
    {
        pRecord->x = pPos->x;
        pRecord->y = pPos->y;
    }
    else
    {
        UnsubclassMenuWindow(hWnd);
    }
}

LRESULT OnPrint(HWND hWnd, HDC hDC, LPARAM lParam, WNDPROC pfnOld)
{
    CMenuTheme* pMode = CurrentMode();
    MenuPopupRecord* pRecord = FindMenuPopupRecord(hWnd);
    if (pMode == nullptr || pRecord == nullptr || !pMode->PaintFrame(hWnd, hDC))
        return ::CallWindowProcA(pfnOld, hWnd, WM_PRINT, reinterpret_cast<WPARAM>(hDC), lParam);
    pRecord->paintOwnFrame = 0;
    RECT rcClient;
    ::GetClientRect(hWnd, &rcClient);
    int cx = rcClient.right;
    int cy = rcClient.bottom;
    if (cx <= 0 || cy <= 0)
        return 0;
    // The client area, rendered apart and copied in at its offset.
    HDC hMemDC = ::CreateCompatibleDC(hDC);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hDC, cx, cy);
    HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
    ::IntersectClipRect(hMemDC, 0, 0, cx, cy);
    ::SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hMemDC), 0);
    ::SendMessageA(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hMemDC), lParam);
    POINT ptClient = { 0, 0 };
    ::ClientToScreen(hWnd, &ptClient);
    RECT rcWindow;
    ::GetWindowRect(hWnd, &rcWindow);
    ::BitBlt(hDC, ptClient.x - rcWindow.left, ptClient.y - rcWindow.top, cx - 1, cy, hMemDC, 0, 0, SRCCOPY);
    ::SelectObject(hMemDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMemDC);
    return 0;
}

LRESULT OnNcPaint(HWND hWnd, WPARAM wParam, WNDPROC pfnOld)
{
    MenuPopupRecord* pRecord = FindMenuPopupRecord(hWnd);
    CMenuTheme* pMode = CurrentMode();
    BOOL bPainted = FALSE;
    if (pRecord != nullptr && pRecord->paintOwnFrame == 1 && pMode != nullptr)
    {
        HDC hDC = nullptr;
        if (wParam != 1)
        {
            // GetDCEx takes the region it intersects with and deletes it,
            // while wParam's region goes on to the previous procedure: it
            // gets a copy.
            HRGN hCopy = ::CreateRectRgn(0, 0, 0, 0);
            if (hCopy != nullptr && ::CombineRgn(hCopy, reinterpret_cast<HRGN>(wParam), nullptr, RGN_COPY) != ERROR)
                hDC = ::GetDCEx(hWnd, hCopy, DCX_WINDOW | DCX_INTERSECTRGN);
            else if (hCopy != nullptr)
                ::DeleteObject(hCopy);
        }
        if (hDC == nullptr)
            hDC = ::GetWindowDC(hWnd);
        if (hDC != nullptr)
        {
            bPainted = pMode->PaintFrame(hWnd, hDC);
            ::ReleaseDC(hWnd, hDC);
        }
    }
    if (pRecord != nullptr)
        pRecord->paintOwnFrame = 1;
    if (bPainted)
        return 0;
    return ::CallWindowProcA(pfnOld, hWnd, WM_NCPAINT, wParam, 0);
}

LRESULT HandleMenuMessage(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, WNDPROC pfnOld)
{
    CMenuTheme* pMode = CurrentMode();
    switch (nMsg)
    {
    case WM_ERASEBKGND:
        if (pMode != nullptr && pMode->EraseBackground(hWnd, reinterpret_cast<HDC>(wParam)))
            return 1;
        break;
    case WM_SHOWWINDOW:
        if (!wParam)
            UnsubclassMenuWindow(hWnd);
        break;
    case WM_NCDESTROY:
        UnsubclassMenuWindow(hWnd);
        break;
    case WM_WINDOWPOSCHANGING:
        if (pMode != nullptr)
            pMode->AdjustWindowPos(hWnd, reinterpret_cast<WINDOWPOS*>(lParam));
        OnWindowPosChanged(hWnd, reinterpret_cast<const WINDOWPOS*>(lParam));
        break;
    case WM_WINDOWPOSCHANGED:
        OnWindowPosChanged(hWnd, reinterpret_cast<const WINDOWPOS*>(lParam));
        break;
    case WM_NCCALCSIZE:
        if (pMode != nullptr && pMode->CalcFrameSize(hWnd, reinterpret_cast<LPRECT>(lParam)))
            return 0;
        break;
    case WM_NCPAINT:
        return OnNcPaint(hWnd, wParam, pfnOld);
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            if (MenuPopupRecord* pRecord = FindMenuPopupRecord(hWnd))
                pRecord->flags |= kPopupClosedWithEsc;
        break;
    case WM_PRINT:
        return OnPrint(hWnd, reinterpret_cast<HDC>(wParam), lParam, pfnOld);
    default:
        break;
    }
    // The window may have been released above: its procedure is still known.
    return ::CallWindowProcA(pfnOld, hWnd, nMsg, wParam, lParam);
}

} // namespace

//--- The modes' popup-window operations

void CMenuTheme::OnSubclass(HWND hWnd)
{
    MenuPopupRecord* pRecord = FindMenuPopupRecord(hWnd);
    if (!HasOwnFrame() || pRecord == nullptr)
        return;
    pRecord->flags |= kPopupBorderRemoved;
    ::SetWindowLongPtrA(hWnd, GWL_STYLE, static_cast<LONG_PTR>(pRecord->style & ~WS_BORDER));
    ::SetWindowLongPtrA(hWnd, GWL_EXSTYLE,
                        static_cast<LONG_PTR>(pRecord->exStyle & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE)));
}

void CMenuTheme::OnUnsubclass(HWND hWnd)
{
    MenuPopupRecord* pRecord = FindMenuPopupRecord(hWnd);
    if (pRecord == nullptr)
        return;
    if (CNewMenu* pOwner = CNewMenu::FromHandleNew(pRecord->hOwnerMenu))
        pOwner->OnPopupClosed(::GetWindow(hWnd, GW_OWNER));
    if (pRecord->flags & kPopupBorderRemoved)
    {
        DWORD style = pRecord->style;
        if (pRecord->flags & kPopupSubclassedWhenShown)
            style |= WS_VISIBLE;
        ::SetWindowLongPtrA(hWnd, GWL_STYLE, static_cast<LONG_PTR>(style));
        ::SetWindowLongPtrA(hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(pRecord->exStyle));
    }
}

BOOL CMenuTheme::AdjustWindowPos(HWND, WINDOWPOS* lpPos)
{
    if (!HasOwnFrame() || lpPos == nullptr)
        return FALSE;
    int nGrow = IsSystemMenuShadow() ? -2 : 2;
    lpPos->cx += nGrow;
    lpPos->cy += nGrow;
    lpPos->y -= 1;
    return TRUE;
}

BOOL CMenuTheme::CalcFrameSize(HWND, LPRECT lpRect)
{
    if (HasOwnFrame() && lpRect != nullptr)
    {
        lpRect->left += m_nLeftMargin;
        lpRect->top += m_nTopMargin;
        lpRect->right -= m_nRightMargin;
        lpRect->bottom -= m_nBottomMargin;
    }
    return FALSE;
}

BOOL CMenuTheme::EraseWith(HWND hWnd, HDC hDC, COLORREF crBack)
{
    if (!HasOwnFrame())
        return FALSE;
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    rc.right -= 1;
    FillSolid(hDC, rc, crBack);
    return TRUE;
}

BOOL CMenuTheme::EraseBackground(HWND hWnd, HDC hDC)
{
    return EraseWith(hWnd, hDC, ::GetSysColor(COLOR_MENU));
}

BOOL CMenuTheme::PaintFrameWith(HWND hWnd, HDC hDC, COLORREF crInner, COLORREF crFrame, BOOL bJoin)
{
    MenuPopupRecord* pRecord = FindMenuPopupRecord(hWnd);
    if (!HasOwnFrame() || pRecord == nullptr)
        return FALSE;
    RECT rcWindow;
    ::GetWindowRect(hWnd, &rcWindow);
    int w = rcWindow.right - rcWindow.left;
    int h = rcWindow.bottom - rcWindow.top;
    BOOL bShadow = !IsSystemMenuShadow();
    int nBand = bShadow ? 4 : 0;
    FillSolid(hDC, { 1, 1, w - 1 - nBand, h - 1 - nBand }, crInner);
    FrameSolid(hDC, { 0, 0, w - nBand, h - nBand }, crFrame);
    if (bShadow)
        DrawMenuShadow(hDC, pRecord->x, pRecord->y, w, h);
    if (bJoin)
        JoinPopupToMenuBar(hDC, *pRecord, w, h);
    return TRUE;
}

BOOL CMenuTheme::PaintFrame(HWND hWnd, HDC hDC)
{
    return PaintFrameWith(hWnd, hDC, GetMenuBackColor(), ::GetSysColor(COLOR_HIGHLIGHT), FALSE);
}

BOOL CMenuThemeFlat::PaintFrame(HWND hWnd, HDC hDC)
{
    return PaintFrameWith(hWnd, hDC, ::GetSysColor(COLOR_WINDOW), DarkenColor(128, GetMenuBackColor()), TRUE);
}

BOOL CMenuThemeFlat::EraseBackground(HWND hWnd, HDC hDC)
{
    MenuPopupRecord* pRecord = FindMenuPopupRecord(hWnd);
    BOOL bOwner = pRecord != nullptr && pRecord->hOwnerMenu != nullptr;
    return EraseWith(hWnd, hDC, bOwner ? GetMenuBackColor() : ::GetSysColor(COLOR_MENU));
}

BOOL CMenuThemeGradient::PaintFrame(HWND hWnd, HDC hDC)
{
    // The previous procedure paints after this as well.
    PaintFrameWith(hWnd, hDC, ::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_HIGHLIGHT), TRUE);
    return FALSE;
}

BOOL CMenuThemeGradient::EraseBackground(HWND hWnd, HDC hDC)
{
    MenuPopupRecord* pRecord = FindMenuPopupRecord(hWnd);
    BOOL bOwner = pRecord != nullptr && pRecord->hOwnerMenu != nullptr;
    return EraseWith(hWnd, hDC, bOwner ? GetMenuBackColor() : ::GetSysColor(COLOR_MENU));
}

//--- Shadow and the join with the menu bar

void DrawMenuShadow(HDC hDC, int x, int y, int w, int h)
{
    if (w < 9 || h < 9)
        return;
    HDC hScreen = ::GetDC(nullptr);
    auto darken = [&](int px, int py, int nAmount) {
        COLORREF cr = ::GetPixel(hScreen, x + px, y + py);
        if (cr == CLR_INVALID)
            cr = RGB(255, 255, 255);
        ::SetPixelV(hDC, px, py, nAmount > 0 ? DarkenColor(nAmount, cr) : cr);
    };
    // The 4 x 4 corners where each band begins (the top of the right band,
    // the left of the bottom band) show the screen unchanged.
    for (int i = 1; i <= 4; ++i)
    {
        int px = w - i;
        for (int row = 0; row < h; ++row)
        {
            int nAmount;
            if (row < 4)
                nAmount = 0;
            else if (row < 8)
                nAmount = 3 * i * (row - 3);
            else if (row <= h - 5)
                nAmount = 15 * i;
            else
                nAmount = 3 * i * (h - row);
            darken(px, row, nAmount);
        }
    }
    for (int k = 1; k <= 4; ++k)
    {
        int py = h - k;
        for (int col = 0; col <= w - 5; ++col)
        {
            int nAmount = col < 4 ? 0 : col < 8 ? 3 * k * (col - 3) : 15 * k;
            darken(col, py, nAmount);
        }
    }
    ::ReleaseDC(nullptr, hScreen);
}

void JoinPopupToMenuBar(HDC hDC, const MenuPopupRecord& record, int w, int h)
{
    CNewMenu* pOwner = CNewMenu::FromHandleNew(record.hOwnerMenu);
    if (pOwner == nullptr)
        return;
    CNewMenu* pBar = CNewMenu::FromHandleNew(pOwner->GetParentMenu());
    if (pBar == nullptr || pBar->IsPopup() || ::IsRectEmpty(&pBar->GetMenuBarItemRect()))
        return;
    RECT rcWindow = { record.x, record.y, record.x + w, record.y + h };
    RECT rcJoin;
    if (!::IntersectRect(&rcJoin, &rcWindow, &pBar->GetMenuBarItemRect()))
        return;
    if (rcJoin.right - rcJoin.left > rcJoin.bottom - rcJoin.top)
        ::InflateRect(&rcJoin, -1, 0);
    else
        ::InflateRect(&rcJoin, 0, -1);
    ::OffsetRect(&rcJoin, -record.x, -record.y);
    FillSolid(hDC, rcJoin, GetMenuBackColor());
}
