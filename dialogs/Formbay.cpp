// The dialogs library module: its one application object and the set-up of
// the menu library (all draw modes, the popup-menu hook while loaded).
#include "dialogs/core/FormsetApp.h"
#include "menulib/MenuHook.h"
#include "menulib/MenuTheme.h"

namespace {

CFormsetApp theApp;
CNewMenuHook g_menuHook(MenuLibBuild::DialogsLibrary);

} // namespace
