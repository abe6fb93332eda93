// What the main program rebuilds after the settings dialog returned OK: the
// parts whose settings differ between the record before and after.
#ifndef VA_APP_SETTINGSCHANGES_H
#define VA_APP_SETTINGSCHANGES_H

#include "shared/SettingsRecord.h"

enum SettingsChange : unsigned {
    kChangeMenuStyle = 0x01,       // iMENU_STYLE
    kChangeGroupTabBar = 0x02,     // the group tab bar's options
    kChangePageTabBar = 0x04,      // the page tab bar's options
    kChangeFavoritesScan = 0x08,   // bIEOrder or bFavLoadCache: rescan
    kChangeFavoritesMenu = 0x10,   // the favorites menu is to be rebuilt
    kChangeTrayOn = 0x20,          // bTaskTray switched on
    kChangeTrayOff = 0x40,         // bTaskTray switched off
    kChangePopup = 0x80,           // bPopUpNewStyle
};

// The SettingsChange bits for a change from before to after.
unsigned DiffSettings(const SettingsRecord& before, const SettingsRecord& after);

#endif // VA_APP_SETTINGSCHANGES_H
