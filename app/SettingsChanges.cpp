#include "app/SettingsChanges.h"

namespace {

bool GroupTabBarDiffers(const SettingsRecord& a, const SettingsRecord& b)
{
    return a.iTabTop_P != b.iTabTop_P || a.iTabStrLen_P != b.iTabStrLen_P ||
           a.iFixedWidth_P != b.iFixedWidth_P || a.bTabButton_P() != b.bTabButton_P() ||
           a.bOldStyle_P() != b.bOldStyle_P() || a.bMLine_P() != b.bMLine_P() ||
           a.bTabWidth_P() != b.bTabWidth_P() || a.bTabShow_P() != b.bTabShow_P() ||
           a.bTabImage_P() != b.bTabImage_P();
}

bool PageTabBarDiffers(const SettingsRecord& a, const SettingsRecord& b)
{
    return a.iTabTop != b.iTabTop || a.iTabStrLen != b.iTabStrLen || a.iFixedWidth != b.iFixedWidth ||
           a.bTabButton() != b.bTabButton() || a.bOldStyle() != b.bOldStyle() || a.bMLine() != b.bMLine() ||
           a.bTabShow() != b.bTabShow() || a.bTabImage() != b.bTabImage() || a.bTabWidth() != b.bTabWidth();
}

} // namespace

unsigned DiffSettings(const SettingsRecord& before, const SettingsRecord& after)
{
    unsigned changes = 0;
    if (before.iMENU_STYLE != after.iMENU_STYLE)
        changes |= kChangeMenuStyle;
    if (GroupTabBarDiffers(before, after))
        changes |= kChangeGroupTabBar;
    if (PageTabBarDiffers(before, after))
        changes |= kChangePageTabBar;
    if (before.bIEOrder() != after.bIEOrder() || before.bFavLoadCache() != after.bFavLoadCache())
        changes |= kChangeFavoritesScan | kChangeFavoritesMenu;
    if (before.iFavTitleMaxStr != after.iFavTitleMaxStr || before.iFavItemRowMax != after.iFavItemRowMax ||
        before.bFavAllOpenMenuAdd() != after.bFavAllOpenMenuAdd())
        changes |= kChangeFavoritesMenu;
    if (!before.bTaskTray() && after.bTaskTray())
        changes |= kChangeTrayOn;
    if (before.bTaskTray() && !after.bTaskTray())
        changes |= kChangeTrayOff;
    if (before.bPopUpNewStyle() != after.bPopUpNewStyle())
        changes |= kChangePopup;
    return changes;
}
