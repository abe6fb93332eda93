#include "framework/frame/MiniFrameWnd.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
    ON_MESSAGE(WM_ACTIVATE, OnActivateMessage)
END_MESSAGE_MAP()

BOOL CMiniFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd)
{
    if (lpszClassName == nullptr)
        lpszClassName = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                            reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(kExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, nullptr);
}

// Activated, the owner is drawn active again (the system drew it inactive
// just before); deactivated for a window that is neither the owner nor
// another of its tool frames, the owner is drawn inactive with it. A
// disabled owner (a dialog of its own is up) is left as the system draws it.
LRESULT CMiniFrameWnd::OnActivateMessage(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default();
    const HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (hOwner == nullptr || !::IsWindowEnabled(hOwner))
        return result;
    const HWND hOther = reinterpret_cast<HWND>(lParam);
    if (LOWORD(wParam) != WA_INACTIVE)
    {
        ::SendMessageA(hOwner, WM_NCACTIVATE, TRUE, 0);
        return result;
    }
    const bool ownersToolFrame = hOther != nullptr && ::GetWindow(hOther, GW_OWNER) == hOwner &&
                                 dynamic_cast<CMiniFrameWnd*>(FromHandlePermanent(hOther)) != nullptr;
    if (hOther != hOwner && !ownersToolFrame)
        ::SendMessageA(hOwner, WM_NCACTIVATE, FALSE, 0);
    return result;
}
