#include "framework/ole/OccManager.h"

#include <vector>

#include "framework/ole/OleControlContainer.h"
#include "framework/ole/OleControlSite.h"
#include "framework/ole/OleControlWnd.h"
#include "framework/ole/OleUtil.h"

namespace {

COccManager* g_pOccManager = nullptr;

} // namespace

COleControlContainer* COccManager::CreateContainer(HWND hWnd)
{
    return new COleControlContainer(hWnd);
}

COleControlSite* COccManager::CreateSite(COleControlContainer* pCtrlCont)
{
    return new COleControlSite(pCtrlCont);
}

BOOL AfxOleInit()
{
    return SUCCEEDED(::OleInitialize(nullptr));
}

void AfxOleTerm()
{
    ::OleUninitialize();
}

void AfxEnableControlContainer(COccManager* pOccManager)
{
    g_pOccManager = pOccManager;
}

COccManager* AfxGetOccManager()
{
    static COccManager s_default;
    return g_pOccManager != nullptr ? g_pOccManager : &s_default;
}

namespace {

// The class id a placeholder's text names, or FALSE when it names none.
BOOL PlaceholderClassId(HWND hWnd, CLSID& clsid)
{
    char className[16] = {};
    if (::GetClassNameA(hWnd, className, sizeof(className)) == 0
        || ::lstrcmpiA(className, "Static") != 0)
        return FALSE;
    char text[64] = {};
    int n = ::GetWindowTextA(hWnd, text, sizeof(text));
    if (n != 38 || text[0] != '{' || text[37] != '}')
        return FALSE;
    std::wstring wide = VaWideFromAnsi(text, n);
    return SUCCEEDED(::CLSIDFromString(const_cast<LPOLESTR>(wide.c_str()), &clsid));
}

} // namespace

int AfxCreateTemplateControls(HWND hDlg)
{
    if (hDlg == nullptr || !::IsWindow(hDlg))
        return 0;
    std::vector<HWND> placeholders;
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
    {
        CLSID clsid;
        if (PlaceholderClassId(h, clsid))
            placeholders.push_back(h);
    }
    int created = 0;
    for (HWND hPlaceholder : placeholders)
    {
        CLSID clsid;
        PlaceholderClassId(hPlaceholder, clsid);
        RECT rect;
        ::GetWindowRect(hPlaceholder, &rect);
        ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<LPPOINT>(&rect), 2);
        UINT nID = static_cast<UINT>(::GetDlgCtrlID(hPlaceholder));
        DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(hPlaceholder, GWL_STYLE));
        // The placeholder's id must be free before the control takes it.
        ::SetWindowLongPtrA(hPlaceholder, GWLP_ID, 0);
        COleControlWnd* pWnd = new COleControlWnd;
        pWnd->m_bAutoDelete = TRUE;
        if (!pWnd->CreateControl(clsid, nullptr, WS_CHILD | (style & (WS_VISIBLE | WS_TABSTOP)),
                                 rect, hDlg, nID))
        {
            delete pWnd;
            ::SetWindowLongPtrA(hPlaceholder, GWLP_ID, static_cast<LONG_PTR>(nID));
            continue;
        }
        HWND hCtrl = pWnd->m_hWnd;
        if ((style & WS_TABSTOP) != 0)
            ::SetWindowLongPtrA(hCtrl, GWL_STYLE, ::GetWindowLongPtrA(hCtrl, GWL_STYLE) | WS_TABSTOP);
        // The control takes the placeholder's place in the tab order.
        ::SetWindowPos(hCtrl, hPlaceholder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ::DestroyWindow(hPlaceholder);
        ++created;
    }
    return created;
}
