// Favorites whose names the ANSI code page lacks, written with the wide
// functions into a folder (given as the system names it, ending with a
// backslash), for the tests of the favorites scan, menus and cache.
#ifndef VA_TESTS_SUPPORT_WIDEFAVORITES_H
#define VA_TESTS_SUPPORT_WIDEFAVORITES_H

#include <windows.h>

#include <string>

struct WideFavorite
{
    const wchar_t* path;  // below the folder; a folder part is made first
    const char* url;
    bool direct;          // directly in the folder (opened by its open-all)
};

// Japanese (cp932 holds it), Korean, an emoji, a Korean folder and an
// accented name inside a cp932 folder.
const WideFavorite kWideFavorites[] = {
    {L"\u65E5\u672C\u8A9E\u30DA\u30FC\u30B8.url", "http://ja.example/", true},
    {L"\uD55C\uAD6D\uC5B4 \uD398\uC774\uC9C0.url", "http://ko.example/", true},
    {L"smile \U0001F600.url", "http://smile.example/", true},
    {L"\uD55C\uAD6D\\inner.url", "http://inner.example/", false},
    {L"\u30D5\u30A9\u30EB\u30C0\\\u00F6 \u00FC.url", "http://umlaut.example/", false},
};

inline bool WriteWideFavorites(const std::wstring& folder)
{
    for (const WideFavorite& favorite : kWideFavorites) {
        const std::wstring path = folder + favorite.path;
        const size_t slash = path.rfind(L'\\');
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        const std::string text = std::string("[InternetShortcut]\r\nURL=") + favorite.url + "\r\n";
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    return true;
}

// Points the shell's Favorites folder of the test prefix at another folder
// while it lives (only for tests that run alone).
class FavoritesFolderOverride
{
public:
    explicit FavoritesFolderOverride(const std::wstring& folder)
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        &m_key, nullptr);
        wchar_t old[MAX_PATH] = {};
        DWORD size = sizeof(old) - sizeof(wchar_t);
        m_hadValue = RegQueryValueExW(m_key, L"Favorites", nullptr, &m_type, reinterpret_cast<BYTE*>(old),
                                      &size) == ERROR_SUCCESS;
        m_old = old;
        Set(REG_SZ, folder);
    }
    ~FavoritesFolderOverride()
    {
        if (m_hadValue)
            Set(m_type, m_old);
        else
            RegDeleteValueW(m_key, L"Favorites");
        RegCloseKey(m_key);
    }
    FavoritesFolderOverride(const FavoritesFolderOverride&) = delete;
    FavoritesFolderOverride& operator=(const FavoritesFolderOverride&) = delete;

private:
    void Set(DWORD type, const std::wstring& value)
    {
        RegSetValueExW(m_key, L"Favorites", 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }

    static constexpr const wchar_t* kKey =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY m_key = nullptr;
    bool m_hadValue = false;
    DWORD m_type = REG_SZ;
    std::wstring m_old;
};

#endif // VA_TESTS_SUPPORT_WIDEFAVORITES_H
