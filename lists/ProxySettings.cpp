#include "lists/ProxySettings.h"

#include <windows.h>
#include <wininet.h>
#include <urlmon.h>

#include <cstring>
#include <string>
#include <utility>

#include "framework/core/AtomicFile.h"
#include "shared/ProfileSection.h"
#include "shared/ProgramPath.h"

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

bool SetProcessProxy(unsigned long accessType, const char* server, const char* bypass)
{
    INTERNET_PROXY_INFO info = {};
    info.dwAccessType = accessType;
    info.lpszProxy = server;
    info.lpszProxyBypass = bypass;
    return SUCCEEDED(UrlMkSetSessionOption(INTERNET_OPTION_PROXY, &info, sizeof(info), 0));
}

ProcessProxySetter g_pfnSetProcessProxy = &SetProcessProxy;

} // namespace

ProcessProxySetter ReplaceProcessProxySetter(ProcessProxySetter setter)
{
    ProcessProxySetter previous = g_pfnSetProcessProxy;
    g_pfnSetProcessProxy = setter != nullptr ? setter : &SetProcessProxy;
    return previous;
}

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

namespace {

DWORD ReadExtendedStyle(CProfileSection& section)
{
    DWORD style = 0;
    if (section.QueryDWORDValue(style, "Extended_Style") != CProfileSection::kOk)
        style = 0;
    return style;
}

} // namespace

int CountProxyEntries(const ProxyPlaces& places)
{
    return CountProxyEntries(places, kMaxProxyEntries);
}

int CountProxyEntries(const ProxyPlaces& places, int limit)
{
    CProfileSection section(places.programFolder);
    section.Open("PROXY");
    char buffer[kValueBufferSize];
    int count = 0;
    while (count < limit) {
        CString key;
        key.Format("Proxy%d", count);
        DWORD size = sizeof(buffer);
        if (section.QueryStringValue(buffer, key, &size) != CProfileSection::kOk)
            break;
        ++count;
    }
    return count;
}

bool StoreUseProxyIndex(const ProxyPlaces& places, int index, DWORD* pError)
{
    CProfileSection section(places.programFolder);
    section.Open("PROXY");
    if (section.SetDWORDValue(static_cast<DWORD>(index < 0 ? 0 : index), "UseProxyIndex") == CProfileSection::kOk)
        return true;
    if (pError != nullptr)
        *pError = ::GetLastError();
    return false;
}

bool ApplyProxyMode(const ProxyPlaces& places, ProxyMode mode, ProxyModeStore* pStore)
{
    if (mode == kProxyModeDirect) {
        g_pfnSetProcessProxy(INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr);
    } else if (mode == kProxyModeList) {
        // An empty server would leave the process without any proxy while the
        // menus claim one.
        CString server = GetProxyServer(places, -1);
        if (server.IsEmpty())
            return false;
        CString bypass = ReadProxyBypassList(places);
        if (!g_pfnSetProcessProxy(INTERNET_OPEN_TYPE_PROXY, server, bypass))
            return false;
    }
    CProfileSection section(places.programFolder);
    section.Open("PROXY");
    const bool stored =
        section.SetDWORDValue(WithProxyMode(ReadExtendedStyle(section), mode), "Extended_Style") == CProfileSection::kOk;
    if (pStore != nullptr) {
        pStore->stored = stored;
        pStore->error = stored ? 0 : ::GetLastError();
    }
    return true;
}

ProxyMode ReadStartupProxyMode(const ProxyPlaces& places)
{
    CProfileSection section(places.programFolder);
    section.Open("PROXY");
    ProxyMode mode = StartupProxyMode(ReadExtendedStyle(section));
    section.Close();
    return mode;
}

ProxyMode ApplyStartupProxyMode(const ProxyPlaces& places)
{
    const ProxyMode mode = ReadStartupProxyMode(places);
    return ApplyProxyMode(places, mode) ? mode : kProxyModeSystem;
}

bool SplitProxyServer(const CString& text, CString& host, CString& port)
{
    const int first = text.Find(':');
    if (first < 0)
        return false;
    host = text.Left(first);
    port = text.Mid(text.ReverseFind(':') + 1);
    return !host.IsEmpty() && !port.IsEmpty();
}

namespace {

// The number of a list key "Proxy0" .. "Proxy199", else -1.
int ListKeyNumber(const CString& key)
{
    if (key.GetLength() < 6 || key.GetLength() > 8 || key.Left(5).CompareNoCase("Proxy") != 0)
        return -1;
    int number = 0;
    for (int i = 5; i < key.GetLength(); ++i) {
        if (key[i] < '0' || key[i] > '9')
            return -1;
        number = number * 10 + (key[i] - '0');
    }
    if (key.GetLength() > 6 && key[5] == '0')
        return -1;
    return number < kMaxProxyListKeys ? number : -1;
}

} // namespace

