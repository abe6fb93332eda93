// Window creation: the attachment hook, the default class and destruction.
#include "framework/win/Wnd.h"

#include <string>
#include <utility>
#include <vector>

#include <cstdio>

#include "framework/app/FaultGuard.h"
#include "framework/app/WinApp.h"

namespace {

// Installed only while an object waits for its window: a module that links
// the framework (the dialogs library) may be unloaded between calls, and a
// hook left behind would point into freed code. It goes as soon as the
// window is attached, so that the windows made in its WM_CREATE by the
// system (a dialog's controls, a control's parts) do not each pass the
// thread's hooks for nothing.
HHOOK g_hCreateHook = nullptr;
// The innermost creation in progress on the UI thread.
void* g_pCreateState = nullptr;

} // namespace

bool CWnd::IsCreationPending()
{
    for (auto* pState = static_cast<CreateState*>(g_pCreateState); pState != nullptr; pState = pState->pOuter)
        if (pState->pPending != nullptr)
            return true;
    return false;
}

void CWnd::RemoveIdleCreateHook()
{
    if (g_hCreateHook != nullptr && !IsCreationPending())
    {
        ::UnhookWindowsHookEx(g_hCreateHook);
        g_hCreateHook = nullptr;
    }
}

// WH_CBT sees a window before any of its messages: the pending object is
// attached then, and a window of a system class is subclassed, so that its
// object receives WM_NCCREATE and WM_CREATE as well.
LRESULT VaCreateHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND && g_pCreateState != nullptr)
    {
        CWnd::CreateState* pState = static_cast<CWnd::CreateState*>(g_pCreateState);
        if (pState->pPending != nullptr)
        {
            CWnd* pWnd = pState->pPending;
            pState->pPending = nullptr;
            pState->hAttached = reinterpret_cast<HWND>(wParam);
            bool attached = false;
            const DWORD fault = AfxCallGuarded([&] {
                try
                {
                    pWnd->AttachCreated(pState->hAttached);
                    attached = true;
                }
                catch (...)
                {
                    ::OutputDebugStringA("framework: exception while attaching a new window\n");
                }
            });
            if (fault != 0 || !attached)
            {
                // No exception or fault may unwind into the system's
                // creation: it is cancelled (non-zero), and the object, never
                // mapped, is released by EndCreate as one that got no window.
                pWnd->m_hWnd = nullptr;
                pWnd->m_bCreatedHere = FALSE;
                pState->pPending = pWnd;
                pState->hAttached = nullptr;
                return 1;
            }
        }
    }
    HHOOK hHook = g_hCreateHook;
    if (nCode == HCBT_CREATEWND)
        CWnd::RemoveIdleCreateHook();
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

void CWnd::BeginCreate(CreateState& state, CWnd* pWnd)
{
    // Creations nest (a frame's WM_CREATE makes its bars) and each one
    // pushes its own state; a creation that finds no hook installs it, and
    // the attach or the end of the last waiting creation removes it.
    if (g_hCreateHook == nullptr)
        g_hCreateHook = AfxSetGuardedHook<VaCreateHookProc>(WH_CBT);
    state.pPending = pWnd;
    state.hAttached = nullptr;
    state.pOuter = static_cast<CreateState*>(g_pCreateState);
    g_pCreateState = &state;
}

BOOL CWnd::EndCreate(CreateState& state, HWND hWnd)
{
    g_pCreateState = state.pOuter;
    RemoveIdleCreateHook();
    if (hWnd != nullptr)
    {
        RecordMaker(hWnd);
        return TRUE;
    }
    if (state.pPending != nullptr)
    {
        // Failed before a window existed: nothing released the object yet.
        CWnd* pWnd = state.pPending;
        state.pPending = nullptr;
        pWnd->PostNcDestroy();
        return FALSE;
    }
    // The window existed and creation failed in WM_NCCREATE or WM_CREATE. Its
    // WM_NCDESTROY normally released the object (which may be deleted now);
    // if the system skipped that message, release it here.
    if (CWnd* pWnd = FromHandlePermanent(state.hAttached))
    {
        pWnd->m_pfnSuper = nullptr;
        pWnd->Detach();
        pWnd->PostNcDestroy();
    }
    return FALSE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam)
{
    ASSERT(m_hWnd == nullptr);
    CREATESTRUCTA cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
    {
        PostNcDestroy();
        return FALSE;
    }

    CreateState state;
    BeginCreate(state, this);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style),
                                  cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                  cs.lpCreateParams);
    return EndCreate(state, hWnd);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
    return cs.lpszClass != nullptr;
}

void CWnd::PostNcDestroy()
{
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

//--- Window classes

namespace {

// The classes this module registered by name, with the instance each was
// registered for.
std::vector<std::pair<std::string, HINSTANCE>>& RegisteredClasses()
{
    static std::vector<std::pair<std::string, HINSTANCE>> s_classes;
    return s_classes;
}

} // namespace

BOOL AfxRegisterClass(WNDCLASSA* lpWndClass)
{
    WNDCLASSA existing;
    if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing))
        return TRUE;
    if (::RegisterClassA(lpWndClass) == 0)
        return FALSE;
    if (!IS_INTRESOURCE(lpWndClass->lpszClassName))
        RegisteredClasses().emplace_back(lpWndClass->lpszClassName, lpWndClass->hInstance);
    return TRUE;
}

void AfxUnregisterClasses()
{
    for (const auto& registered : RegisteredClasses())
        ::UnregisterClassA(registered.first.c_str(), registered.second);
    RegisteredClasses().clear();
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // The returned name lives in a small ring: callers pass it straight to a
    // creation, as the system copies class names.
    static char s_names[8][64];
    static int s_next = 0;
    char* name = s_names[s_next];
    s_next = (s_next + 1) % 8;
    // Handles are printed at their full width on either pointer size.
    std::snprintf(name, sizeof(s_names[0]), "Va:%x:%llx:%llx:%llx", nClassStyle,
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hCursor)),
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hbrBackground)),
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hIcon)));

    WNDCLASSA wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = name;
    return AfxRegisterClass(&wc) ? name : nullptr;
}
