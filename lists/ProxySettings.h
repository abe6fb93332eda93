// The proxy list of "Proxy.ini" (section "PROXY") and the process-wide
// connection mode: the system's own settings, a direct connection, or one
// server of the list.
#ifndef VA_LISTS_PROXYSETTINGS_H
#define VA_LISTS_PROXYSETTINGS_H

#include <vector>

#include "framework/core/CString.h"
#include "framework/core/File.h"

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

// Commands 36060 and up select list entries; at most this many are listed.
inline constexpr int kMaxProxyEntries = 150;

// Entries of the list from "Proxy0" up to the first missing or empty one,
// at most kMaxProxyEntries: the entries the menus show, as 36060 + index.
int CountProxyEntries(const ProxyPlaces& places);
// The same run of entries counted up to limit.
int CountProxyEntries(const ProxyPlaces& places, int limit);

// The servers of the list (the run CountProxyEntries counts, up to limit)
// as the profile functions read them, from one read of the whole file, so
// that what the state says of the file holds for the servers too: a file
// that is there but cannot be read, or not to its end, is kUnreadable and
// gives no servers; a missing one gives none.
FileReadState ReadProxyList(const ProxyPlaces& places, std::vector<CString>& servers, int limit);

// The file of the list: program folder + "Proxy.ini".
CString ProxyListPath(const ProxyPlaces& places);

// The list keys "Proxy0" to "Proxy199" at most.
inline constexpr int kMaxProxyListKeys = 200;

// A server text's host (before the first ":") and port (after the last
// ":"); false unless the text holds a ":" and both are non-empty.
bool SplitProxyServer(const CString& text, CString& host, CString& port);

// Replaces the list with servers (at most kMaxProxyListKeys, empty texts
// skipped) and empties every later "ProxyN" key up to "Proxy199" that holds
// a value, so that no old entry joins the list; the other keys stay. The
// file is replaced whole or not at all; false when it was not, with the
// system's code of the failed step in *pError (when given). The profile
// functions read a file they cannot open as an empty one: an editor checks
// that the file could be read before it offers a list to write.
[[nodiscard]] bool WriteProxyList(const ProxyPlaces& places, const std::vector<CString>& servers, DWORD* pError = nullptr);
// Stores the selected entry ("UseProxyIndex"); a negative index stores 0.
// false when the file would not take it, with the system's code in *pError.
[[nodiscard]] bool StoreUseProxyIndex(const ProxyPlaces& places, int index, DWORD* pError = nullptr);

// The call that sets the process's proxy (the URL moniker layer's session
// option): access type, server and bypass texts; true when it took. Tests
// put a recorder in its place; the setter it replaces comes back.
typedef bool (*ProcessProxySetter)(unsigned long accessType, const char* server, const char* bypass);
ProcessProxySetter ReplaceProcessProxySetter(ProcessProxySetter setter);

// The one routine that switches the process's connection: the system's
// settings (nothing is set), a direct connection, or the selected list
// entry with the bypass list. When the switch took, the mode goes into the
// low bits of "Extended_Style" and true comes back. Switching to the list
// with an empty server text or a refused session option changes nothing and
// gives false. Whether the file took the mode comes back in *pStore (when
// given): a switch that took stays in force for this session either way.
struct ProxyModeStore
{
    bool stored = true;
    DWORD error = 0;  // the system's code when not stored
};
bool ApplyProxyMode(const ProxyPlaces& places, ProxyMode mode, ProxyModeStore* pStore = nullptr);

// The mode the stored "Extended_Style" chooses at start.
ProxyMode ReadStartupProxyMode(const ProxyPlaces& places);

// Applies the stored mode at start and returns the mode in force: the
// system's settings when the stored one cannot be applied (the stored
// value is then left for the next start).
ProxyMode ApplyStartupProxyMode(const ProxyPlaces& places);

#endif // VA_LISTS_PROXYSETTINGS_H