namespace {

// The keys and values of the section of a profile file's text, in file
// order, read by the profile functions' rules: lines trimmed, the section
// named case-insensitively between "[" and the last "]" (its first
// occurrence), key and value trimmed around the first "=", one pair of
// quotes around a value dropped, values cut to the read buffer.
std::vector<std::pair<CString, CString>> ProfileSectionOf(const std::string& text, const char* name)
{
    std::vector<std::pair<CString, CString>> entries;
    bool inSection = false;
    bool seen = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        CString line(text.data() + start, static_cast<int>(end - start));
        start = end + 1;
        line.Trim(" \t");
        // A "[" without "]" heads no section: it is a line of the one before.
        const int close = !line.IsEmpty() && line[0] == '[' ? line.ReverseFind(']') : -1;
        if (close > 0) {
            if (inSection)
                break;
            CString section = line.Mid(1, close - 1);
            section.Trim(" \t");
            inSection = !seen && section.CompareNoCase(name) == 0;
            seen = seen || inSection;
            continue;
        }
        const int equals = line.Find('=');
        if (!inSection || equals < 0)
            continue;
        CString key = line.Left(equals);
        CString value = line.Mid(equals + 1);
        key.Trim(" \t");
        value.Trim(" \t");
        const int length = value.GetLength();
        if (length >= 2 && (value[0] == '"' || value[0] == '\'') && value[length - 1] == value[0])
            value = value.Mid(1, length - 2);
        if (value.GetLength() >= static_cast<int>(kValueBufferSize))
            value = value.Left(static_cast<int>(kValueBufferSize) - 1);
        entries.emplace_back(key, value);
    }
    return entries;
}

} // namespace

FileReadState ReadProxyList(const ProxyPlaces& places, std::vector<CString>& servers, int limit)
{
    servers.clear();
    CFile file;
    FileReadState state = file.OpenToRead(ProxyListPath(places), CFile::modeRead | CFile::shareDenyNone);
    if (!state.IsOpened())
        return state;
    // A read that stops short (a range locked by another program) is no
    // end of the file.
    const ULONGLONG length = file.GetLength();
    std::string text(length < 0x1000000 ? static_cast<size_t>(length) : 0, '\0');
    UINT read = 0;
    while (read < text.size()) {
        const UINT n = file.Read(&text[read], static_cast<UINT>(text.size() - read));
        if (n == 0)
            break;
        read += n;
    }
    if (length >= 0x1000000 || read != length) {
        state.result = FileReadState::kUnreadable;
        state.error = ::GetLastError() != 0 ? ::GetLastError() : static_cast<DWORD>(ERROR_READ_FAULT);
        return state;
    }
    const std::vector<std::pair<CString, CString>> entries = ProfileSectionOf(text, "PROXY");
    for (int n = 0; n < limit; ++n) {
        CString key;
        key.Format("Proxy%d", n);
        const CString* value = nullptr;
        for (const auto& entry : entries) {
            if (entry.first.CompareNoCase(key) == 0) {
                value = &entry.second;
                break;
            }
        }
        if (value == nullptr || value->IsEmpty())
            break;
        servers.push_back(*value);
    }
    return state;
}

CString ProxyListPath(const ProxyPlaces& places)
{
    return ProgramPath::Join(places.programFolder, "Proxy.ini");
}

bool WriteProxyList(const ProxyPlaces& places, const std::vector<CString>& servers, DWORD* pError)
{
    // The section is rebuilt in a copy of the file, which then replaces it:
    // the list, every later list key that holds a value emptied, the other
    // keys as they were.
    const CString target = ProxyListPath(places);
    if (target.IsEmpty())
        return false;
    const CString work = CAtomicTextFile::TempPathFor(target) + ".list";
    std::vector<char> old(65536);
    DWORD oldSize = 0;
    if (::GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES) {
        if (!::CopyFileA(target, work, FALSE)) {
            if (pError != nullptr)
                *pError = ::GetLastError();
            return false;
        }
        oldSize = ::GetPrivateProfileSectionA("PROXY", old.data(), static_cast<DWORD>(old.size()), work);
        if (oldSize + 2 >= old.size()) {
            // The work copy is this process's own; a leftover is replaced by the next write.
            (void)::DeleteFileA(work);
            return false;
        }
    } else {
        CFile empty;
        if (!empty.Open(work, CFile::modeCreate | CFile::modeWrite)) {
            if (pError != nullptr)
                *pError = ::GetLastError();
            return false;
        }
        empty.Close();
    }
    std::string section;
    int k = 0;
    for (const CString& server : servers) {
        if (k >= kMaxProxyListKeys)
            break;
        if (server.IsEmpty())
            continue;
        CString line;
        line.Format("Proxy%d=", k++);
        section += static_cast<LPCSTR>(line + server);
        section += '\0';
    }
    std::string others;
    for (const char* entry = old.data(); *entry != '\0' && entry < old.data() + oldSize;
         entry += strlen(entry) + 1) {
        const char* equals = strchr(entry, '=');
        const CString key = equals != nullptr ? CString(entry).Left(static_cast<int>(equals - entry)) : CString(entry);
        const int number = ListKeyNumber(key);
        if (number < 0) {
            others += entry;
            others += '\0';
        } else if (number >= k && equals != nullptr && equals[1] != '\0') {
            section += static_cast<LPCSTR>(key + "=");
            section += '\0';
        }
    }
    section += others;
    section += '\0';
    bool ok = ::WritePrivateProfileSectionA("PROXY", section.data(), work) != FALSE;
    if (!ok && pError != nullptr)
        *pError = ::GetLastError();
    // Flushes the system's cached copy of the work file before it is copied;
    // the section write above already said whether the text is there.
    (void)::WritePrivateProfileStringA(nullptr, nullptr, nullptr, work);
    ok = ok && CAtomicTextFile::CopyOver(work, target, pError);
    (void)::DeleteFileA(work);
    return ok;
}
