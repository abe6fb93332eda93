// A module that carries the menu library as the dialogs library will: its
// set-up object is made when the module loads and gone when it unloads.
#include <windows.h>

#include "menulib/MenuHook.h"
#include "menulib/MenuTheme.h"

namespace {

CNewMenuHook g_menuHook(MenuLibBuild::DialogsLibrary);

} // namespace

extern "C" BOOL HookModuleIsHookInstalled()
{
    return g_menuHook.IsHookInstalled();
}

extern "C" int HookModulePopupCount()
{
    return static_cast<int>(GetMenuPopupRecordCount());
}
