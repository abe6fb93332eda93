// End-to-end: the search-engine list and the favorites cache across a start
// and an orderly close of the real program.
#include <windows.h>
#include <shlobj.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/support/ProgramFolder.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/WideFavorites.h"

namespace {

std::string Entry(const std::string& label, int state)
{
    return "\tENTRY:\r\n\t\tLABEL:" + label + "\r\n\t\tURL:http://e/?q=<UTF8>\r\n\t\tICON:\r\n"
           "\t\tADDTOOL:0\r\n\t\tSTATE:" + std::to_string(state) + "\r\n";
}

class ListsAtStartAndClose : public ::testing::Test
{
protected:
    void RunOnce()
    {
        ProgramRun run(m_folder);
        ASSERT_TRUE(run.Start());
        ASSERT_NE(nullptr, run.WaitForMainWindow());
        EXPECT_EQ(0u, run.CloseAndWait());
    }

    ProgramFolder m_folder;
};

TEST_F(ListsAtStartAndClose, DefaultEnginesAreCopiedAndWrittenBackUnchanged)
{
    ASSERT_FALSE(m_folder.Exists("SearchEngine.dat"));
    RunOnce();
    std::string shipped = m_folder.ReadBytes("SearchEngineDefault.dat");
    ASSERT_FALSE(shipped.empty());
    EXPECT_EQ(shipped, m_folder.ReadBytes("SearchEngine.dat"));
}

TEST_F(ListsAtStartAndClose, UsersEnginesAreKeptWithOneCurrentEngine)
{
    // Labels with trail bytes 0x5C ("表") and a trailing blank.
    m_folder.WriteBytes("SearchEngine.dat", "ROOT:\r\n" + Entry("\x95\x5C ", 1) +
                                                Entry("Two", 1) + "ENDROOT:\r\n");
    RunOnce();
    EXPECT_EQ("ROOT:\r\n" + Entry("\x95\x5C ", 0) + Entry("Two", 1) + "ENDROOT:\r\n",
              m_folder.ReadBytes("SearchEngine.dat"));
}

// A cache written before the Favorites folder last changed is written again
// from a fresh scan at the exit.
TEST_F(ListsAtStartAndClose, FavoritesCacheIsRewrittenFromAFreshScan)
{
    const std::string stale = "ROOT:\r\n\tENTRY:\r\n\t\tLABEL:stale.url\r\n"
                              "\t\tURL:http://stale/\r\nENDROOT:\r\n";
    m_folder.WriteBytes("IEFavorite.dat", stale);
    HANDLE file = CreateFileA(m_folder.File("IEFavorite.dat").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    const FILETIME longAgo = {0x256D4000, 0x01BF53EB};  // 1 January 2000
    SetFileTime(file, nullptr, nullptr, &longAgo);
    CloseHandle(file);
    RunOnce();
    std::string cache = m_folder.ReadBytes("IEFavorite.dat");
    char favorites[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, favorites, CSIDL_FAVORITES, FALSE)) {
        EXPECT_EQ(stale, cache);  // no folder to scan: the cache stays
        return;
    }
    EXPECT_EQ(0u, cache.find("ROOT:\r\n"));
    EXPECT_EQ(std::string::npos, cache.find("stale.url"));
    EXPECT_EQ(cache.size() - 10, cache.rfind("ENDROOT:\r\n"));
}

// The threads the process runs, as the system lists them, but for those
// Wine runs for itself (their names begin with "wine_").
int CountOwnThreads(DWORD processId)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    using DescriptionFn = HRESULT(WINAPI*)(HANDLE, PWSTR*);
    auto describe = reinterpret_cast<DescriptionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetThreadDescription")));
    int count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId)
            continue;
        HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        PWSTR name = nullptr;
        bool wines = false;
        if (describe != nullptr && thread != nullptr && SUCCEEDED(describe(thread, &name)) && name != nullptr) {
            wines = wcsncmp(name, L"wine_", 5) == 0;
            LocalFree(name);
        }
        if (thread != nullptr)
            CloseHandle(thread);
        count += wines ? 0 : 1;
    }
    CloseHandle(snapshot);
    return count;
}

