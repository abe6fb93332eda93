#include "app/BrowserFeatures.h"

#include <windows.h>
#include <wininet.h>
#include <urlmon.h>

namespace BrowserFeatures {

namespace {

const char kFeatureControlKey[] =
    "SOFTWARE\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\";

void SetFeatureValue(LPCSTR feature, LPCSTR valueName, DWORD value)
{
    CString path = CString(kFeatureControlKey) + feature;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    // The page engine's own option for this program; without it the engine
    // keeps its default, and nothing of the user's is lost.
    (void)RegSetValueExA(key, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

} // namespace

EmulationChoice ChooseEmulation(double version)
{
    EmulationChoice choice;
    if (version >= 8.0 && version <= 9.0) {
        choice.write = true;
        choice.emulation = 8000;
    } else if (version > 9.0 && version <= 10.0) {
        choice.write = true;
        choice.emulation = 9000;
        choice.legacyScriptOff = true;
    }
    return choice;
}

void WriteEmulationValues(const CString& className, const EmulationChoice& choice)
{
    if (!choice.write)
        return;
    // The value name is limited to 31 characters.
    CString valueName = (className + ".exe").Left(31);
    SetFeatureValue("FEATURE_BROWSER_EMULATION", valueName, choice.emulation);
    if (choice.legacyScriptOff)
        SetFeatureValue("FEATURE_USE_LEGACY_JSCRIPT", valueName, 0);
}

ConnectionLimits RaisedConnectionLimits(ConnectionLimits current)
{
    if (current.perServer < 2)
        current.perServer = 4;
    if (current.perOldServer < 4)
        current.perOldServer = 8;
    return current;
}

void RaiseConnectionLimits()
{
    ConnectionLimits limits = {};
    DWORD size = sizeof(DWORD);
    if (!InternetQueryOptionA(nullptr, INTERNET_OPTION_MAX_CONNS_PER_SERVER, &limits.perServer,
                              &size))
        limits.perServer = 0;
    size = sizeof(DWORD);
    if (!InternetQueryOptionA(nullptr, INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER,
                              &limits.perOldServer, &size))
        limits.perOldServer = 0;
    ConnectionLimits raised = RaisedConnectionLimits(limits);
    if (raised.perServer != limits.perServer)
        InternetSetOptionA(nullptr, INTERNET_OPTION_MAX_CONNS_PER_SERVER, &raised.perServer,
                           sizeof(DWORD));
    if (raised.perOldServer != limits.perOldServer)
        InternetSetOptionA(nullptr, INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER,
                           &raised.perOldServer, sizeof(DWORD));
}

void EnableUrlMonikerFeatures()
{
    HMODULE module = GetModuleHandleA("URLMON.DLL");
    bool loadedHere = false;
    if (module == nullptr) {
        module = LoadLibraryA("URLMON.DLL");
        loadedHere = module != nullptr;
    }
    if (module == nullptr)
        return;
    typedef HRESULT(WINAPI * SetFeatureFn)(int feature, DWORD flags, BOOL enable);
    auto setFeature =
        reinterpret_cast<SetFeatureFn>(GetProcAddress(module, "CoInternetSetFeatureEnabled"));
    if (setFeature != nullptr) {
        const int kTabbedBrowsing = 19, kMimeSniffing = 3;
        const DWORD kOnProcess = 2;
        setFeature(kTabbedBrowsing, kOnProcess, TRUE);
        setFeature(kMimeSniffing, kOnProcess, TRUE);
    }
    if (loadedHere)
        FreeLibrary(module);
}

void SetUserAgent(const CString& userAgent)
{
    if (userAgent.IsEmpty())
        return;
    const DWORD kUserAgentOption = 0x10000001;
    UrlMkSetSessionOption(kUserAgentOption, const_cast<LPSTR>(static_cast<LPCSTR>(userAgent)),
                          userAgent.GetLength(), 0);
}

CString GetSystemUserAgent()
{
    char buffer[500] = {};
    DWORD size = sizeof(buffer);
    if (FAILED(ObtainUserAgentString(0, buffer, &size)))
        return CString();
    buffer[sizeof(buffer) - 1] = '\0';
    return CString(buffer);
}

} // namespace BrowserFeatures
