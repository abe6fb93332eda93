#include "tab/TabHost.h"

#include "framework/app/WinApp.h"
#include "framework/win/Wnd.h"
#include "lists/SearchEngineTree.h"

const CSearchEngineTree& CNoTabHost::GetSearchEngines() const
{
    static const CSearchEngineTree empty;
    return empty;
}

namespace {

ITabHost* HostOfWindow(CWnd* pWnd)
{
    return dynamic_cast<ITabHost*>(pWnd);
}

} // namespace

// Tab windows are children of the frame (through its MDI client); popups
// are owned by it. A window made without an owner belongs to the main window.
ITabHost* FindTabHost(HWND hWnd)
{
    for (HWND h = hWnd; h != nullptr;) {
        if (ITabHost* host = HostOfWindow(CWnd::FromHandlePermanent(h)))
            return host;
        const bool child = (::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) != 0;
        h = child ? ::GetParent(h) : ::GetWindow(h, GW_OWNER);
    }
    return HostOfWindow(AfxGetMainWnd());
}

ITabHost& TabHostOr(ITabHost* handed, HWND hWnd)
{
    if (handed != nullptr)
        return *handed;
    if (ITabHost* found = FindTabHost(hWnd))
        return *found;
    static CNoTabHost none;
    return none;
}
