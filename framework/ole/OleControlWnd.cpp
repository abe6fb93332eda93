#include "framework/ole/OleControlWnd.h"

#include "framework/ole/OleControlContainer.h"
#include "framework/ole/OleControlSite.h"

IMPLEMENT_DYNAMIC(COleControlWnd, CWnd)

COleControlWnd::~COleControlWnd()
{
    // The derived part is still here, so the destruction runs through
    // WindowProc and frees the site.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
    ReleaseSite();
}

BOOL COleControlWnd::CreateControl(REFCLSID clsid, LPCSTR lpszWindowName, DWORD dwStyle,
                                   const RECT& rect, CWnd* pParentWnd, UINT nID,
                                   REFIID iidEvents)
{
    return CreateControl(clsid, lpszWindowName, dwStyle, rect,
                         pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, nID, iidEvents);
}

BOOL COleControlWnd::CreateControl(REFCLSID clsid, LPCSTR lpszWindowName, DWORD dwStyle,
                                   const RECT& rect, HWND hWndParent, UINT nID,
                                   REFIID iidEvents)
{
    m_hrCreate = E_UNEXPECTED;
    if (m_hWnd != nullptr || m_pCtrlSite != nullptr)
        return FALSE;
    m_hrCreate = E_INVALIDARG;
    COleControlContainer* pCont = COleControlContainer::FromWindow(hWndParent, TRUE);
    if (pCont == nullptr)
        return FALSE;
    COleControlSite* pSite = pCont->CreateControl(clsid, lpszWindowName, dwStyle, rect, nID,
                                                  iidEvents, &m_hrCreate);
    if (pSite == nullptr)
        return FALSE;
    if (!SubclassWindow(pSite->GetControlWindow()))
    {
        m_hrCreate = E_FAIL;
        pCont->DestroySite(pSite);
        return FALSE;
    }
    m_pCtrlSite = pSite;
    pSite->m_pWndCtrl = this;
    if (lpszWindowName != nullptr)
        ::SetWindowTextA(m_hWnd, lpszWindowName);
    return TRUE;
}

IUnknown* COleControlWnd::GetControlUnknown() const
{
    return m_pCtrlSite != nullptr ? m_pCtrlSite->GetControlUnknown() : nullptr;
}

BOOL COleControlWnd::DestroyWindow()
{
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr)
        return FALSE;
    // Closing the control may end this object (m_bAutoDelete): keep to locals.
    ReleaseSite();
    return ::IsWindow(hWnd) ? ::DestroyWindow(hWnd) : TRUE;
}

void COleControlWnd::ReleaseSite()
{
    COleControlSite* pSite = m_pCtrlSite;
    m_pCtrlSite = nullptr;
    if (pSite != nullptr && pSite->GetControlContainer() != nullptr)
        pSite->GetControlContainer()->DestroySite(pSite);
}

LRESULT COleControlWnd::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_DESTROY: {
        // The control hears of its window's end first, then it is closed.
        LRESULT lResult = CWnd::WindowProc(nMsg, wParam, lParam);
        ReleaseSite();
        return lResult;
    }
    case WM_WINDOWPOSCHANGED: {
        LRESULT lResult = CWnd::WindowProc(nMsg, wParam, lParam);
        const WINDOWPOS* pPos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (m_pCtrlSite != nullptr && pPos != nullptr
            && (pPos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
        {
            RECT rect;
            ::GetWindowRect(m_hWnd, &rect);
            ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<LPPOINT>(&rect), 2);
            const RECT& old = m_pCtrlSite->GetRect();
            if (!::EqualRect(&rect, &old))
                m_pCtrlSite->SetObjectRects(rect);
        }
        return lResult;
    }
    default:
        return CWnd::WindowProc(nMsg, wParam, lParam);
    }
}

void COleControlWnd::PostNcDestroy()
{
    ReleaseSite();
    if (m_bAutoDelete)
        delete this;
}
