#include "lists/ProxySettings.h"

#include <windows.h>
#include <wininet.h>
#include <urlmon.h>

#include "shared/ProfileSection.h"

namespace {

const DWORD kValueBufferSize = 2048;

CString ReadSectionString(const ProxyPlaces& places, LPCTSTR key)
{
    CProfileSection section(places.programFolder);
    section.Open("PROXY");
    char buffer[kValueBufferSize];
    DWORD size = sizeof(buffer);
    CString value;
    if (section.QueryStringValue(buffer, key, &size) == CProfileSection::kOk)
        value = buffer;
    section.Close();
    return value;
}

CString ReadInternetSetting(const ProxyPlaces& places, LPCTSTR valueName)
{
    // An empty path would open the root of the hive itself.
    HKEY key = nullptr;
    if (places.internetSettingsKey.IsEmpty() ||
        RegOpenKeyExA(HKEY_CURRENT_USER, places.internetSettingsKey, 0, KEY_QUERY_VALUE, &key) !=
            ERROR_SUCCESS)
        return CString();
    char buffer[kValueBufferSize] = {};
    DWORD size = sizeof(buffer) - 1;
    DWORD type = 0;
    CString value;
    if (RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        buffer[size < sizeof(buffer) ? size : sizeof(buffer) - 1] = '\0';
        value = buffer;
    }
    RegCloseKey(key);
    return value;
}

void SetProcessProxy(DWORD accessType, LPCSTR server, LPCSTR bypass)
{
    INTERNET_PROXY_INFO info = {};
    info.dwAccessType = accessType;
    info.lpszProxy = server;
    info.lpszProxyBypass = bypass;
    UrlMkSetSessionOption(INTERNET_OPTION_PROXY, &info, sizeof(info), 0);
}

} // namespace

CString GetSystemProxyServer(const ProxyPlaces& places)
{
    return ReadInternetSetting(places, "ProxyServer");
}

int GetUseProxyIndex(const ProxyPlaces& places)
{
    CProfileSection section(places.programFolder);
    section.Open("PROXY");
    DWORD index = 0;
    section.QueryDWORDValue(index, "UseProxyIndex");
    return static_cast<int>(index);
}

CString GetProxyServer(const ProxyPlaces& places, int n)
{
    if (n < 0)
        n = GetUseProxyIndex(places);
    CString key;
    key.Format("Proxy%d", n);
    CString server = ReadSectionString(places, key);
    return server.IsEmpty() ? GetSystemProxyServer(places) : server;
}

CString ReadProxyBypassList(const ProxyPlaces& places)
{
    CString bypass = ReadSectionString(places, "Bypass");
    return bypass.IsEmpty() ? ReadInternetSetting(places, "ProxyOverride") : bypass;
}

ProxyMode StartupProxyMode(unsigned extendedStyle)
{
    if (extendedStyle & kProxyModeDirect)
        return kProxyModeDirect;
    if (extendedStyle & kProxyModeList)
        return kProxyModeList;
    return kProxyModeSystem;
}

unsigned WithProxyMode(unsigned extendedStyle, ProxyMode mode)
{
    return (extendedStyle & ~static_cast<unsigned>(kProxyModeMask)) | mode;
}

ProxyMode ApplyStartupProxyMode(const ProxyPlaces& places)
{
    CProfileSection section(places.programFolder);
    section.Open("PROXY");
    DWORD style = 0;
    if (section.QueryDWORDValue(style, "Extended_Style") != CProfileSection::kOk)
        style = 0;

    ProxyMode mode = StartupProxyMode(style);
    if (mode == kProxyModeDirect) {
        SetProcessProxy(INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr);
    } else if (mode == kProxyModeList) {
        CString server = GetProxyServer(places, -1);
        CString bypass = ReadProxyBypassList(places);
        SetProcessProxy(INTERNET_OPEN_TYPE_PROXY, server, bypass);
    }
    section.SetDWORDValue(WithProxyMode(style, mode), "Extended_Style");
    section.Close();
    return mode;
}