// The cache without the entry of that URL, as an older build that could
// not read its name wrote it.
std::string WithoutEntry(const std::string& cache, const std::string& url)
{
    const size_t at = cache.find("URL:" + url);
    if (at == std::string::npos)
        return cache;
    const size_t start = cache.rfind("\tENTRY:", at);
    const size_t end = cache.find('\n', at) + 1;
    return cache.substr(0, start) + cache.substr(end);
}

// Whether the cache is stale is told at the exit from the folder's
// listings: a change made while the program runs reaches the cache, as does
// a favorite an older build's cache lacks, and an unchanged folder leaves
// the cache file as it was. Meanwhile the program holds nothing open in the
// folder (a subfolder can be renamed) and runs no thread but its own.
TEST_F(ListsAtStartAndClose, TheExitWritesTheFavoritesCacheOnlyAfterAChange)
{
    m_folder.MakeFolder("Fav");
    wchar_t path[MAX_PATH] = {};
    ASSERT_NE(0, MultiByteToWideChar(CP_ACP, 0, m_folder.File("Fav\\").c_str(), -1, path, MAX_PATH));
    const std::wstring wide(path);
    ASSERT_TRUE(WriteWideFavorites(wide));
    FavoritesFolderOverride override(wide);
    auto writeTime = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExA(m_folder.File("IEFavorite.dat").c_str(), GetFileExInfoStandard, &data);
        const FILETIME& time = data.ftLastWriteTime;
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    auto writeShortcut = [&](const wchar_t* file, const char* url) {
        HANDLE handle = CreateFileW((wide + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const std::string text = std::string("[InternetShortcut]\r\nURL=") + url + "\r\n";
        DWORD done = 0;
        const bool written = handle != INVALID_HANDLE_VALUE &&
                             WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
        CloseHandle(handle);
        return written;
    };
    const std::string renamed = "LABEL:\x8A\xD8\x8D\x91\r\n";  // the new name in cp932
    struct Change
    {
        const char* what;
        std::function<bool()> whileRunning;  // null: nothing changes
        std::string found;                   // in the cache after the exit
        bool olderCache;                     // the cache lacks the Korean favorite
    };
    const Change changes[] = {
        {"nothing changed", nullptr, "", false},
        {"a subfolder renamed",
         [&] { return MoveFileW((wide + L"\uD55C\uAD6D").c_str(), (wide + L"\u97D3\u56FD").c_str()) != FALSE; },
         renamed, false},
        {"a shortcut in a subfolder edited",
         [&] { return writeShortcut(L"\u97D3\u56FD\\inner.url", "http://edited.example/"); },
         "http://edited.example/", false},
        {"a shortcut added to a subfolder",
         [&] { return writeShortcut(L"\u30D5\u30A9\u30EB\u30C0\\added.url", "http://added.example/"); },
         "http://added.example/", false},
        {"a cache of an older build", nullptr, "http://ko.example/", true},
    };
    RunOnce();  // no cache yet: written
    std::string cache = m_folder.ReadBytes("IEFavorite.dat");
    ASSERT_NE(std::string::npos, cache.find("http://ko.example/"));
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        Sleep(20);  // the cache is later than the folder
        const std::string before = change.olderCache ? WithoutEntry(cache, "http://ko.example/") : cache;
        ASSERT_EQ(change.olderCache, before.find("http://ko.example/") == std::string::npos);
        m_folder.WriteBytes("IEFavorite.dat", before);
        const ULONGLONG written = writeTime();
        ProgramRun run(m_folder);
        ASSERT_TRUE(run.Start());
        ASSERT_NE(nullptr, run.WaitForMainWindow());
        Sleep(500);  // the start-up is over
        EXPECT_EQ(1, CountOwnThreads(run.GetProcessId()));
        if (change.whileRunning) {
            Sleep(20);
            EXPECT_TRUE(change.whileRunning());
        }
        EXPECT_EQ(0u, run.CloseAndWait());
        cache = m_folder.ReadBytes("IEFavorite.dat");
        if (change.found.empty()) {
            EXPECT_EQ(before, cache);
            EXPECT_EQ(written, writeTime());
        } else {
            EXPECT_NE(std::string::npos, cache.find(change.found));
            EXPECT_NE(std::string::npos, cache.find("http://umlaut.example/"));
        }
    }
}

} // namespace
