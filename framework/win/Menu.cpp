#include "framework/win/Menu.h"

#include "framework/app/WinApp.h"
#include "framework/win/HandleMap.h"
#include "framework/win/Wnd.h"

namespace {

typedef VaHandleMap<CMenu, HMENU, &CMenu::m_hMenu> MenuMap;

MenuMap& TheMenuMap()
{
    static MenuMap s_map;
    return s_map;
}

} // namespace

CMenu::~CMenu()
{
    DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    return TheMenuMap().FromHandle(hMenu);
}

CMenu* CMenu::FromHandlePermanent(HMENU hMenu)
{
    return TheMenuMap().LookupPermanent(hMenu);
}

void CMenu::DeleteTempMap()
{
    TheMenuMap().DeleteTemporary();
}

void CMenu::ForgetObject(const CMenu* pMenu)
{
    TheMenuMap().RemovePermanentObject(pMenu);
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (hMenu == nullptr || m_hMenu != nullptr || FromHandlePermanent(hMenu) != nullptr)
        return FALSE;
    m_hMenu = hMenu;
    TheMenuMap().SetPermanent(hMenu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu != nullptr && FromHandlePermanent(hMenu) == this)
        TheMenuMap().RemovePermanent(hMenu);
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    return LoadMenu(MAKEINTRESOURCEA(nIDResource));
}

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName)
{
    return Attach(::LoadMenuA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == nullptr)
        return FALSE;
    return ::DestroyMenu(Detach());
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int nLength = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (nLength <= 0)
    {
        rString.Empty();
        return 0;
    }
    ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBuffer(nLength), nLength + 1, nFlags);
    rString.ReleaseBuffer();
    return rString.GetLength();
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}
