#include "framework/win/HandleMap.h"

#include "framework/win/Menu.h"
#include "framework/win/Wnd.h"

namespace {

int g_nTempMapLock = 0;

} // namespace

void AfxLockTempMaps()
{
    ++g_nTempMapLock;
}

BOOL AfxUnlockTempMaps(BOOL bDeleteTemps)
{
    if (g_nTempMapLock > 0)
        --g_nTempMapLock;
    if (g_nTempMapLock != 0)
        return FALSE;
    if (bDeleteTemps)
    {
        CWnd::DeleteTempMap();
        CMenu::DeleteTempMap();
    }
    return TRUE;
}

BOOL AfxTempMapsLocked()
{
    return g_nTempMapLock != 0;
}
