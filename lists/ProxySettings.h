// The proxy list of "Proxy.ini" (section "PROXY") and the process-wide
// connection mode: the system's own settings, a direct connection, or one
// server of the list.
#ifndef VA_LISTS_PROXYSETTINGS_H
#define VA_LISTS_PROXYSETTINGS_H

#include "framework/core/Collections.h"
#include "framework/core/CString.h"

// Where the proxy routines find their data: the program folder (for
// "Proxy.ini") and the user's Internet-settings registry key below
// HKEY_CURRENT_USER (line 6 of reg.dat).
struct ProxyPlaces
{
    CString programFolder;
    CString internetSettingsKey;
};

// Low three bits of "Extended_Style": the connection mode.
enum ProxyMode : unsigned
{
    kProxyModeSystem = 1,
    kProxyModeDirect = 2,
    kProxyModeList = 4,
    kProxyModeMask = 7,
};

// Server text of entry n ("Proxy%d"); n < 0 is the selected entry. An empty
// or missing entry gives the system's proxy text.
CString GetProxyServer(const ProxyPlaces& places, int n);
CString GetSystemProxyServer(const ProxyPlaces& places);
// "UseProxyIndex", 0 when missing.
int GetUseProxyIndex(const ProxyPlaces& places);
// "Bypass" of the list, or the system's "ProxyOverride" when that is empty.
CString ReadProxyBypassList(const ProxyPlaces& places);

// The mode chosen at start from a stored "Extended_Style" value: direct wins
// over the list, and neither means the system's settings.
ProxyMode StartupProxyMode(unsigned extendedStyle);
// The value written back: the other bits kept, the low three bits the mode.
unsigned WithProxyMode(unsigned extendedStyle, ProxyMode mode);

// The servers of the list, "Proxy0" on, up to the first empty or missing
// entry (later entries are never listed: their menu ids would name the
// wrong index), at most kMaxProxyEntries.
constexpr int kMaxProxyEntries = 150;
CStringArray ReadProxyList(const ProxyPlaces& places);

// The frame's proxy commands: applies a mode at once (the system's
// settings leave the process as it is) and stores it in "Extended_Style".
void SelectProxyMode(const ProxyPlaces& places, ProxyMode mode);
// The stored mode's low three bits; 0 when nothing is stored.
unsigned ReadProxyMode(const ProxyPlaces& places);

// Applies the stored mode to the process (URL-moniker proxy option) and
// writes the mode back to "Extended_Style". Returns the mode applied.
ProxyMode ApplyStartupProxyMode(const ProxyPlaces& places);

#endif // VA_LISTS_PROXYSETTINGS_H
