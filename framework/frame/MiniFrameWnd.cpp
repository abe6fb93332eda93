#include "framework/frame/MiniFrameWnd.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

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
