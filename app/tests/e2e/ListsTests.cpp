// End-to-end: the search-engine list and the favorites cache across a start
// and an orderly close of the real program.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

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

// Whether the Favorites folder changed after the cache is learned once the
// start-up is over, and watched from then on: a change made while the
// program runs reaches the cache at the exit, and an unchanged folder
// leaves the cache file as it was.
TEST_F(ListsAtStartAndClose, TheExitWritesTheFavoritesCacheOnlyAfterAChange)
{
    m_folder.MakeFolder("Fav");
    wchar_t path[MAX_PATH] = {};
    ASSERT_NE(0, MultiByteToWideChar(CP_ACP, 0, m_folder.File("Fav\\").c_str(), -1, path, MAX_PATH));
    const std::wstring wide(path);
    ASSERT_TRUE(WriteWideFavorites(wide));
    FavoritesFolderOverride override(wide);
    const std::string marker = "ROOT:\r\n\tENTRY:\r\n\t\tLABEL:marker.url\r\n"
                               "\t\tURL:http://marker.example/\r\nENDROOT:\r\n";
    auto writeTime = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExA(m_folder.File("IEFavorite.dat").c_str(), GetFileExInfoStandard, &data);
        return data.ftLastWriteTime;
    };
    struct Change
    {
        const char* what;
        const wchar_t* path;  // null: nothing changes
        const char* url;
    };
    const Change changes[] = {
        {"nothing changed", nullptr, nullptr},
        {"a shortcut in a subfolder edited", L"\uD55C\uAD6D\\inner.url", "http://edited.example/"},
        {"a shortcut added to a subfolder", L"\u30D5\u30A9\u30EB\u30C0\\added.url", "http://added.example/"},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        Sleep(20);  // the cache is later than the folder
        m_folder.WriteBytes("IEFavorite.dat", marker);
        const FILETIME written = writeTime();
        ProgramRun run(m_folder);
        ASSERT_TRUE(run.Start());
        ASSERT_NE(nullptr, run.WaitForMainWindow());
        Sleep(500);  // the start-up is over
        if (change.path != nullptr) {
            HANDLE file = CreateFileW((wide + change.path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                      nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, file);
            const std::string text = std::string("[InternetShortcut]\r\nURL=") + change.url + "\r\n";
            DWORD done = 0;
            WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
            CloseHandle(file);
        }
        EXPECT_EQ(0u, run.CloseAndWait());
        const std::string cache = m_folder.ReadBytes("IEFavorite.dat");
        if (change.path == nullptr) {
            const FILETIME after = writeTime();
            EXPECT_EQ(0, CompareFileTime(&written, &after));
            EXPECT_EQ(marker, cache);
        } else {
            EXPECT_NE(std::string::npos, cache.find(change.url));
            EXPECT_NE(std::string::npos, cache.find("http://umlaut.example/"));
        }
    }
}

} // namespace
